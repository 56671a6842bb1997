// The document printout: pagination from measured sizes, the header on
// every page, body lines with tabs expanded, font scaling to the printer.
#include "print/tw_printout.h"

#include "docs/lines_doc.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using printing::PrintDate;
using printing::PrintTime;

// A clock that moves on a second at every reading.
struct TickingClock {
    int readings = 0;
    void operator()(PrintDate& date, PrintTime& time)
    {
        date = {2024, 3, 7};
        time = {9, 5, readings++};
    }
};

void Fill(LinesDoc& doc, int count)
{
    for (int i = 0; i < count; ++i) doc.InsertLine(doc.LineCount(), "line " + std::to_string(i));
}

// Line height 10 (8 + 0 + 2), cells 6 wide, page 1000 high: 94 body lines.
void Paginate(TWPrintout& printout)
{
    printout.Paginate(8, 0, 6, 1000);
}

std::vector<std::string> BodyOf(const TWPrintout::Page& page, int headerTexts = 3)
{
    std::vector<std::string> body;
    for (std::size_t i = headerTexts; i < page.texts.size(); ++i) body.push_back(page.texts[i].text);
    return body;
}

TEST(TWPrintout, AFullPageIsOnePageAndOneLineMoreMakesASecondWithThatLine)
{
    LinesDoc doc("/data/notes.txt");
    Fill(doc, 94);
    TWPrintout printout(doc.GetTitle(), doc, nullptr, QFont(), true);
    Paginate(printout);
    EXPECT_EQ(printout.LineHeight, 10);
    EXPECT_EQ(printout.LinesPerPage, 94);
    EXPECT_EQ(printout.PageCount, 1);
    EXPECT_FALSE(printout.HasPage(0));
    EXPECT_TRUE(printout.HasPage(1));
    EXPECT_FALSE(printout.HasPage(2));
    EXPECT_EQ(BodyOf(printout.LayOutPage(1, 600)).size(), 94u);

    doc.InsertLine(doc.LineCount(), "the last line");
    Paginate(printout);
    EXPECT_EQ(printout.PageCount, 2);
    EXPECT_TRUE(printout.HasPage(2));
    EXPECT_FALSE(printout.HasPage(3));
    const TWPrintout::Page second = printout.LayOutPage(2, 600);
    EXPECT_EQ(BodyOf(second), std::vector<std::string>{"the last line"});
    // Below the empty top line and the three header lines.
    EXPECT_EQ(second.texts.back().y, 40);
    EXPECT_EQ(BodyOf(printout.LayOutPage(1, 600)).back(), "line 93");
}

TEST(TWPrintout, EveryPageHasTheHeaderWithTheDateAndTimePrintingBegan)
{
    LinesDoc doc("/data/notes.txt");
    Fill(doc, 300);
    TWPrintout printout(doc.GetTitle(), doc, nullptr, QFont(), true);
    TickingClock clock;
    printout.SetClock(std::ref(clock));
    Paginate(printout);
    ASSERT_EQ(printout.PageCount, 4);
    for (int n = 1; n <= 4; ++n) {
        const TWPrintout::Page page = printout.LayOutPage(n, 1000);
        ASSERT_GE(page.texts.size(), 3u) << n;
        EXPECT_EQ(page.texts[0].text, "NOTES.TXT");
        EXPECT_EQ(page.texts[0].x, 0);
        EXPECT_EQ(page.texts[0].y, 10);
        const std::string label = "Page " + std::to_string(n);
        EXPECT_EQ(page.texts[1].text, label);
        EXPECT_EQ(page.texts[1].x, 1000 - int(label.size()) * 6 - 1);
        EXPECT_EQ(page.texts[1].y, 10);
        EXPECT_EQ(page.texts[2].text, "3/7/2024 -  9:05:00") << n;
        EXPECT_EQ(page.texts[2].x, 1000 - 19 * 6 - 1);
        EXPECT_EQ(page.texts[2].y, 20);
        // The double rule around the third header line's middle.
        EXPECT_EQ(page.rules, (std::vector<int>{29, 31}));
        EXPECT_EQ(page.texts[3].y, 40);
        EXPECT_EQ(page.texts[3].text, "line " + std::to_string((n - 1) * 94));
    }
    EXPECT_EQ(clock.readings, 1);
}

TEST(TWPrintout, WithoutTheHeaderTheBodyStartsBelowTheEmptyTopLine)
{
    LinesDoc doc("/data/notes.txt");
    Fill(doc, 100);
    TWPrintout printout(doc.GetTitle(), doc, nullptr, QFont(), false);
    Paginate(printout);
    EXPECT_EQ(printout.LinesPerPage, 97);
    const TWPrintout::Page page = printout.LayOutPage(1, 1000);
    EXPECT_TRUE(page.rules.empty());
    ASSERT_EQ(page.texts.size(), 97u);
    EXPECT_EQ(page.texts[0].text, "line 0");
    EXPECT_EQ(page.texts[0].y, 10);
}

