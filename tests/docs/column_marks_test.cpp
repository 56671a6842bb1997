// Columns and byte indexes of long lines that are not plain ASCII come
// from marks kept along the line: after any edit, tab width change or
// line operation they must agree with walking the line from its start.
#include <gtest/gtest.h>

#include "base/display_columns.h"
#include "docs/text_doc.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Pieces that make a line of every kind of character: ASCII, two-, three-
// and four-byte characters, wide ones, combining marks, tabs, invalid bytes.
const char* const kPieces[] = {"ab", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xCC\x81", "\t",
                               "\xC3",  "\xA9",      "\xE4\xB8",     " ",                "x\ty"};

std::uint64_t Next(std::uint64_t& state)
{
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return state >> 33;
}

std::string LongLine(std::uint64_t& state, std::size_t bytes)
{
    std::string line;
    // Tabs are rare, as in long lines: most stretches between marks hold none.
    while (line.size() < bytes) {
        const std::string_view piece = kPieces[Next(state) % std::size(kPieces)];
        if (piece.find('\t') == std::string_view::npos || Next(state) % 300 == 0) line += piece;
    }
    return line;
}

// Every way the document turns columns into bytes and back agrees with a
// walk from the line's start, at places spread over the line.
void ExpectAgrees(const TextDoc& doc, std::uint64_t& state)
{
    const TextLine* line = doc.GetLine(0);
    const std::string_view text = line->View();
    const int tab = doc.TabSize();
    const int width = text::DisplayWidth(text, tab);
    ASSERT_EQ(doc.LineWidth(line), width);
    for (int k = 0; k < 8; ++k) {
        const int column = k < 2 ? width - k : int(Next(state) % std::uint64_t(width + 1));
        ASSERT_EQ(doc.ColumnToIndex(line, column), int(text::ColumnToIndex(text, tab, column))) << "column " << column;
        const ColumnMarks::Mark start = doc.CharacterStartBefore(line, column);
        ASSERT_LE(start.column, column);
        ASSERT_EQ(start.column, text::DisplayWidth(text.substr(0, start.byte), tab)) << "a mark's column";
        const auto index = std::size_t(Next(state) % (text.size() + 1));
        ASSERT_EQ(doc.PrefixWidth(line, int(index)), text::DisplayWidth(text.substr(0, index), tab)) << "byte " << index;
    }
}

TEST(ColumnMarks, AgreeWithAWalkFromTheStartAfterEveryEdit)
{
    std::uint64_t state = 7;
    TextDoc doc;
    ASSERT_TRUE(doc.InsertLine(0, LongLine(state, 100 * 1024)));
    ExpectAgrees(doc, state);
    for (int step = 0; step < 80; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int length = doc.GetLine(0)->Length();
        const int at = int(Next(state) % std::uint64_t(length + 1));
        switch (Next(state) % 6) {
        case 0: ASSERT_TRUE(doc.InsertChars(0, kPieces[Next(state) % std::size(kPieces)], at)); break;
        case 1: ASSERT_TRUE(doc.DeleteChars(0, at, int(Next(state) % 9))); break;
        case 2: ASSERT_TRUE(doc.ReplaceChars(0, at, int(Next(state) % 5000), LongLine(state, Next(state) % 6000))); break;
        case 3: ASSERT_TRUE(doc.InsertChars(0, "\xC3\xA9", -1)); break;  // typing at the end
        case 4: doc.SetTabSize(int(1 + Next(state) % 8)); break;
        default:
            // The line split and joined again where it was.
            ASSERT_TRUE(doc.SplitLine(0, at));
            ASSERT_TRUE(doc.JoinLines(0));
            break;
        }
        ExpectAgrees(doc, state);
    }
}

} // namespace
