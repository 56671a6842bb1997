#include "docs/column_marks.h"

#include "base/characters.h"
#include "base/display_columns.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// The first byte at or after `from` that starts a character whatever
// comes before it.
std::size_t SafeStart(std::string_view text, std::size_t from)
{
    while (from < text.size() && text::IsContinuationByte(static_cast<unsigned char>(text[from]))) ++from;
    return std::min(from, text.size());
}

bool HasTab(std::string_view text)
{
    return std::memchr(text.data(), '\t', text.size()) != nullptr;
}

} // namespace

ColumnMarks::Line* ColumnMarks::Marks(std::string_view text, int tabSize)
{
    if (text.size() < kLongLine) return nullptr;
    auto found = std::find_if(lines_.begin(), lines_.end(), [&](const Line& l) { return l.data == text.data(); });
    try {
        if (found == lines_.end()) {
            if (lines_.size() >= kLines) {
                lines_.erase(std::min_element(lines_.begin(), lines_.end(),
                                              [](const Line& a, const Line& b) { return a.used < b.used; }));
            }
            lines_.push_back({text.data(), tabSize, {Mark{}}, 0});
            found = lines_.end() - 1;
        } else if (found->tab_size != tabSize) {
            found->tab_size = tabSize;
            found->marks.assign(1, Mark{});
        }
    } catch (const std::exception&) {
        return nullptr;  // the line is walked from its start instead
    }
    found->used = ++clock_;
    return &*found;
}

void ColumnMarks::Extend(Line& line, std::string_view text, std::size_t byte, long column)
{
    try {
        Mark last = line.marks.back();
        while (last.byte < byte && last.column < column) {
            const std::size_t next = SafeStart(text, last.byte + kStride);
            if (next >= text.size()) break;
            const std::string_view piece = text.substr(last.byte, next - last.byte);
            last = {next, text::ColumnAfter(piece, line.tab_size, last.column), HasTab(piece)};
            line.marks.push_back(last);
        }
    } catch (const std::exception&) {
        // Fewer marks: what lies past the last is walked.
    }
}

ColumnMarks::Mark ColumnMarks::BeforeColumn(std::string_view text, int tabSize, long column, bool orAt)
{
    Line* line = Marks(text, tabSize);
    if (!line) return {};
    Extend(*line, text, text.size(), column);
    const auto& marks = line->marks;
    auto after = orAt ? std::upper_bound(marks.begin(), marks.end(), column,
                                         [](long c, const Mark& m) { return c < m.column; })
                      : std::lower_bound(marks.begin(), marks.end(), column,
                                         [](const Mark& m, long c) { return m.column < c; });
    return after == marks.begin() ? Mark{} : *(after - 1);
}

ColumnMarks::Mark ColumnMarks::BeforeByte(std::string_view text, int tabSize, std::size_t index)
{
    Line* line = Marks(text, tabSize);
    if (!line) return {};
    Extend(*line, text, index, LONG_MAX);
    const auto& marks = line->marks;
    const auto after = std::upper_bound(marks.begin(), marks.end(), index,
                                        [](std::size_t i, const Mark& m) { return i < m.byte; });
    return after == marks.begin() ? Mark{} : *(after - 1);
}

void ColumnMarks::Edited(const char* oldData, std::string_view text, int tabSize, std::size_t at, std::size_t erase,
                         std::size_t inserted) noexcept
{
    const auto found = std::find_if(lines_.begin(), lines_.end(), [&](const Line& l) { return l.data == oldData; });
    if (found == lines_.end()) return;
    Line& line = *found;
    if (text.size() < kLongLine || line.tab_size != tabSize) {
        lines_.erase(found);
        return;
    }
    line.data = text.data();
    std::vector<Mark>& marks = line.marks;
    // A mark stands for the bytes before it and its own: those before the
    // edit stay as they are.
    // The first, at the line's start, always holds.
    const auto byByte = [](const Mark& m, std::size_t i) { return m.byte < i; };
    const auto firstMoved = std::lower_bound(marks.begin() + 1, marks.end(), at, byByte);
    // Those among the bytes taken out go; those after them move with the bytes.
    const auto firstKept = std::lower_bound(firstMoved, marks.end(), at + erase, byByte);
    marks.erase(firstMoved, firstKept);
    std::size_t i = static_cast<std::size_t>(firstMoved - marks.begin());
    if (i == marks.size()) return;
    const long shift = static_cast<long>(inserted) - static_cast<long>(erase);
    // Each moved mark's column changes by the same amount as the one
    // before it, until a tab lies between them: that tab's stop is
    // measured again, and after it the change is a multiple of the tab
    // width, which no later tab alters.
    long delta = 0;
    bool measure = true;
    for (; i < marks.size(); ++i) {
        Mark& m = marks[i];
        m.byte = static_cast<std::size_t>(static_cast<long>(m.byte) + shift);
        if (measure || m.tab_before) {
            const Mark& previous = marks[i - 1];
            const long column = text::ColumnAfter(text.substr(previous.byte, m.byte - previous.byte), tabSize,
                                                  previous.column);
            if (measure) m.tab_before = HasTab(text.substr(previous.byte, m.byte - previous.byte));
            delta = column - m.column;
            m.column = column;
            measure = false;
            if (delta % tabSize == 0) {
                for (++i; i < marks.size(); ++i) {
                    marks[i].byte = static_cast<std::size_t>(static_cast<long>(marks[i].byte) + shift);
                    marks[i].column += delta;
                }
                return;
            }
            continue;
        }
        m.column += delta;
    }
}

void ColumnMarks::Forget(const char* data) noexcept
{
    std::erase_if(lines_, [&](const Line& l) { return l.data == data; });
}
