// Real PDF files printed headless and read back with the poppler tools
// (pdfinfo, pdftotext), and the page loop's stops.
#include "print/print_job.h"
#include "print/tw_printout.h"

#include "docs/hex_doc.h"
#include "docs/lines_doc.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

// Standard output of a shell command, or nothing when it failed.
std::string RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    return ::pclose(pipe) == 0 ? out : std::string();
}

int PdfPages(const std::string& path)
{
    const std::string info = RunCommand("pdfinfo '" + path + "'");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

std::string PdfPageText(const std::string& path, int page)
{
    const std::string n = std::to_string(page);
    return RunCommand("pdftotext -layout -f " + n + " -l " + n + " '" + path + "' -");
}

// The text with every run of blanks made one space: pdftotext guesses the
// width of a gap between words.
std::string Squeezed(const std::string& text)
{
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t';
        if (blank && !out.empty() && out.back() == ' ') continue;
        out.push_back(blank ? ' ' : c);
    }
    return out;
}

// The text without the blanks and line ends around it.
std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n\f");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n\f") - first + 1);
}

// The left edge of the first word `word` on page 1, in points; -1 if absent.
double WordLeft(const std::string& path, const std::string& word)
{
    const std::string html = RunCommand("pdftotext -bbox -f 1 -l 1 '" + path + "' -");
    const auto at = html.find(">" + word + "</word>");
    if (at == std::string::npos) return -1;
    const auto open = html.rfind("xMin=\"", at);
    return open == std::string::npos ? -1 : std::stod(html.substr(open + 6));
}

struct PdfOutput : ::testing::Test {
    void SetUp() override
    {
        ASSERT_FALSE(RunCommand("command -v pdftotext && command -v pdfinfo").empty())
            << "pdftotext and pdfinfo (Debian poppler-utils) are needed: scripts/install-deps.sh";
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(QString::fromStdString(pdf));
        font.setPixelSize(13);
    }

    static void FixedClock(printing::PrintDate& date, printing::PrintTime& time)
    {
        date = {2023, 12, 31};
        time = {7, 5, 9};
    }

    TempTree tree;
    std::string pdf = tree.Path("out.pdf");
    QPrinter printer{QPrinter::HighResolution};
    QFont font{"Courier New"};
};

TEST_F(PdfOutput, TwoPagesForOneLineMoreThanAPageHoldsWithHeadersAndTheirLines)
{
    LinesDoc doc("/home/user/report.txt");
    // How many lines a page holds with this font and paper.
    TWPrintout probe(doc.GetTitle(), doc, nullptr, font, true);
    probe.BeginPrinting(printer);
    const int perPage = probe.LinesPerPage;
    ASSERT_GT(perPage, 10);
    char line[64];
    for (int i = 1; i <= perPage + 1; ++i) {
        std::snprintf(line, sizeof line, "row %04d\tafter a tab", i);
        doc.InsertLine(doc.LineCount(), line);
    }

    TWPrintout printout(doc.GetTitle(), doc, nullptr, font, true);
    printout.SetClock(FixedClock);
    std::vector<int> shown;
    EXPECT_EQ(PrintPages(printer, printout, [&](int page) {
                  shown.push_back(page);
                  return true;
              }),
              PrintResult::kPrinted);
    EXPECT_EQ(shown, (std::vector<int>{1, 2}));
    ASSERT_EQ(PdfPages(pdf), 2);

    const std::string first = Squeezed(PdfPageText(pdf, 1));
    const std::string second = Squeezed(PdfPageText(pdf, 2));
    for (const std::string& text : {first, second}) {
        EXPECT_NE(text.find("REPORT.TXT"), std::string::npos) << text;
        EXPECT_NE(text.find("12/31/2023 - 7:05:09"), std::string::npos) << text;
    }
    EXPECT_NE(first.find("Page 1"), std::string::npos);
    EXPECT_NE(second.find("Page 2"), std::string::npos);
    std::snprintf(line, sizeof line, "row %04d", perPage);
    EXPECT_NE(first.find("row 0001 after a tab"), std::string::npos) << first;
    // The tab after the eight cells of "row 0001" reaches column 12.
    const double row = WordLeft(pdf, "row");
    const double cell = (WordLeft(pdf, "0001") - row) / 4;
    ASSERT_GT(cell, 0);
    EXPECT_NEAR((WordLeft(pdf, "after") - row) / cell, 12.0, 0.05);
    EXPECT_NE(first.find(line), std::string::npos);
    EXPECT_EQ(second.find(line), std::string::npos);
    std::snprintf(line, sizeof line, "row %04d", perPage + 1);
    EXPECT_EQ(first.find(line), std::string::npos);
    EXPECT_NE(second.find(line), std::string::npos);
    EXPECT_EQ(second.find("row 0001"), std::string::npos);
}

