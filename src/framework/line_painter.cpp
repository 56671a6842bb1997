#include "framework/line_painter.h"

#include "base/display_columns.h"

#include <QList>

#include <algorithm>

namespace {

void AppendCode(QString& out, char32_t code)
{
    if (code < 0x10000) {
        out.append(QChar(static_cast<char16_t>(code)));
    } else {
        out.append(QChar(QChar::highSurrogate(code)));
        out.append(QChar(QChar::lowSurrogate(code)));
    }
}

} // namespace

void LineCells::Add(int cell, int width, const QString& text)
{
    glyphs_.push_back({cell, width, int(text_.size()), int(text.size())});
    text_.append(text);
}

LineCells LineCells::mid(int from, int count) const
{
    LineCells out;
    from = std::max(from, 0);
    out.cells_ = std::clamp(cells_ - from, 0, std::max(count, 0));
    for (const Glyph& g : glyphs_)
        if (g.cell >= from && g.cell + g.width <= from + out.cells_)
            out.Add(g.cell - from, g.width, GlyphText(g));
    return out;
}

QString LineCells::ToString() const
{
    QString out;
    int cell = 0;
    for (const Glyph& g : glyphs_) {
        out.append(QString(g.cell - cell, QLatin1Char(' ')));
        out.append(GlyphText(g));
        cell = g.cell + g.width;
    }
    out.append(QString(std::max(0, cells_ - cell), QLatin1Char(' ')));
    return out;
}

LineCells LineCells::OneCellEach(const QString& cells)
{
    LineCells out;
    int cell = 0;
    for (const char32_t code : cells.toUcs4()) {
        if (code != U' ') {
            QString text;
            AppendCode(text, code);
            out.Add(cell, 1, text);
        }
        ++cell;
    }
    out.cells_ = cell;
    return out;
}

LineCells VisibleCells(std::string_view text, int tabSize, int first, int count, std::size_t from, long fromColumn)
{
    LineCells cells;
    if (count <= 0) return cells;
    if (tabSize < 1) tabSize = 1;
    first = std::max(first, 0);
    const long stop = long(first) + count;

    // Past the characters that end before the first visible column, in
    // long strides over plain ASCII.
    std::size_t i = std::min(from, text.size());
    long column = fromColumn;
    while (i < text.size() && column < first) {
        const std::size_t run =
            std::min(text::PlainAsciiRun(text.data() + i, text.size() - i), std::size_t(first - column));
        i += run;
        column += long(run);
        if (i >= text.size() || column >= first) break;
        const text::Character c = text::CharAt(text, i);
        const int width = c.code == '\t' ? int(tabSize - column % tabSize) : text::CellWidth(c);
        if (column + width > first) break;
        column += width;
        i += std::size_t(c.length);
    }

    cells.text_.reserve(count);
    cells.glyphs_.reserve(std::size_t(count));
    text::ColumnWalk walk(text, tabSize, i, column);
    for (; !walk.Done() && walk.Column() < stop; walk.Next()) {
        const text::Character& c = walk.Current();
        const long at = walk.Column();
        if (walk.Cells() == 0) {
            // A combining mark joins the glyph just before it.
            LineCells::Glyph* last = cells.glyphs_.empty() ? nullptr : &cells.glyphs_.back();
            if (last && last->cell + last->width == at - first && last->start + last->length == cells.text_.size()) {
                AppendCode(cells.text_, c.code);
                last->length = int(cells.text_.size()) - last->start;
            }
            continue;
        }
        if (at < first || at + walk.Cells() > stop) continue;  // cut by an edge
        if (c.code == '\t' || c.code == ' ' || text::IsControlCode(c.code)) continue;
        cells.glyphs_.push_back({int(at - first), walk.Cells(), int(cells.text_.size()), c.code < 0x10000 ? 1 : 2});
        AppendCode(cells.text_, c.code);
    }
    cells.cells_ = int(std::clamp(walk.Column(), long(first), stop) - first);
    return cells;
}
