#include "print/print_job.h"

#include "framework/byte_text.h"
#include "print/output_file.h"
#include "print/page_layout.h"
#include "print/printout.h"
#include "resources/command_ids.h"
#include "resources/format_text.h"
#include "resources/strings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageRanges>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

#include <algorithm>
#include <vector>

namespace {

QString Caption(int id)
{
    return QString::fromLatin1(strings::Text(id));
}

// String `id` formatted with one argument.
template <class T>
QString Format(int id, const T& value)
{
    return QString::fromLocal8Bit(strings::Format(id, value));
}

// Where the pages go, as the progress dialog names it.
QString Destination(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) return printer.outputFileName();
    return printer.printerName();
}

using GoOn = std::function<bool(int page)>;

// What the print dialog chose for a job: the pages (none: every page),
// and where the printer does not make them itself (a PDF file), the copies
// and their order.
struct JobOrder {
    QPageRanges chosen;
    int copies = 1;
    bool collate = true;
    bool reverse = false;
};

JobOrder OrderOf(const QPrinter& printer, bool own_copies)
{
    JobOrder order;
    if (printer.printRange() == QPrinter::PageRange) order.chosen = printer.pageRanges();
    if (own_copies) {
        order.copies = printer.copyCount();
        order.collate = printer.collateCopies();
        order.reverse = printer.pageOrder() == QPrinter::LastPageFirst;
    }
    return order;
}

// The chosen pages that exist, in ascending order.
std::vector<int> ChosenPages(const Printout& printout, const QPageRanges& chosen)
{
    std::vector<int> pages;
    for (int page = chosen.isEmpty() ? 1 : std::max(1, chosen.firstPage()); printout.HasPage(page); ++page) {
        if (chosen.isEmpty() || chosen.contains(page)) pages.push_back(page);
        if (!chosen.isEmpty() && page >= chosen.lastPage()) break;
    }
    return pages;
}

// The page loop on `device`. `open` readies the output once a page is
// known to come; `printer`, when the device is one, can withdraw a
// cancelled job and report its own failure.
PrintResult DrawPages(QPagedPaintDevice& device, Printout& printout, const JobOrder& order, const GoOn& goOn,
                      const std::function<bool()>& open, QPrinter* printer)
{
    printout.BeginPrinting(device);
    const std::vector<int> pages =
        printing::PrintSequence(ChosenPages(printout, order.chosen), order.copies, order.collate, order.reverse);
    QPainter painter;
    if (pages.empty() || (open && !open()) || !painter.begin(&device)) {
        printout.EndPrinting();
        return pages.empty() ? PrintResult::kNoPage : PrintResult::kFailed;
    }
    bool cancelled = false;
    bool failed = false;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (goOn && !goOn(pages[i])) {
            cancelled = true;
            break;
        }
        if (i > 0 && !device.newPage()) {
            failed = true;
            break;
        }
        printout.PrintPage(pages[i], painter);
    }
    // A printer that cannot withdraw the job keeps the pages sent so far.
    if (cancelled && printer) printer->abort();
    painter.end();
    printout.EndPrinting();
    if (cancelled) return PrintResult::kCancelled;
    if (failed || (printer && printer->printerState() == QPrinter::Error)) return PrintResult::kFailed;
    return PrintResult::kPrinted;
}

// A PDF job: the pages go through a writer of its own into a file it
// opened itself, which tells whether every byte arrived.
PrintResult PrintToPdf(const QPrinter& printer, Printout& printout, const GoOn& goOn, QString* failure)
{
    OutputFile file(printer.outputFileName());
    QPdfWriter writer(&file);
    writer.setPdfVersion(printer.pdfVersion());
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    writer.setTitle(printer.docName());
    writer.setCreator(printer.creator());
    const PrintResult result = DrawPages(
        writer, printout, OrderOf(printer, true), goOn, [&file] { return file.Open(); }, nullptr);
    if (result == PrintResult::kNoPage) return result;
    if (file.Finish() && result != PrintResult::kFailed) return result;
    if (failure) *failure = file.Reason();
    // A PDF cut off is no PDF; a device (or a link) in its place stays.
    const QFileInfo info(file.Path());
    if (file.Opened() && info.isFile() && !info.isSymLink()) QFile::remove(file.Path());
    return PrintResult::kFailed;
}

// The preview draws through the printer with an engine that records the
// pages; printing from the preview hands over the printer itself.
bool DrawsPreview(QPrinter& printer)
{
    const QPaintEngine* engine = printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

} // namespace

PrintResult PrintPages(QPrinter& printer, Printout& printout, const GoOn& goOn, QString* failure)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return PrintToPdf(printer, printout, goOn, failure);
    return DrawPages(printer, printout, OrderOf(printer, !printer.supportsMultipleCopies()), goOn, {}, &printer);
}

void PreparePrinter(QPrinter& printer, const std::string& fileName)
{
    const QFileInfo file(QString::fromLocal8Bit(fileName.c_str()));
    const QString name = file.fileName().isEmpty() ? Caption(strings::kPrintDefaultName) : file.fileName();
    printer.setDocName(name);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    if (printer.outputFormat() == QPrinter::NativeFormat && QPrinterInfo::availablePrinters().isEmpty())
        printer.setOutputFormat(QPrinter::PdfFormat);
    if (printer.outputFormat() != QPrinter::PdfFormat) return;
    const QString last = printer.outputFileName();
    const QString directory = last.isEmpty() ? QDir::homePath() : QFileInfo(last).absolutePath();
    const QString base = file.completeBaseName().isEmpty() ? name : file.completeBaseName();
    printer.setOutputFileName(QDir(directory).filePath(base + QStringLiteral(".pdf")));
}

PrintResult PrintWithDialog(QPrinter& printer, Printout& printout, QWidget* parent, QString* failure)
{
    QPrintDialog dialog(&printer, parent);
    // Offered is what the job prints: every page or a range, not the
    // selection nor the current page.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return PrintResult::kCancelled;

    QProgressDialog progress(parent);
    progress.setObjectName(QStringLiteral("id%1").arg(cmd::kPrintingDialog));
    progress.setWindowTitle(Caption(strings::kPrintingCaption));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setRange(0, 0);  // the page count is known only once printing begins
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const QString title = bytetext::ToQString(printout.Title());
    const QString destination = Format(strings::kPrintingOn, Destination(printer).toLocal8Bit().constData());
    const auto showPage = [&](int page) {
        if (progress.wasCanceled()) return false;
        progress.setLabelText(title + QLatin1Char('\n') + Format(strings::kPrintingPage, page) +
                              QLatin1Char('\n') + destination);
        progress.show();
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
    return PrintPages(printer, printout, showPage, failure);
}

PrintResult PreviewWithDialog(QPrinter& printer, Printout& printout, QWidget* parent, QString* failure)
{
    printout.BeginPrinting(printer);
    if (!printout.HasPage(1)) return PrintResult::kNoPage;
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(Format(strings::kPreviewCaption, printout.Title().c_str()));
    PrintResult result = PrintResult::kPrinted;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        if (DrawsPreview(*target))
            DrawPages(*target, printout, JobOrder{}, {}, {}, nullptr);
        else if (PrintPages(*target, printout, {}, failure) == PrintResult::kFailed)
            result = PrintResult::kFailed;
    });
    dialog.exec();
    return result;
}
