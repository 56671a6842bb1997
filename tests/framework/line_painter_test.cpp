// The cells a line shows: only the columns in view, tabs expanded, one
// blank cell for a NUL or another control byte, wide characters in two
// cells, combining marks with their letter, ISO 8859-1 for invalid bytes.
#include "framework/line_painter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

QString Shown(std::string_view text, int tabSize, int first, int count)
{
    return VisibleCells(text, tabSize, first, count).ToString();
}

} // namespace

TEST(VisibleCells, TabsExpandAndOnlyTheColumnsInViewAreBuilt)
{
    EXPECT_EQ(Shown("ab\tc", 4, 0, 10), "ab  c");
    EXPECT_EQ(Shown("ab\tc", 4, 3, 10), " c");
    EXPECT_EQ(Shown("ab\tc", 8, 1, 3), "b  ");
    EXPECT_EQ(Shown("abc", 4, 5, 10), "");
    EXPECT_EQ(VisibleCells("ab\tc", 8, 1, 3).size(), 3);
}

TEST(VisibleCells, ControlBytesAreBlankAndInvalidBytesShowAsLatin1)
{
    const std::string bytes("a\0b\x01\xE9\x85", 6);
    const LineCells cells = VisibleCells(bytes, 4, 0, 10);
    ASSERT_EQ(cells.size(), 6);
    EXPECT_EQ(cells.ToString(), QString("a b ") + QChar(0xE9) + " ");
    // Blank cells have nothing to draw.
    EXPECT_EQ(cells.Glyphs().size(), 3u);
}

TEST(VisibleCells, EachCharacterInItsCells)
{
    // "中x": the wide character takes cells 0 and 1.
    const LineCells wide = VisibleCells("\xE4\xB8\xAD" "x", 4, 0, 10);
    ASSERT_EQ(wide.Glyphs().size(), 2u);
    EXPECT_EQ(wide.size(), 3);
    EXPECT_EQ(wide.Glyphs()[0].cell, 0);
    EXPECT_EQ(wide.Glyphs()[0].width, 2);
    EXPECT_EQ(wide.Glyphs()[1].cell, 2);
    EXPECT_EQ(wide.GlyphText(wide.Glyphs()[0]), QString::fromUtf8("\xE4\xB8\xAD"));
    // A wide character cut by the left or right edge leaves its cell blank.
    EXPECT_EQ(Shown("\xE4\xB8\xAD" "x", 4, 1, 5), " x");
    EXPECT_EQ(Shown("x\xE4\xB8\xAD", 4, 0, 2), "x ");
    EXPECT_EQ(wide.mid(1, 2).ToString(), " x");
    EXPECT_EQ(wide.mid(0, 2).ToString(), QString::fromUtf8("\xE4\xB8\xAD"));
    // The combining acute accent is drawn with its e: one glyph, one cell.
    const LineCells marked = VisibleCells("e\xCC\x81!", 4, 0, 10);
    ASSERT_EQ(marked.Glyphs().size(), 2u);
    EXPECT_EQ(marked.GlyphText(marked.Glyphs()[0]), QString::fromUtf8("e\xCC\x81"));
    EXPECT_EQ(marked.Glyphs()[1].cell, 1);
    // A character outside the first plane is one glyph of two UTF-16 units.
    const LineCells emoji = VisibleCells("\xF0\x9F\x98\x80.", 4, 0, 10);
    EXPECT_EQ(emoji.ToString(), QString::fromUtf8("\xF0\x9F\x98\x80."));
    EXPECT_EQ(emoji.Glyphs()[1].cell, 2);
    // Tabs count from the wide character's end.
    EXPECT_EQ(Shown("\xE4\xB8\xAD\tx", 4, 3, 10), " x");
}

TEST(VisibleCells, TheEndOfAVeryLongLineIsReached)
{
    std::string line(100000, 'x');
    line += "END";
    EXPECT_EQ(Shown(line, 4, 100000, 80), "END");
    // The same with multi-byte characters before the window.
    std::string wide;
    for (int i = 0; i < 50000; ++i) wide += "\xC3\xA9";
    wide += "END";
    EXPECT_EQ(Shown(wide, 4, 50000, 80), "END");
}
