#include "app/frame_services.h"

#include "app/file_filter.h"
#include "app/main_win.h"
#include "app/status_fields.h"
#include "app/tw_app.h"
#include "docs/lines_doc.h"
#include "print/print_job.h"
#include "print/tw_printout.h"
#include "resources/strings.h"
#include "settings/settings_path.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>

#include <cstdarg>
#include <cstdio>

namespace {

constexpr std::size_t kMessageLimit = 511;

MainWin* Frame()
{
    TWApp* app = TWApp::Instance();
    return app ? app->Frame() : nullptr;
}

// What the user hears of a print job that printed nothing it should have.
void ReportPrintResult(PrintResult result, const TWPrintout& printout, const QPrinter& printer)
{
    const QByteArray name = printer.docName().toLocal8Bit();
    if (result == PrintResult::kNoPage && printout.LinesPerPage < 1) {
        ShowMessage(strings::kPrintNothingFits, fw::kMbOk | fw::kMbIconExclamation, name.constData());
    } else if (result == PrintResult::kFailed) {
        const QString where = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                             : printer.printerName();
        ShowMessage(strings::kPrintFailed, fw::kMbOk | fw::kMbIconStop, name.constData(),
                    where.toLocal8Bit().constData());
    }
}

} // namespace

int ShowMessage(int id, unsigned style, ...)
{
    char text[kMessageLimit + 1];
    va_list args;
    va_start(args, style);
    std::vsnprintf(text, sizeof text, strings::Text(id), args);
    va_end(args);
    fw::MessageRequest request;
    request.owner = Frame();
    request.text = QString::fromLocal8Bit(text);
    request.caption = QString::fromLatin1(strings::Text(strings::kAppName));
    request.style = style;
    return fw::ShowMessageBox(request);
}

bool OpenText(const std::string& path, bool reuse)
{
    TWApp* app = TWApp::Instance();
    return app && app->OpenText(path, reuse);
}

bool OpenHex(const std::string& path, bool reuse)
{
    TWApp* app = TWApp::Instance();
    return app && app->OpenHex(path, reuse);
}

std::string BuildFilter()
{
    const std::string settings = SettingsPath();
    EnterFilterDirectory(settings);
    return BuildFilterText(settings);
}

void AddRecentFile(const std::string& path)
{
    if (MainWin* frame = Frame()) frame->AddRecentFile(path);
}

void SetCaretPosition(long line, long line_count, int column)
{
    TWApp* app = TWApp::Instance();
    if (app && app->Fields()) app->Fields()->SetCaretPosition(line, line_count, column);
}

void SetOvertypeIndicator(bool overtype)
{
    TWApp* app = TWApp::Instance();
    if (app && app->Fields()) app->Fields()->SetOvertype(overtype);
}

QWidget* FrameWindow()
{
    return Frame();
}

QMdiSubWindow* ActiveChild()
{
    MainWin* frame = Frame();
    return frame ? frame->Client()->activeSubWindow() : nullptr;
}

QWidget* ActiveView()
{
    QMdiSubWindow* child = ActiveChild();
    return child ? child->widget() : nullptr;
}

QPrinter& FramePrinter()
{
    if (MainWin* frame = Frame()) return frame->Printer();
    static QPrinter spare;  // no frame (a view on its own)
    return spare;
}

void Print(const LinesDoc& document, const QWidget* view, const QFont& font)
{
    QPrinter& printer = FramePrinter();
    PreparePrinter(printer, document.FileName());
    TWPrintout printout(document.GetTitle(), document, view, font, true);
    ReportPrintResult(PrintWithDialog(printer, printout, FrameWindow()), printout, printer);
}

void PrintPreview(const LinesDoc& document, const QWidget* view, const QFont& font)
{
    QPrinter& printer = FramePrinter();
    PreparePrinter(printer, document.FileName());
    TWPrintout printout(document.GetTitle(), document, view, font, true);
    ReportPrintResult(PreviewWithDialog(printer, printout, FrameWindow()), printout, printer);
}
