#pragma once
// A hit's line as the Grep window's text column shows it: the characters a
// text window would show (tabs expanded to the tab width, control codes as
// blanks, a byte that is no UTF-8 as its ISO 8859-1 glyph), with the
// matches marked.

#include "search/text_matcher.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Every match of the line, left to right, as the matcher finds them.
std::vector<ByteSpan> AllMatches(const TextMatcher& matcher, std::string_view line);

struct ShownLine {
    std::u32string text;
    // [start, end) ranges of `text` that show a match.
    std::vector<std::pair<std::size_t, std::size_t>> marks;
};

// `line` without its line end; `matches` in byte offsets of it.
ShownLine ShowLine(std::string_view line, int tab_width, const std::vector<ByteSpan>& matches);
