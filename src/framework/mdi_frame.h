#pragma once
// The decorated MDI frame: a QMainWindow around a QMdiArea, with a status bar
// that shows the hints of menu items and tool-bar buttons. It keeps one
// QAction per command id and routes every command along
//   active child's client -> active MDI child -> frame -> application target
// enabling each action from the same lookup. Its own table holds the
// framework commands: Exit, status bar and tool bar toggles, and the Window
// menu (cascade, tile, arrange icons, close all).

#include "framework/command_routing.h"
#include "framework/command_table.h"
#include "resources/command_ids.h"

#include <QMainWindow>
#include <QSize>

#include <map>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace fw {

class MdiChild;

class MdiFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit MdiFrame(QWidget* parent = nullptr);
    ~MdiFrame() override;

    static const CommandTable& Commands();
    const CommandTable& commandTable() const override { return Commands(); }

    QMdiArea* Client() const { return client_; }
    MdiChild* ActiveChild() const;
    // Every MDI child once, starting at the active one, in the client's order.
    std::vector<MdiChild*> ChildrenFromActive() const;
    // Adds a child for `client`, maximised when the active child is, and
    // shows it; `initial_size` (when valid) is its size in normal state.
    MdiChild* AddChild(QWidget* client, QSize initial_size = QSize());

    // Asks every child whether it may close (its client's question); only
    // when all agree are they closed. False when one refused.
    bool CloseChildren();

    // The last target of the chain (the application object).
    void SetApplicationTarget(CommandTarget* target) { app_target_ = target; }
    CommandChain Chain() const;

    // Runs a command along the chain (what menu items and buttons do).
    bool Execute(cmd::Command id);
    bool IsCommandEnabled(cmd::Command id) const;

    // Registers the action that stands for `id`; triggering it executes id.
    void RegisterAction(cmd::Command id, QAction* action);
    QAction* Action(cmd::Command id) const;
    // Refreshes the enabled state of every registered action now.
    void UpdateCommandStates();
    // Refreshes them once the events waiting now are handled: however many
    // changes ask for it meanwhile (a Replace All makes one per
    // replacement), the rules are evaluated once.
    void RequestCommandStateRefresh();

    // The popup that lists the open children below its own items (each
    // numbered, the active one checked; choosing one activates it),
    // brought up to date each time it opens.
    void AttachWindowList(QMenu* menu);
    void RebuildWindowList();

    // The tool bar that cmd::kOptionsToolBar shows and hides.
    void SetToolBar(QToolBar* bar) { tool_bar_ = bar; }
    QToolBar* ToolBar() const { return tool_bar_; }

protected:
    void CmExit();
    void CmToggleStatusBar();
    void CmToggleToolBar();
    void CmCascade();
    void CmTileVertical();
    void CmTileHorizontal();
    void CmArrangeIcons();
    void CmCloseAll();
    bool HasChild() const;

private slots:
    void UpdateCommandStatesSlot();

private:
    void WatchChild(QMdiSubWindow* window);

    QMdiArea* client_;
    QToolBar* tool_bar_ = nullptr;
    QMenu* window_menu_ = nullptr;
    std::vector<QAction*> window_list_;
    CommandTarget* app_target_ = nullptr;
    std::map<cmd::Command, QAction*> actions_;
    bool updating_ = false;
    bool refresh_requested_ = false;
};

} // namespace fw
