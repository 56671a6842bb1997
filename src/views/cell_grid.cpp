#include "views/cell_grid.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>

CellGrid::CellGrid(const QFont& font) : font_(font), raw_(QRawFont::fromFont(font))
{
    // A fixed-pitch font: every glyph advances as far as 'M' does.
    const qreal advance = QFontMetricsF(font_).horizontalAdvance(QLatin1Char('M'));
    cell_width_ = std::max(1, int(std::lround(advance)));
    glyph_offset_ = (cell_width_ - advance) / 2;
    const QFontMetrics metrics(font_);
    ascent_ = metrics.ascent();
    text_height_ = std::max(1, metrics.height() + metrics.leading());
}

void CellGrid::Draw(QPainter& painter, int x, int baseline, const QString& cells) const
{
    if (cells.isEmpty()) return;
    QList<quint32> glyphs = raw_.isValid() ? raw_.glyphIndexesForString(cells) : QList<quint32>();
    QList<QPointF> positions;
    positions.reserve(cells.size());
    QList<quint32> found;
    found.reserve(cells.size());
    for (int i = 0; i < int(cells.size()); ++i) {
        const qreal left = x + qreal(i) * cell_width_ + glyph_offset_;
        if (i < int(glyphs.size()) && glyphs[i] != 0) {
            found.push_back(glyphs[i]);
            positions.push_back(QPointF(left, baseline));
        } else if (cells[i] != QLatin1Char(' ')) {
            // A character the font lacks: drawn alone, so that Qt can take
            // it from another font, still in its own cell.
            if (painter.font() != font_) painter.setFont(font_);
            painter.drawText(QPointF(left, baseline), QString(cells[i]));
        }
    }
    if (!found.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setGlyphIndexes(found);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
}
