#include "views/line_painter.h"

#include "framework/byte_text.h"

namespace {

QChar CellOf(char byte)
{
    const auto u = static_cast<unsigned char>(byte);
    if (u < 0x20 || (u >= 0x7F && u < 0xA0)) return QLatin1Char(' ');
    return bytetext::ToQChar(byte);
}

} // namespace

QString VisibleCells(std::string_view text, int tabSize, int first, int count)
{
    QString cells;
    if (count <= 0) return cells;
    if (tabSize < 1) tabSize = 1;
    const int stop = first + count;
    int column = 0;
    std::size_t i = 0;
    // Without tabs before the visible part, the first cell's byte is known.
    if (text.substr(0, std::min<std::size_t>(text.size(), std::size_t(std::max(first, 0)))).find('\t') ==
        std::string_view::npos) {
        i = std::min<std::size_t>(text.size(), std::size_t(std::max(first, 0)));
        column = int(i);
    }
    cells.reserve(count);
    for (; i < text.size() && column < stop; ++i) {
        const char byte = text[i];
        const int width = byte == '\t' ? tabSize - column % tabSize : 1;
        for (int k = 0; k < width && column < stop; ++k, ++column) {
            if (column < first) continue;
            cells.append(byte == '\t' ? QChar(QLatin1Char(' ')) : CellOf(byte));
        }
        if (column < first) continue;
    }
    return cells;
}