TEST_F(PdfOutput, AHexWindowPrintsItsDumpRows)
{
    const std::string file = tree.Write("data.bin", std::string("Hello, printer!\n\x01\x02", 18));
    HexDoc doc(file);
    ASSERT_TRUE(doc.Load());
    TWPrintout printout(doc.GetTitle(), doc, nullptr, font, true);
    EXPECT_EQ(PrintPages(printer, printout), PrintResult::kPrinted);
    ASSERT_EQ(PdfPages(pdf), 1);
    const std::string text = PdfPageText(pdf, 1);
    EXPECT_NE(text.find("DATA.BIN"), std::string::npos) << text;
    EXPECT_NE(text.find("00000000"), std::string::npos) << text;
    EXPECT_NE(text.find("48 65 6C 6C 6F 2C 20 70"), std::string::npos) << text;
    EXPECT_NE(text.find("Hello, printer!."), std::string::npos) << text;
    EXPECT_NE(text.find("00000010"), std::string::npos) << text;
}

TEST_F(PdfOutput, NothingReachesThePrinterForAnEmptyDocumentOrAFontTooLargeForThePage)
{
    LinesDoc empty("empty.txt");
    TWPrintout none(empty.GetTitle(), empty, nullptr, font, true);
    EXPECT_EQ(PrintPages(printer, none), PrintResult::kNoPage);
    EXPECT_FALSE(std::filesystem::exists(pdf));

    LinesDoc doc("big.txt");
    doc.InsertLine(0, "x");
    QFont huge("Courier New");
    huge.setPixelSize(400);  // over four inches high
    TWPrintout crowded(doc.GetTitle(), doc, nullptr, huge, true);
    EXPECT_EQ(PrintPages(printer, crowded), PrintResult::kNoPage);
    EXPECT_LT(crowded.LinesPerPage, 1);
    EXPECT_EQ(crowded.PageCount, 0);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

// Counts the pages it is asked to draw.
class CountingPrintout : public Printout {
public:
    explicit CountingPrintout(int pages) : Printout("COUNT"), pages_(pages) {}
    void BeginPrinting(const QPaintDevice&) override { ++begun; }
    bool HasPage(int page) const override { return page >= 1 && page <= pages_; }
    void PrintPage(int page, QPainter& painter) override
    {
        drawn.push_back(page);
        painter.drawText(100, 100, QString::number(page));
    }
    void EndPrinting() override { ++ended; }

    int begun = 0;
    int ended = 0;
    std::vector<int> drawn;

private:
    int pages_;
};

TEST_F(PdfOutput, BeginsOnceAndACancelStopsAfterThePageInHand)
{
    CountingPrintout all(3);
    EXPECT_EQ(PrintPages(printer, all), PrintResult::kPrinted);
    EXPECT_EQ(all.begun, 1);
    EXPECT_EQ(all.ended, 1);
    EXPECT_EQ(all.drawn, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(PdfPages(pdf), 3);

    CountingPrintout stopped(5);
    // The user cancels while page 2 prints: page 3 is never drawn.
    EXPECT_EQ(PrintPages(printer, stopped, [](int page) { return page <= 2; }),
              PrintResult::kCancelled);
    EXPECT_EQ(stopped.drawn, (std::vector<int>{1, 2}));
    EXPECT_EQ(stopped.ended, 1);
}

TEST_F(PdfOutput, AnOutputFileThatCannotBeWrittenFails)
{
    printer.setOutputFileName(QString::fromStdString(tree.Path("no/such/dir/out.pdf")));
    CountingPrintout printout(1);
    EXPECT_EQ(PrintPages(printer, printout), PrintResult::kFailed);
    EXPECT_TRUE(printout.drawn.empty());
}

// The file system takes at most `bytes` bytes of any file this process
// writes while it lives (a write beyond fails with EFBIG).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }

private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

// A file system that runs out of room (a full disk, a file size limit)
// fails the job with the reason; a plain file left cut off is removed, a
// device stays. The printer prints the next job whole.
TEST_F(PdfOutput, AnOutputFileThatCannotBeWrittenToTheEndFailsWithTheReason)
{
    for (const bool limited : {false, true}) {
        SCOPED_TRACE(limited ? "file size limit" : "/dev/full");
        const std::string cut = tree.Path("cut.pdf");
        printer.setOutputFileName(QString::fromStdString(limited ? cut : "/dev/full"));
        CountingPrintout printout(200);
        QString failure;
        PrintResult result;
        {
            std::optional<FileSizeLimit> limit;
            if (limited) limit.emplace(4096);
            result = PrintPages(printer, printout, {}, &failure);
        }
        EXPECT_EQ(result, PrintResult::kFailed);
        EXPECT_EQ(failure, limited ? "File too large" : "No space left on device");
        EXPECT_FALSE(std::filesystem::exists(cut));
        EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));

        printer.setOutputFileName(QString::fromStdString(pdf));
        CountingPrintout next(3);
        failure.clear();
        EXPECT_EQ(PrintPages(printer, next, {}, &failure), PrintResult::kPrinted);
        EXPECT_TRUE(failure.isEmpty());
        ASSERT_EQ(PdfPages(pdf), 3);
        EXPECT_EQ(Trimmed(PdfPageText(pdf, 3)), "3");
        std::filesystem::remove(pdf);
    }
}

