#include "base/characters.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/unicode_tables.h"

namespace text {

namespace {

bool InTable(char32_t code, const tables::CodeRange* table, std::size_t size) noexcept
{
    const tables::CodeRange* end = table + size;
    // The first range that does not end before the code point.
    const auto* found = std::lower_bound(table, end, code,
                                         [](const tables::CodeRange& r, char32_t c) { return r.last < c; });
    return found != end && found->first <= code && code <= found->last;
}

// The cells of every code point of the first plane, looked up once: the
// characters of most texts are there, and a table read beats two searches.
std::array<std::uint8_t, 0x10000> MakePlaneWidths()
{
    std::array<std::uint8_t, 0x10000> widths;
    widths.fill(1);
    const auto mark = [&](const tables::CodeRange* table, std::size_t size, std::uint8_t cells) {
        for (std::size_t i = 0; i < size && table[i].first < 0x10000; ++i)
            for (char32_t c = table[i].first; c <= table[i].last && c < 0x10000; ++c) widths[c] = cells;
    };
    mark(tables::kWide, tables::kWideSize, 2);
    mark(tables::kZeroWidth, tables::kZeroWidthSize, 0);
    return widths;
}

const std::array<std::uint8_t, 0x10000>& PlaneWidths()
{
    static const std::array<std::uint8_t, 0x10000> widths = MakePlaneWidths();
    return widths;
}

} // namespace

std::size_t PrevCharStart(std::string_view text, std::size_t index) noexcept
{
    if (index == 0) return 0;
    index = std::min(index, text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (p[index - 1] < 0x80) return index - 1;
    // A valid sequence ending at index starts at the nearest byte before
    // it that is no continuation byte; otherwise the byte before index is
    // a character of its own.
    std::size_t start = index - 1;
    while (start > 0 && index - start < 4 && IsContinuationByte(p[start])) --start;
    if (!IsContinuationByte(p[start])) {
        const Character c = CharAt(text, start);
        if (c.valid && start + static_cast<std::size_t>(c.length) == index) return start;
    }
    return index - 1;
}

const unsigned char* detail::PlaneCells() noexcept
{
    return PlaneWidths().data();
}

int detail::CellsFromTables(char32_t code) noexcept
{
    if (code < 0x10000) return PlaneWidths()[code];
    if (InTable(code, tables::kZeroWidth, tables::kZeroWidthSize)) return 0;
    return InTable(code, tables::kWide, tables::kWideSize) ? 2 : 1;
}

bool IsWordCharacter(char32_t code) noexcept
{
    if (code < 0x80) return detail::IsAsciiWordByte(static_cast<unsigned char>(code));
    return InTable(code, tables::kWord, tables::kWordSize);
}

bool detail::WordEndsBeforeHigh(std::string_view text, std::size_t pos) noexcept
{
    return !IsWordCharacter(CharAt(text, PrevCharStart(text, pos)));
}

bool detail::WordEndsAtHigh(std::string_view text, std::size_t pos) noexcept
{
    return !IsWordCharacter(CharAt(text, pos));
}

} // namespace text
