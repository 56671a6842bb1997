#pragma once
// The main frame: an MDI frame with the recent-file list at the end of the
// File menu, dropped files, Preferences, its placement in the settings file
// and the can-close question.

#include "app/recent_file_list.h"
#include "framework/mdi_frame.h"

#include <QPrinter>

#include <memory>
#include <string>

class QMenu;

class MainWin : public fw::MdiFrame {
    Q_OBJECT
public:
    // Caption, the main menu (menu::MainMenu), placement from MainWin/X, Y, W, H.
    explicit MainWin(const QString& caption);
    ~MainWin() override;

    static const fw::CommandTable& Commands();
    const fw::CommandTable& commandTable() const override { return Commands(); }

    // Window set-up: loads the recent files, accepts dropped files and
    // fits the frame to the screen.
    void SetupWindow();

    // The frame's minimum size (room for the whole tool bar) applied, and
    // its placement brought wholly onto the screen, title bar included.
    void FitToScreen();
    QSize MinimumFrameSize() const;

    void AddRecentFile(const std::string& path);
    const RecentFileList& RecentFiles() const { return recent_; }
    QMenu* FileMenu() const { return file_menu_; }

    // Writes the recent files and the placement, then asks every child.
    bool CanClose();

    QPrinter& Printer();

    void CmRecentFile(cmd::Command id);
    void CmPreferences();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenu();
    void RebuildRecentItems();
    void SavePlacement();

    RecentFileList recent_;
    QMenu* file_menu_ = nullptr;
    QAction* recent_separator_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    bool framed_ = false;  // shown once, so the window manager's frame is known
};
