#pragma once
// The fixed grid of character cells the views draw on. A cell is a whole
// number of pixels wide, the font's advance rounded, and everything the
// views place (caret, selection band, mouse hits, scrolling) counts in
// cells; so the glyphs are placed one by one, each in the middle of its
// cell, never at the font's own fractional advance (7.2 px for a 12 px
// Courier New, which drifts three columns from the grid by column 100).
// One glyph run draws every character the font has, so a line still costs
// one call; a character it lacks, or one with combining marks, is drawn on
// its own from whatever font Qt finds for it, centred in its cells (two for
// a wide character).

#include <QFont>
#include <QRawFont>
#include <QString>

#include "framework/line_painter.h"

class QPainter;

class CellGrid {
public:
    explicit CellGrid(const QFont& font = QFont());

    const QFont& Font() const { return font_; }
    int CellWidth() const { return cell_width_; }
    int Ascent() const { return ascent_; }
    // The font's line height plus its leading.
    int TextHeight() const { return text_height_; }

    // Draws `cells` in the painter's pen colour, cell i at
    // x + i × cell width, on the baseline y.
    void Draw(QPainter& painter, int x, int baseline, const LineCells& cells) const;
    // The same with each code point of `cells` in one cell.
    void Draw(QPainter& painter, int x, int baseline, const QString& cells) const
    {
        Draw(painter, x, baseline, LineCells::OneCellEach(cells));
    }

private:
    QFont font_;
    QRawFont raw_;
    int cell_width_ = 1;
    int ascent_ = 0;
    int text_height_ = 1;
    qreal glyph_offset_ = 0;  // centres the font's advance in the cell
};
