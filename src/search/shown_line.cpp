#include "search/shown_line.h"

#include "base/display_columns.h"

std::vector<ByteSpan> AllMatches(const TextMatcher& matcher, std::string_view line)
{
    std::vector<ByteSpan> spans;
    for (auto span = matcher.Find(line, 0); span; span = matcher.Find(line, std::max(span->end, span->start + 1)))
        spans.push_back(*span);
    return spans;
}

ShownLine ShowLine(std::string_view line, int tab_width, const std::vector<ByteSpan>& matches)
{
    ShownLine shown;
    shown.text.reserve(line.size());
    auto match = matches.begin();
    std::size_t mark_start = 0;
    bool in_mark = false;
    for (text::ColumnWalk walk(line, tab_width); !walk.Done(); walk.Next()) {
        const std::size_t at = walk.Index();
        while (match != matches.end() && match->end <= at) ++match;
        const bool marked = match != matches.end() && match->start <= at;
        if (marked != in_mark) {
            if (marked) mark_start = shown.text.size();
            else shown.marks.emplace_back(mark_start, shown.text.size());
            in_mark = marked;
        }
        const char32_t code = walk.Current().code;
        if (code == '\t') shown.text.append(static_cast<std::size_t>(walk.Cells()), U' ');
        else if (text::IsControlCode(code)) shown.text += U' ';
        else shown.text += code;
    }
    if (in_mark) shown.marks.emplace_back(mark_start, shown.text.size());
    return shown;
}
