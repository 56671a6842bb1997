#include "print/tw_printout.h"

#include "docs/lines_doc.h"
#include "framework/line_painter.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

// The resolution the view's font was chosen at.
int ScreenDpi(const QWidget* window)
{
    if (window) return window->logicalDpiY();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

// The font's height in pixels at `dpi`, negative as a character height.
int FontHeight(const QFont& font, int dpi)
{
    if (font.pixelSize() > 0) return -font.pixelSize();
    return -static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0));
}

} // namespace

void TWPrintout::LocalNow(printing::PrintDate& date, printing::PrintTime& time)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    date = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    time = {local.tm_hour, local.tm_min, local.tm_sec};
}

TWPrintout::TWPrintout(std::string title, const LinesDoc& document, const QWidget* window,
                       const QFont& font, bool header)
    : Printout(std::move(title)),
      Document(document),
      Font(font),
      Window(window),
      HeaderLines(header ? kHeaderLines : 0),
      view_font_(font)
{
}

void TWPrintout::BeginPrinting(const QPaintDevice& printer)
{
    const int screenDpi = ScreenDpi(Window);
    const int height = printing::ScaleFontHeight(FontHeight(view_font_, screenDpi), screenDpi,
                                                 printer.logicalDpiY());
    QFont scaled(view_font_.family());
    scaled.setStyleHint(QFont::TypeWriter);
    scaled.setFixedPitch(true);
    scaled.setKerning(false);
    scaled.setWeight(view_font_.weight());
    scaled.setPixelSize(std::max(1, std::abs(height)));
    Font = scaled;

    grid_.emplace(Font);
    const QFontMetrics metrics(Font, &printer);
    Paginate(metrics.height(), metrics.leading(), grid_->CellWidth(), printer.height());
}

void TWPrintout::Paginate(int charHeight, int externalLeading, int averageCharWidth, int pageHeight)
{
    CharWidth = averageCharWidth;
    LineHeight = printing::LineHeightOf(charHeight, externalLeading);
    LinesPerPage = printing::LinesPerPageOf(pageHeight, LineHeight, HeaderLines);
    PageCount = printing::PageCountOf(Document.LineCount(), LinesPerPage);
    clock_(Date, Time);
}

bool TWPrintout::HasPage(int page) const
{
    return page >= 1 && page <= PageCount;
}

TWPrintout::Page TWPrintout::LayOutPage(int page, int pageWidth) const
{
    Page out;
    const int x = LeftMargin * CharWidth;
    int y = LineHeight;  // one empty line at the top
    if (HeaderLines > 0) {
        out.texts.push_back({x, y, Title()});
        std::string label = printing::PageLabel(page);
        const int length = static_cast<int>(label.size());
        out.texts.push_back({printing::RightAlignedX(pageWidth, length, CharWidth), y, std::move(label)});
        std::string stamp = printing::StampLabel(Date, Time);
        const int stampLength = static_cast<int>(stamp.size());
        out.texts.push_back({printing::RightAlignedX(pageWidth, stampLength, CharWidth), y + LineHeight,
                             std::move(stamp)});
        out.rules.push_back(y + 2 * LineHeight - LineHeight / 8);
        out.rules.push_back(y + 2 * LineHeight + LineHeight / 8);
    }
    y += HeaderLines * LineHeight;
    const printing::LineRange body = printing::BodyLinesOf(page, LinesPerPage, Document.LineCount());
    for (int i = body.first; i < body.end; ++i) {
        out.texts.push_back({x, y, Document.ExpandLine(Document.GetLine(i))});
        y += LineHeight;
    }
    return out;
}

void TWPrintout::PrintPage(int page, QPainter& painter)
{
    const int width = painter.device()->width();
    const Page drawing = LayOutPage(page, width);
    painter.save();
    painter.setFont(Font);
    painter.setPen(Qt::black);
    if (!grid_) grid_.emplace(Font);
    // Texts are placed by the tops of their cells; Qt draws at the baseline.
    // Control codes print as the windows show them, one blank cell each.
    const int ascent = QFontMetrics(Font, painter.device()).ascent();
    for (const Text& text : drawing.texts) {
        const int columns = CharWidth > 0 ? (width - text.x) / CharWidth + 1 : 0;
        grid_->Draw(painter, text.x, text.y + ascent, VisibleCells(text.text, 1, 0, columns));
    }
    painter.setPen(QPen(Qt::black, printing::kRuleWidth));
    for (int y : drawing.rules) painter.drawLine(0, y, width, y);
    painter.restore();
}
