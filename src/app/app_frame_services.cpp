#include "app/app_frame_services.h"

#include "app/main_win.h"
#include "app/status_fields.h"
#include "app/tw_app.h"

#include <QMdiArea>
#include <QMdiSubWindow>

QWidget* AppFrameServices::Window()
{
    return app_.Frame();
}

QWidget* AppFrameServices::OpenText(const std::string& path, bool reuse)
{
    return app_.OpenText(path, reuse);
}

QWidget* AppFrameServices::OpenHex(const std::string& path, bool reuse)
{
    return app_.OpenHex(path, reuse);
}

void AppFrameServices::AddRecentFile(const std::string& path)
{
    if (MainWin* frame = app_.Frame()) frame->AddRecentFile(path);
}

void AppFrameServices::SetCaretPosition(long line, long line_count, int column)
{
    if (StatusFields* fields = app_.Fields()) fields->SetCaretPosition(line, line_count, column);
}

void AppFrameServices::SetOvertypeIndicator(bool overtype)
{
    if (StatusFields* fields = app_.Fields()) fields->SetOvertype(overtype);
}

void AppFrameServices::SetLoadProgress(int percent)
{
    if (StatusFields* fields = app_.Fields()) fields->SetLoadProgress(percent);
}

QMdiSubWindow* AppFrameServices::ActiveChild()
{
    MainWin* frame = app_.Frame();
    return frame ? frame->Client()->activeSubWindow() : nullptr;
}

QPrinter* AppFrameServices::Printer()
{
    MainWin* frame = app_.Frame();
    return frame ? &frame->Printer() : nullptr;
}