// The range chosen in the print dialog is what prints, and a PDF holds
// the copies and the page order chosen; a range past the last page prints
// nothing and leaves the file alone.
TEST_F(PdfOutput, OnlyThePagesOfTheChosenRangePrintInTheOrderChosen)
{
    struct Case {
        int from, to;
        PrintResult result;
        std::vector<int> drawn;
        int copies = 1;
        bool collate = true;
        bool reverse = false;
    } cases[] = {
        {2, 2, PrintResult::kPrinted, {2}},
        {2, 9, PrintResult::kPrinted, {2, 3}},
        {4, 6, PrintResult::kNoPage, {}},
        {0, 0, PrintResult::kPrinted, {1, 2, 3}},  // no range: every page
        {2, 3, PrintResult::kPrinted, {3, 3, 2, 2}, 2, false, true},
        {1, 2, PrintResult::kPrinted, {1, 2, 1, 2}, 2, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + "-" + std::to_string(c.to) + " x" + std::to_string(c.copies));
        std::filesystem::remove(pdf);
        printer.setPrintRange(c.from > 0 ? QPrinter::PageRange : QPrinter::AllPages);
        printer.setFromTo(c.from, c.to);
        printer.setCopyCount(c.copies);
        printer.setCollateCopies(c.collate);
        printer.setPageOrder(c.reverse ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        CountingPrintout printout(3);
        EXPECT_EQ(PrintPages(printer, printout), c.result);
        EXPECT_EQ(printout.drawn, c.drawn);
        if (c.drawn.empty()) {
            EXPECT_FALSE(std::filesystem::exists(pdf));
            continue;
        }
        ASSERT_EQ(PdfPages(pdf), static_cast<int>(c.drawn.size()));
        for (std::size_t i = 0; i < c.drawn.size(); ++i)
            EXPECT_EQ(Trimmed(PdfPageText(pdf, static_cast<int>(i) + 1)), std::to_string(c.drawn[i]));
    }
    // A new job starts with every page chosen.
    PreparePrinter(printer, "/src/next.txt");
    EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
    EXPECT_TRUE(printer.pageRanges().isEmpty());
}

TEST(PreparePrinter, APdfIsNamedAfterTheDocumentInTheDirectoryTheLastOneWentTo)
{
    QPrinter printer;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer set up: the output becomes a PDF file in the home directory.
        PreparePrinter(printer, "/src/notes.txt");
        EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
        EXPECT_EQ(printer.outputFileName(), QDir::home().filePath("notes.pdf"));
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("/out/pdfs/first.pdf");
    PreparePrinter(printer, "/src/report.v2.txt");
    EXPECT_EQ(printer.docName(), "report.v2.txt");
    EXPECT_EQ(printer.outputFileName(), "/out/pdfs/report.v2.pdf");
    PreparePrinter(printer, "");
    EXPECT_EQ(printer.docName(), "untitled");
    EXPECT_EQ(printer.outputFileName(), "/out/pdfs/untitled.pdf");
}

} // namespace
