#include "print/document_print.h"

#include "docs/lines_doc.h"
#include "framework/frame_services.h"
#include "print/print_job.h"
#include "print/tw_printout.h"
#include "resources/strings.h"

#include <QPrinter>

namespace {

// What the user hears of a print job that printed nothing it should have.
void ReportPrintResult(PrintResult result, const TWPrintout& printout, const QPrinter& printer, const QString& failure)
{
    const QByteArray name = printer.docName().toLocal8Bit();
    const QString where =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
    if (result == PrintResult::kNoPage && printout.LinesPerPage < 1) {
        ShowMessage(strings::kPrintNothingFits, fw::kMbOk | fw::kMbIconExclamation, name.constData());
    } else if (result == PrintResult::kNoPage && printout.PageCount > 0) {
        ShowMessage(strings::kPrintNoPageChosen, fw::kMbOk | fw::kMbIconExclamation, name.constData(),
                    printout.PageCount);
    } else if (result == PrintResult::kFailed && !failure.isEmpty()) {
        ShowMessage(strings::kPrintNotWritten, fw::kMbOk | fw::kMbIconStop, name.constData(),
                    where.toLocal8Bit().constData(), failure.toLocal8Bit().constData());
    } else if (result == PrintResult::kFailed) {
        ShowMessage(strings::kPrintFailed, fw::kMbOk | fw::kMbIconStop, name.constData(),
                    where.toLocal8Bit().constData());
    }
}

} // namespace

void Print(const LinesDoc& document, const QWidget* view, const QFont& font)
{
    QPrinter& printer = FramePrinter();
    PreparePrinter(printer, document.FileName());
    TWPrintout printout(document.GetTitle(), document, view, font, true);
    QString failure;
    const PrintResult result = PrintWithDialog(printer, printout, FrameWindow(), &failure);
    ReportPrintResult(result, printout, printer, failure);
}

void PrintPreview(const LinesDoc& document, const QWidget* view, const QFont& font)
{
    QPrinter& printer = FramePrinter();
    PreparePrinter(printer, document.FileName());
    TWPrintout printout(document.GetTitle(), document, view, font, true);
    QString failure;
    const PrintResult result = PreviewWithDialog(printer, printout, FrameWindow(), &failure);
    ReportPrintResult(result, printout, printer, failure);
}
