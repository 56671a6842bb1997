#include "edit/visible_area.h"

#include <algorithm>

void VisibleArea::SetPage(int lines, int columns)
{
    lines_per_page_ = lines;
    columns_per_page_ = columns;
}

void VisibleArea::SetLineCount(int lineCount)
{
    line_count_ = lineCount;
    scroll_scale_ = std::max(0, lineCount - 1) / kScrollRangeLimit + 1;
    scroll_remainder_ = top_line_ % scroll_scale_;
}

bool VisibleArea::ScrollLines(int lines)
{
    if (lines < 0 && top_line_ == 0) return false;
    if (lines > 0 && top_line_ >= line_count_ - 1) return false;
    // A page step near the end stops with the last line at the top, never
    // past it in an empty window.
    top_line_ = std::clamp(top_line_ + lines, 0, std::max(0, line_count_ - 1));
    scroll_remainder_ = top_line_ % scroll_scale_;
    return true;
}

void VisibleArea::ScrollColumns(int columns)
{
    left_column_ = std::max(0, left_column_ + columns);
}

void VisibleArea::BringIntoView(TextPosition position)
{
    const int rows = std::max(1, lines_per_page_);
    if (position.line >= top_line_ + rows) ScrollLines(position.line - (top_line_ + rows) + 1);
    else if (position.line < top_line_) ScrollLines(position.line - top_line_);
    const int columns = std::max(1, columns_per_page_);
    if (position.column >= left_column_ + columns) ScrollColumns(position.column - (left_column_ + columns) + 1);
    else if (position.column < left_column_) ScrollColumns(position.column - left_column_);
}

int VisibleArea::VerticalMaximum() const
{
    return std::max(0, line_count_ - 1) / scroll_scale_;
}

int VisibleArea::VerticalPageStep() const
{
    return std::max(1, lines_per_page_ / scroll_scale_);
}

int VisibleArea::HorizontalMaximum(int widestLine) const
{
    return std::max(0, widestLine + 1 - columns_per_page_);
}

int VisibleArea::HorizontalPageStep() const
{
    return std::max(1, columns_per_page_);
}
