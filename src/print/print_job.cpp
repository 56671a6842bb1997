#include "print/print_job.h"

#include "framework/byte_text.h"
#include "print/printout.h"
#include "resources/command_ids.h"
#include "resources/strings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

#include <cstdio>

namespace {

QString Caption(int id)
{
    return QString::fromLatin1(strings::Text(id));
}

// String `id` formatted with one argument (printf rules).
template <class T>
QString Format(int id, T value)
{
    char text[512];
    std::snprintf(text, sizeof text, strings::Text(id), value);
    return QString::fromLocal8Bit(text);
}

// Where the pages go, as the progress dialog names it.
QString Destination(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) return printer.outputFileName();
    return printer.printerName();
}

} // namespace

PrintResult PrintPages(QPrinter& printer, Printout& printout, const std::function<bool(int page)>& goOn)
{
    printout.BeginPrinting(printer);
    if (!printout.HasPage(1)) {
        printout.EndPrinting();
        return PrintResult::kNoPage;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        printout.EndPrinting();
        return PrintResult::kFailed;
    }
    bool cancelled = false;
    for (int page = 1; printout.HasPage(page); ++page) {
        if (goOn && !goOn(page)) {
            cancelled = true;
            break;
        }
        if (page > 1 && !printer.newPage()) break;
        printout.PrintPage(page, painter);
    }
    // A printer that cannot withdraw the job keeps the pages sent so far.
    if (cancelled) printer.abort();
    painter.end();
    printout.EndPrinting();
    if (cancelled) return PrintResult::kCancelled;
    return printer.printerState() == QPrinter::Error ? PrintResult::kFailed : PrintResult::kPrinted;
}

void PreparePrinter(QPrinter& printer, const std::string& fileName)
{
    const QFileInfo file(QString::fromLocal8Bit(fileName.c_str()));
    const QString name = file.fileName().isEmpty() ? Caption(strings::kPrintDefaultName) : file.fileName();
    printer.setDocName(name);
    if (printer.outputFormat() == QPrinter::NativeFormat && QPrinterInfo::availablePrinters().isEmpty())
        printer.setOutputFormat(QPrinter::PdfFormat);
    if (printer.outputFormat() != QPrinter::PdfFormat) return;
    const QString last = printer.outputFileName();
    const QString directory = last.isEmpty() ? QDir::homePath() : QFileInfo(last).absolutePath();
    const QString base = file.completeBaseName().isEmpty() ? name : file.completeBaseName();
    printer.setOutputFileName(QDir(directory).filePath(base + QStringLiteral(".pdf")));
}

PrintResult PrintWithDialog(QPrinter& printer, Printout& printout, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
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
    return PrintPages(printer, printout, showPage);
}

PrintResult PreviewWithDialog(QPrinter& printer, Printout& printout, QWidget* parent)
{
    printout.BeginPrinting(printer);
    if (!printout.HasPage(1)) return PrintResult::kNoPage;
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(Format(strings::kPreviewCaption, printout.Title().c_str()));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&printout](QPrinter* target) { PrintPages(*target, printout); });
    dialog.exec();
    return PrintResult::kPrinted;
}
