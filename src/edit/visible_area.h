#pragma once
// Which part of a document a window shows: the top line, the left column
// and the size of a page, and the arithmetic of scrolling them. The
// vertical scroll bar never needs a range above kScrollRangeLimit: a longer
// document scales one thumb step to several lines, and the lines a step
// cannot reach are kept as a remainder so the thumb and the lines agree.

#include "docs/text_position.h"

class VisibleArea {
public:
    static constexpr int kScrollRangeLimit = 32767;

    int TopLine() const { return top_line_; }
    int LeftColumn() const { return left_column_; }
    int LinesPerPage() const { return lines_per_page_; }
    int ColumnsPerPage() const { return columns_per_page_; }
    int ScrollScale() const { return scroll_scale_; }

    void SetPage(int lines, int columns);
    // The document now has `lineCount` lines: the scale follows.
    void SetLineCount(int lineCount);

    // Scrolls by a count of lines; false when already at that end (the top,
    // or the last line at the top).
    bool ScrollLines(int lines);
    void ScrollColumns(int columns);
    void ScrollToTop() { ScrollLines(-top_line_); }
    void ScrollToBottom() { ScrollLines(line_count_ - top_line_); }
    // Scrolls just far enough for the position to be in the whole lines and
    // columns shown.
    void BringIntoView(TextPosition position);

    // The scroll bars: the vertical one in scaled steps.
    int VerticalMaximum() const;
    int VerticalPageStep() const;
    int VerticalValue() const { return top_line_ / scroll_scale_; }
    // The line a thumb position stands for.
    int LineOfThumb(int value) const { return value * scroll_scale_ + scroll_remainder_; }
    // One column more than the widest line, so the caret after its last
    // character can be brought into view.
    int HorizontalMaximum(int widestLine) const;
    int HorizontalPageStep() const;

private:
    int line_count_ = 0;
    int top_line_ = 0;
    int left_column_ = 0;
    int lines_per_page_ = 1;
    int columns_per_page_ = 1;
    int scroll_scale_ = 1;
    int scroll_remainder_ = 0;
};
