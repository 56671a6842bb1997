#include "docs/line_measure.h"

#include "base/characters.h"
#include "base/display_columns.h"

#include <cstring>

namespace line_measure {

std::uint32_t TabsIn(std::string_view text) noexcept
{
    std::uint32_t tabs = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    for (const void* tab; p < end && (tab = std::memchr(p, '\t', static_cast<std::size_t>(end - p))) != nullptr; ++tabs)
        p = static_cast<const char*>(tab) + 1;
    return tabs;
}

bool HasTab(std::string_view text) noexcept
{
    return !text.empty() && std::memchr(text.data(), '\t', text.size()) != nullptr;
}

bool IsPlain(std::string_view text) noexcept
{
    return text::PlainAsciiRun(text.data(), text.size()) == text.size();
}

bool StartsInsideCharacter(std::string_view text) noexcept
{
    return !text.empty() && text::IsContinuationByte(static_cast<unsigned char>(text.front()));
}

int ColumnsAdded(int leftWidth, std::string_view right, bool rightHasTabs, int tabSize)
{
    if (!rightHasTabs || leftWidth % tabSize == 0) return leftWidth;
    // Past right's first tab every column moves by the same multiple of the
    // tab size as that tab's end does.
    const std::size_t tab = right.find('\t');
    if (tab == std::string_view::npos) return leftWidth;
    const int before = text::DisplayWidth(right.substr(0, tab), tabSize);
    const auto stop = [tabSize](int column) { return column + tabSize - column % tabSize; };
    return stop(leftWidth + before) - stop(before);
}

LineMeasure Measure(std::string_view text, int tabSize, bool plain, int knownWidth)
{
    const std::uint32_t tabs = plain ? 0 : TabsIn(text);
    plain = plain || (tabs == 0 && IsPlain(text));
    const int width = plain             ? static_cast<int>(text.size())
                      : knownWidth >= 0 ? knownWidth
                                        : text::DisplayWidth(text, tabSize);
    return {tabs, width, tabSize, plain};
}

}  // namespace line_measure
