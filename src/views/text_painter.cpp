#include "views/text_painter.h"

#include "docs/lines_doc.h"
#include "edit/caret_model.h"
#include "edit/visible_area.h"
#include "framework/line_painter.h"

#include <QPainter>

#include <algorithm>

QPoint TextPainter::PixelOf(TextPosition position) const
{
    return {(position.column - area.LeftColumn()) * grid.CellWidth(), (position.line - area.TopLine()) * line_height};
}

void TextPainter::Paint(QPainter& painter, const QRect& viewport, bool withSelection, bool withCaret) const
{
    painter.fillRect(viewport, display.background);
    painter.setFont(display.font);
    const int top = area.TopLine();
    const int last = std::min(doc.LineCount(), top + area.LinesPerPage() + 1);
    for (int i = top; i < last; ++i) DrawLine(painter, i, (i - top) * line_height, withSelection);
    if (!withCaret) return;
    const QPoint at = PixelOf(carets.Caret());
    const int width = carets.Overwrite() ? grid.CellWidth() : 2;
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(at.x(), at.y() + 1, width, line_height - 2), Qt::white);
}

void TextPainter::DrawLine(QPainter& painter, int index, int y, bool withSelection) const
{
    const TextLine* line = doc.GetLine(index);
    const int first = area.LeftColumn();
    const int count = area.ColumnsPerPage() + 2;
    // A long line is walked from a known place near the first column shown.
    const ColumnMarks::Mark start = doc.CharacterStartBefore(line, first);
    const LineCells cells =
        VisibleCells(line ? line->View() : std::string_view(), doc.TabSize(), first, count, start.byte, start.column);
    const int baseline = y + 1 + grid.Ascent();

    painter.setPen(display.foreground);
    grid.Draw(painter, 0, baseline, cells);

    int from = 0, to = 0;
    if (!withSelection || !carets.SelectedColumns(index, from, to)) return;
    from = std::max(from, first);
    to = std::min(to, first + int(cells.size()));
    if (to <= from) return;
    const int cell = grid.CellWidth();
    const QRect band((from - first) * cell, y, (to - from) * cell, line_height);
    painter.fillRect(band, palette.color(QPalette::Highlight));
    painter.setPen(palette.color(QPalette::HighlightedText));
    grid.Draw(painter, band.x(), baseline, cells.mid(from - first, to - from));
}
