// The glyphs stand on the grid the caret, the selection band and the mouse
// count in: rendered into an image, each character's ink lies in its own
// cell, for every font size and in both views.
#include "view_fixture.h"

#include "docs/hex_doc.h"
#include "settings/profile.h"
#include "framework/cell_grid.h"
#include "views/hex_view.h"
#include "views/text_view.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

// The view's protected mapping, for the test to compare with the pixels.
struct ProbeView : TextView {
    using TextView::TextView;
    using EditView::PositionToPixel;
};

bool Inked(const QImage& image, int x, int top, int bottom)
{
    for (int y = top; y < bottom; ++y)
        if (qGray(image.pixel(x, y)) < 192) return true;
    return false;
}

// The leftmost and rightmost inked pixel columns within [from, to) of the
// rows [top, bottom); -1 when there is no ink.
std::pair<int, int> InkSpan(const QImage& image, int from, int to, int top, int bottom)
{
    int first = -1, last = -1;
    for (int x = std::max(0, from); x < std::min(to, image.width()); ++x) {
        if (!Inked(image, x, top, bottom)) continue;
        if (first < 0) first = x;
        last = x;
    }
    return {first, last};
}

class CellGridTest : public ViewTest {
protected:
    void UseFont(const char* face, int size)
    {
        profile::WriteString("Font", "font_name", face);
        profile::WriteString("Font", "font_size", std::to_string(size));
    }
};

TEST_F(CellGridTest, EveryGlyphInItsCellAtEverySizeWhereTheCaretAndTheMouseSayItIs)
{
    // Markers at columns the old drawing moved out of their cells.
    const std::vector<int> markers{0, 7, 37, 100};
    std::string marked(101, ' ');
    for (int c : markers) marked[std::size_t(c)] = '|';
    for (const char* face : {"Courier New", "DejaVu Sans Mono"}) {
        for (int size : {6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20, 22, 24, 28, 36, 48}) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(size));
            UseFont(face, size);
            auto view = OpenPath<ProbeView>(tree.Write("grid.txt", "top\n" + marked + "\n"));
            const int w = view->CharWidth(), h = view->LineHeight();
            view->resize(104 * w + 40, 4 * h + 40);
            ASSERT_GE(view->ColumnsPerPage(), 101);
            const QImage image = view->viewport()->grab().toImage();
            const int top = h, bottom = 2 * h;  // the marked line
            for (int c : markers) {
                const QPoint cell = view->PositionToPixel({1, c});
                ASSERT_EQ(cell, QPoint(c * w, h));
                const auto [first, last] = InkSpan(image, cell.x() - w, cell.x() + 2 * w, top, bottom);
                ASSERT_GE(first, 0) << "column " << c << " has no ink";
                EXPECT_GE(first, cell.x()) << "column " << c;
                EXPECT_LT(last, cell.x() + w) << "column " << c;
                // A click on the glyph's left edge puts the caret before it.
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(first, top + h / 2));
                EXPECT_EQ(view->Caret(), (TextPosition{1, c}));
            }
        }
    }
}

TEST_F(CellGridTest, TheSelectionBandCoversExactlyItsGlyphs)
{
    auto view = Open<TextView>(std::string(120, 'M') + "\n");
    view->resize(125 * view->CharWidth() + 40, 200);
    view->MoveCaretTo({0, 100});
    for (int i = 0; i < 3; ++i) QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    const QImage image = view->viewport()->grab().toImage();
    const int w = view->CharWidth(), y = 0;  // above the glyphs
    const QColor band = view->palette().color(QPalette::Highlight);
    EXPECT_EQ(image.pixelColor(100 * w, y), band);
    EXPECT_EQ(image.pixelColor(103 * w - 1, y), band);
    EXPECT_NE(image.pixelColor(100 * w - 1, y), band);
    EXPECT_NE(image.pixelColor(103 * w, y), band);
    // Both neighbours of the band are inked up to its edges: no glyph of the
    // band stands outside it, none from outside stands in it.
    const auto [first, last] = InkSpan(image, 97 * w, 100 * w, 0, view->LineHeight());
    EXPECT_LT(last, 100 * w);
    EXPECT_GE(first, 97 * w);
}

TEST_F(CellGridTest, HexRowsKeepTheirBlankCellsBlank)
{
    std::string bytes;
    for (int i = 0; i < 64; ++i) bytes += char('A' + i % 26);
    auto view = Open<HexView>(bytes, "bytes.bin");
    const int w = view->CharWidth(), h = view->LineHeight();
    view->resize(100 * w + 40, 6 * h + 40);
    const QImage image = view->viewport()->grab().toImage();
    const std::string row = view->Document()->ExpandLine(view->Document()->GetLine(1));
    ASSERT_GT(row.size(), 70u);
    int blanks = 0;
    for (int c = 0; c < int(row.size()); ++c) {
        // One pixel at each edge may take a glyph's anti-aliased fringe.
        const auto [first, last] = InkSpan(image, c * w + 1, (c + 1) * w - 1, h, 2 * h);
        if (row[std::size_t(c)] == ' ') {
            ++blanks;
            EXPECT_EQ(first, -1) << "blank column " << c << " holds ink";
        } else {
            EXPECT_GE(first, 0) << "column " << c << " ('" << row[std::size_t(c)] << "') has no ink";
        }
    }
    EXPECT_GT(blanks, 10);
}

TEST(CellGrid, CellsAreWholePixelsAndACharacterTheFontLacksStaysInItsCell)
{
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(13);
    const CellGrid grid(font);
    EXPECT_EQ(grid.CellWidth(), qRound(QFontMetricsF(font).horizontalAdvance('M')));
    QImage image(20 * grid.CellWidth(), 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    // U+2603 is not a Latin-1 glyph: it is drawn from wherever Qt finds it.
    grid.Draw(painter, 0, 20, QString("  ") + QChar(0x2603) + "  |");
    painter.end();
    const auto [first, last] = InkSpan(image, 5 * grid.CellWidth() - 2, image.width(), 0, 40);
    EXPECT_GE(first, 5 * grid.CellWidth());
    EXPECT_LT(last, 6 * grid.CellWidth());
}

} // namespace
