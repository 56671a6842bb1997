#include "framework/mdi_frame.h"

#include "framework/child_placement.h"
#include "framework/mdi_child.h"
#include "resources/command_ids.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMenu>
#include <QStyle>
#include <QMetaMethod>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace fw {

MdiFrame::MdiFrame(QWidget* parent) : QMainWindow(parent), client_(new QMdiArea(this))
{
    client_->setObjectName("mdiClient");
    // Closing the active child activates the one used before it.
    client_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(client_);
    statusBar();  // created now so hints have a place from the start

    connect(client_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window) WatchChild(window);
        UpdateCommandStates();
    });
    connect(qApp, &QApplication::focusChanged, this, [this] { RequestCommandStateRefresh(); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { RequestCommandStateRefresh(); });
    connect(&CommandHub::Instance(), &CommandHub::stateChanged, this,
            [this] { RequestCommandStateRefresh(); });
}

MdiFrame::~MdiFrame()
{
    // The children die after this part of the frame; nothing they signal
    // on the way may reach it.
    updating_ = true;
    actions_.clear();
    QObject::disconnect(client_, nullptr, this, nullptr);
    QObject::disconnect(qApp, nullptr, this, nullptr);
    QObject::disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    QObject::disconnect(&CommandHub::Instance(), nullptr, this, nullptr);
    // Closed children wait for their deletion outside the window list.
    for (QMdiSubWindow* child : client_->findChildren<QMdiSubWindow*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

const CommandTable& MdiFrame::Commands()
{
    static const CommandTable table(nullptr, {
        On(cmd::kFileExit, &MdiFrame::CmExit),
        On(cmd::kOptionsStatusBar, &MdiFrame::CmToggleStatusBar),
        On(cmd::kOptionsToolBar, &MdiFrame::CmToggleToolBar),
        On(cmd::kWindowCascade, &MdiFrame::CmCascade, &MdiFrame::HasChild),
        On(cmd::kWindowTileVertical, &MdiFrame::CmTileVertical, &MdiFrame::HasChild),
        On(cmd::kWindowTileHorizontal, &MdiFrame::CmTileHorizontal, &MdiFrame::HasChild),
        On(cmd::kWindowArrangeIcons, &MdiFrame::CmArrangeIcons, &MdiFrame::HasChild),
        On(cmd::kWindowCloseAll, &MdiFrame::CmCloseAll, &MdiFrame::HasChild),
    });
    return table;
}

MdiChild* MdiFrame::ActiveChild() const
{
    return qobject_cast<MdiChild*>(client_->activeSubWindow());
}

std::vector<MdiChild*> MdiFrame::ChildrenFromActive() const
{
    // Stacking order runs from the bottom to the top; the active child is on
    // top, so walking it backwards starts at the active one.
    const QList<QMdiSubWindow*> stack = client_->subWindowList(QMdiArea::StackingOrder);
    std::vector<MdiChild*> children;
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if (auto* child = qobject_cast<MdiChild*>(*it)) children.push_back(child);
    if (MdiChild* active = ActiveChild()) {
        const auto pos = std::find(children.begin(), children.end(), active);
        if (pos != children.end()) std::rotate(children.begin(), pos, children.end());
    }
    return children;
}

MdiChild* MdiFrame::AddChild(QWidget* client, QSize initial_size)
{
    const MdiChild* active = ActiveChild();
    const bool maximised = active && active->isMaximized();
    const int open = static_cast<int>(client_->subWindowList().size());
    auto* child = new MdiChild(client);
    client_->addSubWindow(child);
    WatchChild(child);
    connect(child, &QObject::destroyed, this, [this] { RequestCommandStateRefresh(); });
    const QSize space = client_->viewport()->size();
    // Default size: three quarters of the client area, as a fresh document
    // window would get on a classic MDI desktop.
    if (!initial_size.isValid()) initial_size = space * 3 / 4;
    // Never smaller than its contents need: a window whose controls outgrow
    // its usual size would otherwise open with them drawn over each other.
    initial_size = initial_size.expandedTo(child->minimumSizeHint());
    if (space.width() > 0 && space.height() > 0) {
        // Wholly inside the client area (a larger window shrinks, so that
        // its buttons show), cascading from the top-left corner.
        const int step = child->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, child);
        const QRect slot = CascadeSlot(space, initial_size, open, step);
        child->resize(slot.size());
        child->move(slot.topLeft());
    } else if (initial_size.isValid()) {
        child->resize(initial_size);
    }
    if (maximised)
        child->showMaximized();
    else
        child->show();
    client_->setActiveSubWindow(child);
    UpdateCommandStates();
    return child;
}

CommandChain MdiFrame::Chain() const
{
    CommandChain chain;
    if (MdiChild* child = ActiveChild()) {
        chain.push_back(child->ClientTarget());
        chain.push_back(child);
    }
    chain.push_back(const_cast<MdiFrame*>(this));
    chain.push_back(app_target_);
    return chain;
}

bool MdiFrame::Execute(cmd::Command id)
{
    const bool handled = RouteCommand(Chain(), id);
    UpdateCommandStates();
    return handled;
}

bool MdiFrame::IsCommandEnabled(cmd::Command id) const
{
    return CommandEnabledAlong(Chain(), id);
}

void MdiFrame::RegisterAction(cmd::Command id, QAction* action)
{
    actions_[id] = action;
    action->setEnabled(IsCommandEnabled(id));
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
}

QAction* MdiFrame::Action(cmd::Command id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MdiFrame::RequestCommandStateRefresh()
{
    if (refresh_requested_ || updating_) return;
    refresh_requested_ = true;
    QTimer::singleShot(0, this, [this] {
        refresh_requested_ = false;
        UpdateCommandStates();
    });
}

void MdiFrame::UpdateCommandStates()
{
    if (updating_) return;
    updating_ = true;
    const CommandChain chain = Chain();
    for (const auto& [id, action] : actions_)
        action->setEnabled(CommandEnabledAlong(chain, id));
    if (QAction* status = Action(cmd::kOptionsStatusBar))
        status->setChecked(!statusBar()->isHidden());
    if (QAction* tools = Action(cmd::kOptionsToolBar))
        tools->setChecked(tool_bar_ && !tool_bar_->isHidden());
    updating_ = false;
}

void MdiFrame::WatchChild(QMdiSubWindow* window)
{
    QWidget* client = window->widget();
    if (!client || client->property("tarnwickWatched").toBool()) return;
    client->setProperty("tarnwickWatched", true);
    const QMetaObject* meta = client->metaObject();
    const int signal = meta->indexOfSignal("commandStateChanged()");
    if (signal < 0) return;
    const int slot = metaObject()->indexOfSlot("UpdateCommandStatesSlot()");
    if (slot < 0) return;
    QObject::connect(client, meta->method(signal), this, metaObject()->method(slot));
}

void MdiFrame::UpdateCommandStatesSlot()
{
    RequestCommandStateRefresh();
}

void MdiFrame::CmExit()
{
    close();
}

void MdiFrame::CmToggleStatusBar()
{
    statusBar()->setVisible(statusBar()->isHidden());
}

void MdiFrame::CmToggleToolBar()
{
    if (tool_bar_) tool_bar_->setVisible(tool_bar_->isHidden());
}

void MdiFrame::CmCascade()
{
    client_->cascadeSubWindows();
}

namespace {

// Lays the normal (not minimised) children out in equal strips: side by
// side when `columns`, otherwise one above the other.
void Tile(QMdiArea* area, bool columns)
{
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder))
        if (!w->isMinimized() && !w->isHidden()) windows.push_back(w);
    if (windows.empty()) return;
    const QRect space = area->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized()) w->showNormal();
        if (columns) {
            const int x0 = space.width() * i / n, x1 = space.width() * (i + 1) / n;
            w->setGeometry(x0, 0, x1 - x0, space.height());
        } else {
            const int y0 = space.height() * i / n, y1 = space.height() * (i + 1) / n;
            w->setGeometry(0, y0, space.width(), y1 - y0);
        }
    }
}

} // namespace

