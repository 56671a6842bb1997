#pragma once
// Draws what a document window shows: the background, every line in view
// on the cell grid, the selection band and the caret. Drawing only: what
// shows and where comes from the document, the caret model and the
// visible area.

#include "framework/cell_grid.h"
#include "views/display_settings.h"

#include <QPalette>
#include <QPoint>

class CaretModel;
class LinesDoc;
class QPainter;
class VisibleArea;
struct TextPosition;

struct TextPainter {
    const LinesDoc& doc;
    const CaretModel& carets;
    const VisibleArea& area;
    const CellGrid& grid;
    const DisplaySettings& display;
    const QPalette& palette;
    int line_height;

    // The top left corner of the cell of a position.
    QPoint PixelOf(TextPosition position) const;
    // Lines in view, the selection when asked, the caret when shown.
    void Paint(QPainter& painter, const QRect& viewport, bool withSelection, bool withCaret) const;

private:
    void DrawLine(QPainter& painter, int index, int y, bool withSelection) const;
};
