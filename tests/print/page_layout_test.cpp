// The page arithmetic: font scaling, lines per page, page count, which
// lines go on which page and the header texts.
#include "print/page_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace printing;

TEST(PageLayout, FontHeightScalesMultiplyingFirstAndKeepsItsSign)
{
    EXPECT_EQ(ScaleFontHeight(-16, 96, 600), -100);
    EXPECT_EQ(ScaleFontHeight(16, 96, 600), 100);
    // Dividing first would give 16 * 6 = 96; truncation goes towards zero.
    EXPECT_EQ(ScaleFontHeight(-16, 97, 600), -98);
    EXPECT_EQ(ScaleFontHeight(-13, 96, 300), -40);
    // A product beyond 32 bits still scales exactly.
    EXPECT_EQ(ScaleFontHeight(-1000000, 96, 4800), -50000000);
    EXPECT_EQ(ScaleFontHeight(INT_MIN, 1, 4800), INT_MIN);
    // Without a resolution the height stays.
    EXPECT_EQ(ScaleFontHeight(-16, 0, 600), -16);
    EXPECT_EQ(ScaleFontHeight(-16, 96, 0), -16);
}

TEST(PageLayout, LinesPerPageLeavesTheHeaderAndThreeSpareLines)
{
    EXPECT_EQ(LineHeightOf(14, 1), 17);
    EXPECT_EQ(LinesPerPageOf(1000, 10, 3), 94);
    EXPECT_EQ(LinesPerPageOf(1009, 10, 3), 94);
    EXPECT_EQ(LinesPerPageOf(1000, 10, 0), 97);
    // Seven lines hold one body line; six hold none.
    EXPECT_EQ(LinesPerPageOf(70, 10, 3), 1);
    EXPECT_EQ(LinesPerPageOf(69, 10, 3), 0);
    EXPECT_LT(LinesPerPageOf(10, 100, 3), 1);
    EXPECT_EQ(LinesPerPageOf(1000, 0, 3), 0);
    EXPECT_EQ(LinesPerPageOf(1000, -5, 3), 0);
}

TEST(PageLayout, PagesForExactlyAFullPageAndForOneLineMore)
{
    EXPECT_EQ(PageCountOf(94, 94), 1);
    EXPECT_EQ(PageCountOf(95, 94), 2);
    EXPECT_EQ(PageCountOf(188, 94), 2);
    EXPECT_EQ(PageCountOf(1, 94), 1);
    EXPECT_EQ(PageCountOf(0, 94), 0);
    // Nothing fits: no page, and no division by zero.
    EXPECT_EQ(PageCountOf(50, 0), 0);
    EXPECT_EQ(PageCountOf(50, -6), 0);

    EXPECT_EQ(BodyLinesOf(1, 94, 95), (LineRange{0, 94}));
    EXPECT_EQ(BodyLinesOf(2, 94, 95), (LineRange{94, 95}));
    EXPECT_EQ(BodyLinesOf(3, 94, 95), (LineRange{95, 95}));
    EXPECT_EQ(BodyLinesOf(0, 94, 95), (LineRange{}));
    EXPECT_EQ(BodyLinesOf(1, 0, 95), (LineRange{}));
    // Far pages of a huge document do not overflow.
    EXPECT_EQ(BodyLinesOf(30000000, 100, INT_MAX), (LineRange{INT_MAX, INT_MAX}));
}

TEST(PageLayout, HeaderTexts)
{
    EXPECT_EQ(PageLabel(1), "Page 1");
    EXPECT_EQ(PageLabel(120), "Page 120");
    EXPECT_EQ(StampLabel({2024, 3, 7}, {9, 5, 3}), "3/7/2024 -  9:05:03");
    EXPECT_EQ(StampLabel({1999, 12, 31}, {23, 59, 0}), "12/31/1999 - 23:59:00");
    // "Page 1" is six cells of 10 units ending one unit before the edge.
    EXPECT_EQ(RightAlignedX(1000, 6, 10), 939);
}

TEST(PageLayout, ThePrintSequenceReversesThenRepeatsPagesOrRuns)
{
    struct Case {
        int copies;
        bool collate, reverse;
        std::vector<int> sequence;
    } cases[] = {
        {1, true, false, {2, 3, 5}},
        {1, false, true, {5, 3, 2}},
        {2, true, false, {2, 3, 5, 2, 3, 5}},
        {2, false, false, {2, 2, 3, 3, 5, 5}},
        {2, false, true, {5, 5, 3, 3, 2, 2}},
        {0, true, false, {2, 3, 5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintSequence({2, 3, 5}, c.copies, c.collate, c.reverse), c.sequence)
            << c.copies << c.collate << c.reverse;
    EXPECT_TRUE(PrintSequence({}, 3, true, true).empty());
}

} // namespace