void MdiFrame::CmTileVertical()
{
    Tile(client_, true);
}

void MdiFrame::CmTileHorizontal()
{
    Tile(client_, false);
}

void MdiFrame::CmArrangeIcons()
{
    // Minimised children in a row along the bottom edge, left to right.
    const QRect space = client_->viewport()->rect();
    int x = 0, y = space.bottom();
    for (QMdiSubWindow* w : client_->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized()) continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > space.width()) {
            x = 0;
            y -= size.height();
        }
        w->move(x, y - size.height() + 1);
        x += size.width();
    }
}

void MdiFrame::AttachWindowList(QMenu* menu)
{
    window_menu_ = menu;
    connect(menu, &QMenu::aboutToShow, this, [this] { RebuildWindowList(); });
}

void MdiFrame::RebuildWindowList()
{
    if (!window_menu_) return;
    for (QAction* action : window_list_) {
        window_menu_->removeAction(action);
        delete action;
    }
    window_list_.clear();
    const QList<QMdiSubWindow*> children = client_->subWindowList(QMdiArea::CreationOrder);
    if (children.isEmpty()) return;
    window_list_.push_back(window_menu_->addSeparator());
    int number = 0;
    for (QMdiSubWindow* child : children) {
        ++number;
        QString title = child->windowTitle();
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        const QString text = number <= 9 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                         : QStringLiteral("%1 %2").arg(number).arg(title);
        QAction* action = window_menu_->addAction(text);
        action->setCheckable(true);
        action->setChecked(child == client_->activeSubWindow());
        const QPointer<QMdiSubWindow> target(child);
        connect(action, &QAction::triggered, this, [this, target] {
            if (!target) return;
            if (target->isMinimized()) target->showNormal();
            client_->setActiveSubWindow(target);
        });
        window_list_.push_back(action);
    }
}

bool MdiFrame::CloseChildren()
{
    const std::vector<MdiChild*> children = ChildrenFromActive();
    for (MdiChild* child : children) {
        if (!child->CanClose()) {
            for (MdiChild* asked : children) asked->ForgetCloseAnswer();
            return false;
        }
    }
    for (MdiChild* child : children) child->close();
    return true;
}

void MdiFrame::CmCloseAll()
{
    CloseChildren();
}

bool MdiFrame::HasChild() const
{
    return !client_->subWindowList().isEmpty();
}

} // namespace fw
