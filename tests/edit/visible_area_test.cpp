// The part of a document in view: scroll bar ranges that stay within what
// a scroll bar can hold, the thumb and the lines agreeing at every scale,
// and bringing a position into view.
#include "edit/visible_area.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ScaleRow {
    int lines;
    int scale;
    int maximum;
};

std::ostream& operator<<(std::ostream& out, const ScaleRow& row)
{
    return out << row.lines << " lines";
}

class ScrollScale : public ::testing::TestWithParam<ScaleRow> {};

TEST_P(ScrollScale, KeepsTheRangeWithinTheLimitAndTheThumbOnItsLine)
{
    const ScaleRow& row = GetParam();
    VisibleArea area;
    area.SetPage(40, 80);
    area.SetLineCount(row.lines);
    EXPECT_EQ(area.ScrollScale(), row.scale);
    EXPECT_EQ(area.VerticalMaximum(), row.maximum);
    EXPECT_LE(area.VerticalMaximum(), VisibleArea::kScrollRangeLimit);
    EXPECT_EQ(area.VerticalPageStep(), std::max(1, 40 / row.scale));

    // Every thumb position stands for a line whose own position is that
    // thumb position, also with the remainder a line step leaves.
    for (const int first : {0, 1}) {
        area.ScrollToTop();
        if (first > 0) area.ScrollLines(first);
        for (const int value : {0, row.maximum / 2, row.maximum - 1, row.maximum}) {
            if (value < 0) continue;
            area.ScrollLines(area.LineOfThumb(value) - area.TopLine());
            EXPECT_EQ(area.VerticalValue(), value) << "thumb at " << value << " after a first step of " << first;
            EXPECT_LT(area.TopLine(), std::max(1, row.lines));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LineCounts, ScrollScale,
                         ::testing::Values(ScaleRow{0, 1, 0}, ScaleRow{2, 1, 1}, ScaleRow{32767, 1, 32766},
                                           ScaleRow{32768, 2, 16383}, ScaleRow{65534, 2, 32766},
                                           ScaleRow{65535, 3, 21844}, ScaleRow{1000000, 31, 32258}));

TEST(VisibleArea, AScaledThumbKeepsTheRemainderOfALineStep)
{
    VisibleArea area;
    area.SetPage(20, 80);
    area.SetLineCount(32768);
    ASSERT_EQ(area.ScrollScale(), 2);
    EXPECT_TRUE(area.ScrollLines(1));
    EXPECT_EQ(area.TopLine(), 1);
    EXPECT_EQ(area.VerticalValue(), 0);
    EXPECT_EQ(area.LineOfThumb(100), 201);  // two lines a step, plus the remainder
    area.ScrollLines(area.LineOfThumb(100) - area.TopLine());
    EXPECT_EQ(area.TopLine(), 201);
    EXPECT_EQ(area.VerticalValue(), 100);
}

TEST(VisibleArea, ScrollingStopsAtTheTopAndAtTheLastLine)
{
    VisibleArea area;
    area.SetPage(4, 10);
    area.SetLineCount(10);
    EXPECT_FALSE(area.ScrollLines(-1));
    EXPECT_TRUE(area.ScrollLines(9));
    EXPECT_EQ(area.TopLine(), 9);
    EXPECT_FALSE(area.ScrollLines(1));
    EXPECT_TRUE(area.ScrollLines(-100));
    EXPECT_EQ(area.TopLine(), 0);
    // A page or a jump past the end stops at the last line.
    EXPECT_TRUE(area.ScrollLines(3));
    EXPECT_TRUE(area.ScrollLines(30));
    EXPECT_EQ(area.TopLine(), 9);
    EXPECT_EQ(area.VerticalValue(), area.VerticalMaximum());
    area.ScrollToTop();
    area.ScrollToBottom();
    EXPECT_EQ(area.TopLine(), 9);
    EXPECT_TRUE(area.ScrollLines(-100));
    EXPECT_EQ(area.TopLine(), 0);
    area.ScrollColumns(-3);
    EXPECT_EQ(area.LeftColumn(), 0);
}

TEST(VisibleArea, BringIntoViewScrollsJustFarEnough)
{
    VisibleArea area;
    area.SetPage(10, 20);
    area.SetLineCount(100);
    area.BringIntoView({5, 19});  // the last whole line and column shown
    EXPECT_EQ(area.TopLine(), 0);
    EXPECT_EQ(area.LeftColumn(), 0);
    area.BringIntoView({25, 30});
    EXPECT_EQ(area.TopLine(), 16);
    EXPECT_EQ(area.LeftColumn(), 11);
    area.BringIntoView({20, 15});  // already shown
    EXPECT_EQ(area.TopLine(), 16);
    EXPECT_EQ(area.LeftColumn(), 11);
    area.BringIntoView({3, 0});
    EXPECT_EQ(area.TopLine(), 3);
    EXPECT_EQ(area.LeftColumn(), 0);

    // A window too small for one whole line still shows the position.
    VisibleArea tiny;
    tiny.SetPage(0, 0);
    tiny.SetLineCount(100);
    tiny.BringIntoView({7, 7});
    EXPECT_EQ(tiny.TopLine(), 7);
    EXPECT_EQ(tiny.LeftColumn(), 7);
}

TEST(VisibleArea, TheHorizontalRangeReachesOnePastTheWidestLine)
{
    VisibleArea area;
    area.SetPage(10, 20);
    EXPECT_EQ(area.HorizontalMaximum(100), 81);
    EXPECT_EQ(area.HorizontalMaximum(5), 0);
    EXPECT_EQ(area.HorizontalPageStep(), 20);
}

} // namespace
