#include "framework/frame_services.h"

#include "framework/grep_hit_view.h"
#include "resources/strings.h"

#include <QMdiSubWindow>
#include <QPrinter>


namespace {

fw::FrameServices* g_services = nullptr;

} // namespace

void fw::InstallFrameServices(FrameServices* services)
{
    g_services = services;
}

int ShowMessageText(const std::string& text, unsigned style)
{
    fw::MessageRequest request;
    request.owner = FrameWindow();
    request.text = QString::fromLocal8Bit(text);
    request.caption = QString::fromLatin1(strings::Text(strings::kAppName));
    request.style = style;
    return fw::ShowMessageBox(request);
}

QWidget* OpenText(const std::string& path, bool reuse)
{
    return g_services ? g_services->OpenText(path, reuse) : nullptr;
}

QWidget* OpenHex(const std::string& path, bool reuse)
{
    return g_services ? g_services->OpenHex(path, reuse) : nullptr;
}

GrepHitView* OpenHitView(const std::string& path, bool reuse)
{
    return dynamic_cast<GrepHitView*>(OpenText(path, reuse));
}

void AddRecentFile(const std::string& path)
{
    if (g_services) g_services->AddRecentFile(path);
}

void SetCaretPosition(long line, long line_count, int column)
{
    if (g_services) g_services->SetCaretPosition(line, line_count, column);
}

void SetOvertypeIndicator(bool overtype)
{
    if (g_services) g_services->SetOvertypeIndicator(overtype);
}

void SetLoadProgress(int percent)
{
    if (g_services) g_services->SetLoadProgress(percent);
}

QWidget* FrameWindow()
{
    return g_services ? g_services->Window() : nullptr;
}

QMdiSubWindow* ActiveChild()
{
    return g_services ? g_services->ActiveChild() : nullptr;
}

QWidget* ActiveView()
{
    QMdiSubWindow* child = ActiveChild();
    return child ? child->widget() : nullptr;
}

QPrinter& FramePrinter()
{
    if (QPrinter* printer = g_services ? g_services->Printer() : nullptr) return *printer;
    static QPrinter spare;  // no frame (a view on its own)
    return spare;
}