TEST(TWPrintout, TabsExpandAtTheDocumentsTabWidth)
{
    LinesDoc doc("t.txt");
    doc.InsertLine(0, "a\tbc\td");
    doc.InsertLine(1, "\tx");
    TWPrintout printout(doc.GetTitle(), doc, nullptr, QFont(), true);
    doc.SetTabSize(4);
    Paginate(printout);
    EXPECT_EQ(BodyOf(printout.LayOutPage(1, 600)), (std::vector<std::string>{"a   bc  d", "    x"}));
    doc.SetTabSize(8);
    EXPECT_EQ(BodyOf(printout.LayOutPage(1, 600)),
              (std::vector<std::string>{"a       bc      d", "        x"}));
}

TEST(TWPrintout, AnEmptyDocumentAndAPageWithoutRoomHaveNoPage)
{
    LinesDoc empty("empty.txt");
    TWPrintout none(empty.GetTitle(), empty, nullptr, QFont(), true);
    Paginate(none);
    EXPECT_EQ(none.PageCount, 0);
    EXPECT_FALSE(none.HasPage(1));

    LinesDoc doc("big.txt");
    Fill(doc, 10);
    TWPrintout crowded(doc.GetTitle(), doc, nullptr, QFont(), true);
    crowded.Paginate(150, 0, 90, 1000);  // six lines of 152 on the page
    EXPECT_LT(crowded.LinesPerPage, 1);
    EXPECT_EQ(crowded.PageCount, 0);
    EXPECT_FALSE(crowded.HasPage(1));
    EXPECT_TRUE(BodyOf(crowded.LayOutPage(1, 1000)).empty());
}

TEST(TWPrintout, TheViewFontIsScaledFromTheScreenToThePrinter)
{
    QImage printer(400, 4000, QImage::Format_RGB32);
    printer.setDotsPerMeterX(23622);  // 600 dots per inch
    printer.setDotsPerMeterY(23622);
    ASSERT_EQ(printer.logicalDpiY(), 600);
    QWidget view;
    const int screen = view.logicalDpiY();

    QFont font("Courier New");
    font.setPixelSize(16);
    font.setBold(true);
    font.setItalic(true);
    LinesDoc doc("a.txt");
    Fill(doc, 3);
    TWPrintout printout(doc.GetTitle(), doc, &view, font, true);
    printout.BeginPrinting(printer);
    EXPECT_EQ(printout.Font.pixelSize(), 16 * 600 / screen);
    if (screen == 96) {
        EXPECT_EQ(printout.Font.pixelSize(), 100);
    }
    EXPECT_TRUE(printout.Font.bold());
    EXPECT_FALSE(printout.Font.italic());
    EXPECT_EQ(printout.Font.family(), font.family());
    EXPECT_GT(printout.CharWidth, 0);
    EXPECT_GT(printout.LineHeight, printout.Font.pixelSize());
    EXPECT_EQ(printout.LinesPerPage, 4000 / printout.LineHeight - 6);
    EXPECT_EQ(printout.PageCount, 1);

    // A second start (a preview drawn again) scales the view's font again,
    // not the printer's.
    printout.BeginPrinting(printer);
    EXPECT_EQ(printout.Font.pixelSize(), 16 * 600 / screen);
}

// The rightmost inked pixel column in the rows [top, top + height), or -1.
int RightmostInk(const QImage& page, int top, int height)
{
    int right = -1;
    for (int y = std::max(top, 0); y < std::min(top + height, page.height()); ++y)
        for (int x = page.width() - 1; x > right; --x)
            if (qGray(page.pixel(x, y)) < 128) right = x;
    return right;
}

// A bar after four cells of any text lands in the same printed column: wide
// characters take two cells, combining marks none, control codes and broken
// bytes one each.
TEST(TWPrintout, EveryCharacterKeepsItsCellsSoColumnsLineUpAfterAnyText)
{
    const std::vector<std::string> lines = {
        "    |",
        "abcd|",
        "\xE6\xBC\xA2\xE5\xAD\x97|",               // two wide characters
        "e\xCC\x81" "e\xCC\x81" "e\xCC\x81" "e\xCC\x81|",  // four letters with combining accents
        std::string("a\0\x01\xFF|", 5),               // NUL, a control code, a broken byte
    };
    LinesDoc doc("cells.txt");
    for (const std::string& line : lines) doc.InsertLine(doc.LineCount(), line);

    QImage page(400, 1200, QImage::Format_RGB32);
    page.setDotsPerMeterX(3780);  // 96 dots per inch
    page.setDotsPerMeterY(3780);
    page.fill(Qt::white);
    QFont font("Courier New");
    font.setPixelSize(16);
    TWPrintout printout(doc.GetTitle(), doc, nullptr, font, false);
    printout.BeginPrinting(page);
    ASSERT_TRUE(printout.HasPage(1));
    {
        QPainter painter(&page);
        printout.PrintPage(1, painter);
    }
    const TWPrintout::Page layout = printout.LayOutPage(1, page.width());
    ASSERT_EQ(layout.texts.size(), lines.size());
    const int bar = RightmostInk(page, layout.texts[0].y, printout.LineHeight);
    ASSERT_GT(bar, layout.texts[0].x + 3 * printout.CharWidth);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(RightmostInk(page, layout.texts[i].y, printout.LineHeight), bar);
    }
}

} // namespace
