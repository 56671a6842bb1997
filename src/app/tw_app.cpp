#include "app/tw_app.h"

#include "app/about_dlg.h"
#include "app/app_frame_services.h"
#include "app/main_win.h"
#include "app/open_dlog.h"
#include "app/status_fields.h"
#include "app/tool_bar.h"
#include "app/tool_icons.h"
#include "base/full_path.h"
#include "framework/file_filter.h"
#include "framework/frame_services.h"
#include "framework/mdi_child.h"
#include "resources/command_ids.h"
#include "settings/setting_schema.h"
#include "settings/settings_path.h"

#include <QApplication>
#include <QMdiArea>
#include <QStatusBar>
#include <QToolBar>

namespace {

TWApp* g_instance = nullptr;

} // namespace

TWApp::TWApp(const char* name, int arg_count, char** arg_v)
    : name_(name), arg_count_(arg_count), arg_v_(arg_v), services_(std::make_unique<AppFrameServices>(*this))
{
    g_instance = this;
    fw::InstallFrameServices(services_.get());
}

TWApp::~TWApp()
{
    // Views that go down with the frame may still call the frame services;
    // they find no frame then.
    MainWin* frame = frame_;
    frame_ = nullptr;
    tool_bar_ = nullptr;
    fields_ = nullptr;
    delete frame;
    if (g_instance == this) {
        g_instance = nullptr;
        fw::InstallFrameServices(nullptr);
    }
}

TWApp* TWApp::Instance()
{
    return g_instance;
}

int TWApp::Run()
{
    InitMainWindow();
    InitInstance();
    return QApplication::exec();
}

const fw::CommandTable& TWApp::Commands()
{
    static const fw::CommandTable table(nullptr, {
        fw::On(cmd::kFileNew, &TWApp::CmNew),
        fw::On(cmd::kFileOpen, &TWApp::CmOpen),
        fw::On(cmd::kFileGrep, &TWApp::CmGrep),
        fw::On(cmd::kFileLineCount, &TWApp::CmLineCount),
        fw::On(cmd::kFileExtensions, &TWApp::CmExtensions),
        fw::On(cmd::kHelpAbout, &TWApp::CmAbout),
        fw::On(cmd::kToolBarPosition, &TWApp::CmToolBarPosition),
    });
    return table;
}

void TWApp::InitMainWindow()
{
    frame_ = new MainWin(QString::fromStdString(name_));
    frame_->SetApplicationTarget(this);
    frame_->setWindowIcon(AppIcon());
    QApplication::setWindowIcon(AppIcon());

    tool_bar_location_ = setting::kToolBarPlace.Read(SettingsPath());
    tool_bar_ = toolbar::Build(*frame_);
    PlaceToolBar(tool_bar_location_);

    fields_ = new StatusFields(frame_->statusBar());

    frame_->UpdateCommandStates();
}

void TWApp::InitInstance()
{
    frame_->SetupWindow();
    if (setting::kFrameMaximised.Read(SettingsPath()))
        frame_->showMaximized();
    else
        frame_->show();
    for (int i = 1; i <= arg_count_; ++i)
        if (arg_v_ && arg_v_[i]) OpenText(arg_v_[i], false);
}

QMdiArea* TWApp::Client() const
{
    return frame_ ? frame_->Client() : nullptr;
}

QWidget* TWApp::OpenText(const std::string& path, bool reuse)
{
    return Open(path, reuse, ViewKind::Text);
}

QWidget* TWApp::OpenHex(const std::string& path, bool reuse)
{
    return Open(path, reuse, ViewKind::Hex);
}

QWidget* TWApp::Open(const std::string& given, bool reuse, ViewKind kind)
{
    if (!frame_) return nullptr;
    // Paths are kept absolute: the file dialogs change the current directory,
    // and a relative path in the recent-file list would then name another file.
    const std::string path = FullPath(given);
    fw::MdiChild* found = nullptr;
    if (reuse) {
        for (fw::MdiChild* child : frame_->ChildrenFromActive()) {
            const auto* view = dynamic_cast<const DocumentView*>(child->widget());
            if (view && view->Kind() == kind && view->DocumentPath() == path) found = child;
        }
    }
    QWidget* shown = nullptr;
    if (found) {
        frame_->Client()->setActiveSubWindow(found);
        if (found->isMinimized()) found->showNormal();
        shown = found->widget();
    } else if (QWidget* view = MakeView(kind, path)) {
        fw::MdiChild* child = frame_->AddChild(view);
        child->setWindowIcon(DocumentIcon());
        shown = view;
    }
    frame_->AddRecentFile(path);
    return shown;
}

void TWApp::CmNew()
{
    OpenText(std::string(), false);
}

void TWApp::CmOpen()
{
    file_data_.file_name.clear();
    file_data_.filter = BuildFilter();
    // Selected counts the file types from 0, the dialog's filters from 1;
    // it is read each time, since the File Extensions dialog may change it.
    file_data_.filter_index = setting::kSelectedFileType.Read(SettingsPath()) + 1;
    OpenDlog dialog(frame_, file_data_);
    if (!dialog.Execute()) return;
    if (dialog.HexDump() == 1)
        OpenHex(file_data_.file_name, false);
    else
        OpenText(file_data_.file_name, false);
    const std::string& name = file_data_.file_name;
    const auto slash = name.rfind('/');
    const std::string ini = SettingsPath();
    if (slash != std::string::npos) setting::kOpenFolder.Write(slash == 0 ? "/" : name.substr(0, slash), ini);
    setting::kSelectedFileType.Write(file_data_.filter_index - 1, ini);
}

void TWApp::OpenSearchWindow(SearchWindowKind kind)
{
    if (!frame_) return;
    QWidget* window = MakeSearchWindow(kind);
    if (!window) return;
    fw::MdiChild* child = frame_->AddChild(window, QSize(cmd::kSearchWindowWidth, cmd::kSearchWindowHeight));
    child->setWindowTitle(kind == SearchWindowKind::Grep ? QStringLiteral("Grep Options")
                                                         : QStringLiteral("Line Count Options"));
    child->setWindowIcon(SearchWindowIcon());
}

void TWApp::CmGrep()
{
    OpenSearchWindow(SearchWindowKind::Grep);
}

void TWApp::CmLineCount()
{
    OpenSearchWindow(SearchWindowKind::LineCount);
}

void TWApp::CmExtensions()
{
    RunExtensions(frame_);
}

void TWApp::CmAbout()
{
    AboutDlg dialog(frame_);
    dialog.exec();
}

void TWApp::PlaceToolBar(int location)
{
    if (!frame_ || !tool_bar_) return;
    Qt::ToolBarArea area = Qt::TopToolBarArea;
    if (location == 1) area = Qt::LeftToolBarArea;
    if (location == 2) area = Qt::RightToolBarArea;
    const bool hidden = tool_bar_->isHidden();  // shown or hidden by cmd::kOptionsToolBar
    frame_->removeToolBar(tool_bar_);
    frame_->addToolBar(area, tool_bar_);
    tool_bar_->setOrientation(area == Qt::TopToolBarArea ? Qt::Horizontal : Qt::Vertical);
    tool_bar_->setVisible(!hidden);
    frame_->FitToScreen();  // a vertical bar may need a taller frame
}

void TWApp::CmToolBarPosition()
{
    tool_bar_location_ = ((tool_bar_location_ + 1) % 3 + 3) % 3;
    PlaceToolBar(tool_bar_location_);
    setting::kToolBarPlace.Write(tool_bar_location_, SettingsPath());
}
