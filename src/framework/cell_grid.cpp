#include "framework/cell_grid.h"

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

void CellGrid::Draw(QPainter& painter, int x, int baseline, const LineCells& cells) const
{
    const std::vector<LineCells::Glyph>& glyphs = cells.Glyphs();
    if (glyphs.empty()) return;
    // The characters of one UTF-16 unit are looked up in the font in one go.
    QString singles;
    singles.reserve(qsizetype(glyphs.size()));
    for (const LineCells::Glyph& g : glyphs)
        if (g.length == 1) singles.append(cells.Text()[g.start]);
    const QList<quint32> indexes = raw_.isValid() ? raw_.glyphIndexesForString(singles) : QList<quint32>();
    QList<QPointF> positions;
    positions.reserve(qsizetype(glyphs.size()));
    QList<quint32> found;
    found.reserve(qsizetype(glyphs.size()));
    qsizetype single = 0;
    for (const LineCells::Glyph& g : glyphs) {
        const qreal left = x + qreal(g.cell) * cell_width_;
        if (g.length == 1) {
            const quint32 index = single < indexes.size() ? indexes[single] : 0;
            ++single;
            if (index != 0) {
                found.push_back(index);
                positions.push_back(QPointF(left + glyph_offset_ + qreal(g.width - 1) * cell_width_ / 2, baseline));
                continue;
            }
        }
        // Drawn alone, so that Qt can take it from another font, still
        // centred in its own cells.
        if (painter.font() != font_) painter.setFont(font_);
        const QString text = cells.GlyphText(g);
        const qreal advance = QFontMetricsF(font_).horizontalAdvance(text);
        painter.drawText(QPointF(left + (qreal(g.width) * cell_width_ - advance) / 2, baseline), text);
    }
    if (!found.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setGlyphIndexes(found);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
}
