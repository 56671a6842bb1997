#pragma once
// The printout of a document: on every page a header (title, page number,
// the date and time printing began, a double rule) and then as many
// document lines as fit, tabs expanded at the document's tab width, in the
// view's font scaled from the screen's resolution to the printer's. Every
// character sits in its own cells as in the windows (a wide character in
// two), so the columns stay true after any text. Long lines are not
// wrapped; the printer clips them at the page edge.
//
// Its fields are open to the frame (which reports a page that holds no body
// line) and to the tests; only BeginPrinting changes them.

#include "framework/cell_grid.h"
#include "print/page_layout.h"
#include "print/printout.h"

#include <QFont>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class LinesDoc;
class QWidget;

class TWPrintout : public Printout {
public:
    // The header takes three lines when it is on.
    static constexpr int kHeaderLines = 3;

    // The moment printing begins (local time); tests replace it.
    using Clock = std::function<void(printing::PrintDate&, printing::PrintTime&)>;
    static void LocalNow(printing::PrintDate& date, printing::PrintTime& time);

    // `window` is the view (asked only for the screen's resolution; null:
    // the primary screen's), `font` the view's font.
    TWPrintout(std::string title, const LinesDoc& document, const QWidget* window, const QFont& font,
               bool header);

    // Scales the font, measures it on `printer`, computes the lines per page
    // and the page count, and records the date and time.
    void BeginPrinting(const QPaintDevice& printer) override;
    bool HasPage(int page) const override;
    void PrintPage(int page, QPainter& painter) override;

    // Sizes taken from a measured font on a page `pageHeight` units high:
    // the part of BeginPrinting that needs no printer.
    void Paginate(int charHeight, int externalLeading, int averageCharWidth, int pageHeight);

    // What page `page` shows on a page `pageWidth` units wide: texts with
    // the top-left corners of their first cells, and the rules across the page.
    struct Text {
        int x = 0;
        int y = 0;
        std::string text;
    };
    struct Page {
        std::vector<Text> texts;
        std::vector<int> rules;  // y of each horizontal rule
    };
    Page LayOutPage(int page, int pageWidth) const;

    void SetClock(Clock clock) { clock_ = std::move(clock); }

    const LinesDoc& Document;
    QFont Font;                // the view's font until printing begins, then the printer's
    const QWidget* Window;
    int HeaderLines;           // kHeaderLines or 0
    int LeftMargin = 0;        // in average character widths
    int PageCount = 0;
    int LinesPerPage = 0;
    int LineHeight = 0;        // printer units
    int CharWidth = 0;         // printer units, one cell
    printing::PrintDate Date;
    printing::PrintTime Time;

private:
    // The view's font, kept for every new start (a preview begins again
    // whenever its page set-up changes).
    QFont view_font_;
    std::optional<CellGrid> grid_;  // the printer's font, once printing begins
    Clock clock_ = LocalNow;
};
