// The cells a line shows: only the columns in view, tabs expanded, one
// blank cell for a NUL or another control byte, ISO 8859-1 for the rest.
#include "views/line_painter.h"

#include <gtest/gtest.h>

#include <string>

TEST(VisibleCells, TabsExpandAndOnlyTheColumnsInViewAreBuilt)
{
    EXPECT_EQ(VisibleCells("ab\tc", 4, 0, 10), "ab  c");
    EXPECT_EQ(VisibleCells("ab\tc", 4, 3, 10), " c");
    EXPECT_EQ(VisibleCells("ab\tc", 8, 1, 3), "b  ");
    EXPECT_EQ(VisibleCells("abc", 4, 5, 10), "");
}

TEST(VisibleCells, EveryByteKeepsOneCell)
{
    const std::string bytes("a\0b\x01\xE9", 5);
    const QString cells = VisibleCells(bytes, 4, 0, 10);
    ASSERT_EQ(cells.size(), 5);
    EXPECT_EQ(cells[1], QChar(' '));
    EXPECT_EQ(cells[3], QChar(' '));
    EXPECT_EQ(cells[4], QChar(0xE9));
}

TEST(VisibleCells, TheEndOfAVeryLongLineIsReached)
{
    std::string line(100000, 'x');
    line += "END";
    EXPECT_EQ(VisibleCells(line, 4, 100000, 80), "END");
}
