#pragma once
// The application object: builds the frame with its tool bar and status bar,
// opens the files named on the command line, and handles the commands of
// the application (New, Open, Grep, Line Count, Extensions, About, tool-bar
// position). One exists for the whole run; a QApplication must exist first.

#include "framework/command_table.h"
#include "framework/file_filter.h"
#include "framework/window_factories.h"

#include <QObject>

#include <memory>
#include <string>

class AppFrameServices;
class MainWin;
class QMdiArea;
class QToolBar;
class StatusFields;

// The file dialog's data, shared by every File Open of the run.
struct FileDialogData {
    std::string file_name;
    FilterList filter;        // description and pattern of each file type
    int filter_index = 0;     // counted from 1 as the dialog reports it
};

class TWApp : public QObject, public fw::CommandTarget {
    Q_OBJECT
public:
    // `arg_count` arguments after the program name, found at arg_v[1..].
    // Installs the frame services for as long as it lives.
    TWApp(const char* name, int arg_count, char** arg_v);
    ~TWApp() override;

    // The running application object, or null.
    static TWApp* Instance();

    // InitMainWindow, show the frame, InitInstance, then the event loop.
    int Run();
    void InitMainWindow();
    void InitInstance();

    static const fw::CommandTable& Commands();
    const fw::CommandTable& commandTable() const override { return Commands(); }

    // The view shown (new or reused); null when none could be made.
    QWidget* OpenText(const std::string& path, bool reuse);
    QWidget* OpenHex(const std::string& path, bool reuse);

    MainWin* Frame() const { return frame_; }
    QMdiArea* Client() const;
    QToolBar* ToolBar() const { return tool_bar_; }
    StatusFields* Fields() const { return fields_; }

    // Command handlers (public so tests can drive them directly).
    void CmNew();
    void CmOpen();
    void CmGrep();
    void CmLineCount();
    void CmExtensions();
    void CmAbout();
    void CmToolBarPosition();

    // Places the tool bar at the edge of `location` (0 top, 1 left, 2 right;
    // other values put it at the top until the next move).
    void PlaceToolBar(int location);

private:
    QWidget* Open(const std::string& path, bool reuse, ViewKind kind);
    void OpenSearchWindow(SearchWindowKind kind);

    std::string name_;
    FileDialogData file_data_;
    MainWin* frame_ = nullptr;
    QToolBar* tool_bar_ = nullptr;
    StatusFields* fields_ = nullptr;
    int tool_bar_location_ = 0;
    int arg_count_;
    char** arg_v_;
    std::unique_ptr<AppFrameServices> services_;
};
