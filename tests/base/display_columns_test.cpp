#include "base/display_columns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Awkward lines: each with its display width (tab width 4), the byte index
// the caret lands on for every column from 0 to past the end, and the
// character boundaries a caret steps over.
struct Line {
    const char* what;
    std::string bytes;
    int width;
    std::vector<std::size_t> index_of_column;
    std::vector<std::size_t> stops;
};

const std::vector<Line>& AwkwardLines()
{
    static const std::vector<Line> lines = {
        {"ascii with a tab", "ab\tc", 5, {0, 1, 2, 3, 3, 4, 4}, {0, 1, 2, 3, 4}},
        {"two-byte letters", "caf\xC3\xA9!", 5, {0, 1, 2, 3, 5, 6, 6}, {0, 1, 2, 3, 5, 6}},
        {"wide characters", "\xE4\xB8\xAD\xE6\x96\x87x", 5, {0, 3, 3, 6, 6, 7, 7}, {0, 3, 6, 7}},
        {"wide character before a tab", "\xE4\xB8\xAD\tx", 5, {0, 3, 3, 4, 4, 5}, {0, 3, 4, 5}},
        {"tab after a wide character at a stop", "ab\xE4\xB8\xAD\tx", 9,
         {0, 1, 2, 5, 5, 6, 6, 6, 6, 7, 7}, {0, 1, 2, 5, 6, 7}},
        {"combining mark goes with its letter", "e\xCC\x81x", 2, {0, 3, 4, 4}, {0, 3, 4}},
        {"combining mark at the start", "\xCC\x81" "a", 1, {0, 3, 3}, {0, 2, 3}},
        {"invalid bytes are one cell each", "a\xE9\x80\xC3(", 5, {0, 1, 2, 3, 4, 5, 5},
         {0, 1, 2, 3, 4, 5}},
        {"truncated sequence at the line end", "x\xE2\x82", 3, {0, 1, 2, 3, 3}, {0, 1, 2, 3}},
        {"NUL and controls", std::string("\0\x01\t", 3), 4, {0, 1, 2, 3, 3, 3}, {0, 1, 2, 3}},
        {"emoji and euro", "\xF0\x9F\x98\x80\xE2\x82\xAC", 3, {0, 4, 4, 7, 7}, {0, 4, 7}},
    };
    return lines;
}

} // namespace

TEST(DisplayColumns, WidthsCaretIndexesAndStepsOverAwkwardLines)
{
    for (const Line& line : AwkwardLines()) {
        SCOPED_TRACE(line.what);
        EXPECT_EQ(text::DisplayWidth(line.bytes, 4), line.width);
        for (std::size_t column = 0; column < line.index_of_column.size(); ++column)
            EXPECT_EQ(text::ColumnToIndex(line.bytes, 4, static_cast<long>(column)), line.index_of_column[column])
                << "column " << column;
        // The caret steps right over every stop and back again.
        for (std::size_t k = 0; k + 1 < line.stops.size(); ++k) {
            EXPECT_EQ(text::NextCharIndex(line.bytes, static_cast<long>(line.stops[k])), line.stops[k + 1]);
            EXPECT_EQ(text::PrevCharIndex(line.bytes, static_cast<long>(line.stops[k + 1])), line.stops[k]);
        }
        EXPECT_EQ(text::NextCharIndex(line.bytes, static_cast<long>(line.bytes.size())), line.bytes.size());
        EXPECT_EQ(text::PrevCharIndex(line.bytes, 0), 0u);
        EXPECT_EQ(text::NextCharIndex(line.bytes, -3), 0u);
        EXPECT_EQ(text::PrevCharIndex(line.bytes, 1000), line.bytes.size());
        // Every index the caret can land on is a place where a step stops.
        for (std::size_t i : line.index_of_column)
            EXPECT_NE(std::find(line.stops.begin(), line.stops.end(), i), line.stops.end()) << i;
    }
}

TEST(DisplayColumns, LongPlainRunsAndTheirEnds)
{
    // The fast scan over plain ASCII must stop exactly at the first tab or
    // multi-byte character, wherever it falls in a block of 16 bytes.
    for (std::size_t at = 0; at < 40; ++at) {
        std::string s(40, 'x');
        s.insert(at, "\xC3\xA9");
        EXPECT_EQ(text::PlainAsciiRun(s.data(), s.size()), at);
        EXPECT_EQ(text::DisplayWidth(s, 8), 41);
        EXPECT_EQ(text::ColumnToIndex(s, 8, static_cast<long>(at) + 1), at + 2);
        s[at] = '\t';
        EXPECT_EQ(text::PlainAsciiRun(s.data(), s.size()), at);
    }
}

TEST(DisplayColumns, ExpandTabsNeverCutsACharacter)
{
    EXPECT_EQ(text::ExpandTabs("ab\tc", 4, std::string::npos), "ab  c");
    EXPECT_EQ(text::ExpandTabs("\xE4\xB8\xAD\tx", 4, std::string::npos), "\xE4\xB8\xAD  x");
    // Cut by columns: the wide character that would cross the limit stays out.
    EXPECT_EQ(text::ExpandTabs("a\xE4\xB8\xAD" "b", 4, 2), "a");
    EXPECT_EQ(text::ExpandTabs("a\xE4\xB8\xAD" "b", 4, 3), "a\xE4\xB8\xAD");
    EXPECT_EQ(text::ExpandTabs("a\tb", 4, 2), "a ");
    // Cut by bytes: é is two.
    EXPECT_EQ(text::ExpandTabs("x\xC3\xA9y", 4, std::string::npos, 2), "x");
    EXPECT_EQ(text::ExpandTabs("x\xC3\xA9y", 4, std::string::npos, 3), "x\xC3\xA9");
    EXPECT_EQ(text::ExpandTabs("x\ty", 4, std::string::npos, 2), "x ");
    // Invalid bytes stay as they are.
    EXPECT_EQ(text::ExpandTabs("\xE9\t\x80", 4, std::string::npos), "\xE9   \x80");
}

TEST(DisplayColumns, WordsOfAnyScriptInDisplayColumns)
{
    const struct {
        const char* bytes;
        int column;
        int start;
        int end;
    } table[] = {
        {"a na\xC3\xAFve b", 3, 2, 7},          // é-style letters hold the word together
        {"a na\xEFve b", 3, 2, 7},              // the same word in Latin-1
        {"x \xE4\xB8\xAD\xE6\x96\x87 y", 3, 2, 6},  // two wide letters: four columns
        {"cafe\xCC\x81 x", 1, 0, 4},            // a combining mark stays in its word
        {"\xE2\x82\xAC" "100", 0, 1, 4},        // the euro sign is no word character
        {"snake_case", 2, 0, 5},                // the underscore still ends a word
        {"\t\xC3\xA9t\xC3\xA9", 0, 4, 7},       // after a tab, display columns
        {"\xE3\x80\x82\xE3\x80\x82", 1, -1, -1},// only punctuation: no word
    };
    for (const auto& row : table) {
        int start = 0, end = 0;
        text::WordBounds(row.bytes, 4, row.column, start, end);
        EXPECT_EQ(std::pair(start, end), std::pair(row.start, row.end)) << row.bytes;
    }
}
