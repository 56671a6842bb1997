#include "app/main_win.h"

#include "app/menu_path.h"
#include "app/placement.h"
#include "framework/byte_text.h"
#include "framework/frame_services.h"
#include "framework/mdi_child.h"
#include "framework/window_factories.h"
#include "resources/command_ids.h"
#include "resources/menu_resource.h"
#include "resources/strings.h"
#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"
#include "settings/settings_path.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <QUrl>

#include <algorithm>
#include <vector>

namespace {

constexpr int kDroppedNameLimit = 511;

// The menu text without its mnemonic, ellipsis and shortcut label.
QString PlainText(const QString& text)
{
    QString plain = text.section(QLatin1Char('\t'), 0, 0);
    plain.remove(QLatin1Char('&'));
    if (plain.endsWith(QLatin1String("..."))) plain.chop(3);
    return plain;
}

QList<QRect> ScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    return areas;
}

// The frame's smallest size: room for the menus and a little of the client.
constexpr QSize kBaseMinimum(320, 200);
// Until the window manager has framed the window its decoration is not
// known; this allowance covers the usual title bars and borders.
constexpr QMargins kAssumedDecoration(8, 40, 8, 8);

} // namespace

MainWin::MainWin(const QString& caption)
{
    setWindowTitle(caption);
    setObjectName(QStringLiteral("MainWin"));
    BuildMenu();
    // Fitted before the window first takes a size: a stored 100000 by
    // 100000 would otherwise ask for gigabytes of window surface.
    const profile::Snapshot settings;
    const StoredPlacement stored{setting::kFrameX.Read(settings), setting::kFrameY.Read(settings),
                                 setting::kFrameWidth.Read(settings), setting::kFrameHeight.Read(settings)};
    const QRect shown = FitPlacement(stored, kAssumedDecoration, kBaseMinimum, ScreenAreas());
    move(shown.topLeft());
    resize(shown.size());
}

MainWin::~MainWin() = default;

const fw::CommandTable& MainWin::Commands()
{
    static const fw::CommandTable table = [] {
        std::vector<fw::CommandEntry> entries;
        for (int i = 0; cmd::IsRecentFile(cmd::RecentFile(i)); ++i)
            entries.push_back(fw::OnId(cmd::RecentFile(i), &MainWin::CmRecentFile));
        entries.push_back(fw::On(cmd::kOptionsPreferences, &MainWin::CmPreferences));
        return fw::CommandTable(&fw::MdiFrame::Commands(), std::move(entries));
    }();
    return table;
}

void MainWin::BuildMenu()
{
    for (const menu::Popup& popup : menu::MainMenu()) {
        QMenu* qmenu = menuBar()->addMenu(QString::fromLatin1(popup.title));
        if (!file_menu_) file_menu_ = qmenu;
        connect(qmenu, &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
        if (!popup.items.empty() && popup.items.front().id == cmd::kWindowCascade) AttachWindowList(qmenu);
        for (const menu::Item& item : popup.items) {
            if (item.id == cmd::kNone) {
                qmenu->addSeparator();
                continue;
            }
            QString text = QString::fromLatin1(item.text);
            if (*item.label) text += QLatin1Char('\t') + QString::fromLatin1(item.label);
            auto* action = new QAction(text, this);
            action->setObjectName(QStringLiteral("action%1").arg(cmd::Number(item.id)));
            action->setStatusTip(QString::fromLatin1(strings::Text(item.id)));
            action->setToolTip(PlainText(text));
            QList<QKeySequence> keys;
            for (const char* key : item.keys) keys << QKeySequence(QString::fromLatin1(key));
            action->setShortcuts(keys);
            action->setIconVisibleInMenu(false);
            if (item.flags & menu::kStartsChecked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            action->setEnabled(!(item.flags & menu::kStartsDisabled));
            qmenu->addAction(action);
            RegisterAction(item.id, action);
        }
    }
}

void MainWin::SetupWindow()
{
    const profile::Snapshot settings;
    static_assert(setting::kRecentFiles.count.max == RecentFileList::kMaxEntries);
    const int count = setting::kRecentFiles.count.Read(settings);
    for (int n = count; n >= 1; --n) {
        const std::string path = setting::kRecentFiles.ReadItem(settings, n);
        if (!path.empty()) AddRecentFile(path);
    }
    setAcceptDrops(true);
    if (QToolBar* bar = ToolBar()) bar->installEventFilter(this);
    statusBar()->installEventFilter(this);
    FitToScreen();
}

QSize MainWin::MinimumFrameSize() const
{
    // The whole tool bar always fits: its position button is the only way
    // back from a vertical bar and must never hide behind an overflow arrow.
    QSize minimum = kBaseMinimum;
    const QToolBar* bar = ToolBar();
    if (bar && !bar->isHidden()) {
        const QSize full = bar->sizeHint();
        if (bar->orientation() == Qt::Vertical) {
            const int status = statusBar()->isHidden() ? 0 : statusBar()->sizeHint().height();
            minimum.setHeight(std::max(minimum.height(), full.height() + menuBar()->sizeHint().height() + status));
        } else {
            minimum.setWidth(std::max(minimum.width(), full.width()));
        }
    }
    return minimum;
}

void MainWin::FitToScreen()
{
    const QSize minimum = MinimumFrameSize();
    setMinimumSize(minimum);
    if (isMaximized() || isMinimized() || isFullScreen()) return;
    QMargins decoration = kAssumedDecoration;
    if (framed_) {
        const QRect outer = frameGeometry(), inner = geometry();
        decoration = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                              outer.bottom() - inner.bottom());
    }
    const StoredPlacement now{pos().x(), pos().y(), width(), height()};
    const QRect fitted = FitPlacement(now, decoration, minimum, ScreenAreas());
    if (fitted.topLeft() != pos()) move(fitted.topLeft());
    if (fitted.size() != size()) resize(fitted.size());
}

void MainWin::showEvent(QShowEvent* event)
{
    fw::MdiFrame::showEvent(event);
    // The window manager frames the window on its way to the screen; once
    // it shows, the real title bar is known and the frame is fitted again.
    if (!framed_ && windowHandle()) windowHandle()->installEventFilter(this);
}

bool MainWin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && !framed_ && windowHandle()->isExposed()) {
        framed_ = true;
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] { FitToScreen(); });
    } else if ((watched == ToolBar() || watched == statusBar()) &&
               (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        QTimer::singleShot(0, this, [this] { FitToScreen(); });
    }
    return fw::MdiFrame::eventFilter(watched, event);
}

void MainWin::AddRecentFile(const std::string& path)
{
    if (path.empty()) return;
    recent_.Add(path);
    RebuildRecentItems();
}

void MainWin::RebuildRecentItems()
{
    for (QAction* action : file_menu_->actions()) {
        const int number = action->property("recentId").toInt();
        if (number != 0 && cmd::IsRecentFile(static_cast<cmd::Command>(number))) {
            file_menu_->removeAction(action);
            delete action;
        }
    }
    if (recent_.Count() > 0 && !recent_separator_) recent_separator_ = file_menu_->addSeparator();
    for (int i = 0; i < recent_.Count(); ++i) {
        const cmd::Command id = cmd::RecentFile(i);
        // "&&" keeps an ampersand in a path from becoming a mnemonic.
        QString path = bytetext::FileNameToQString(ShortenPathForMenu(recent_.At(i)));
        path.replace(QLatin1Char('&'), QLatin1String("&&"));
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), file_menu_);
        action->setProperty("recentId", cmd::Number(id));
        action->setStatusTip(bytetext::FileNameToQString(recent_.At(i)));  // the whole path
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        file_menu_->addAction(action);
    }
}

void MainWin::CmRecentFile(cmd::Command id)
{
    const int position = cmd::Number(id) - cmd::Number(cmd::kRecentFileFirst);
    if (position < recent_.Count()) ::OpenText(recent_.At(position), true);
}

void MainWin::CmPreferences()
{
    if (!RunPreferences(this)) return;
    for (fw::MdiChild* child : ChildrenFromActive())
        if (auto* view = dynamic_cast<DocumentView*>(child->widget())) view->ReloadSettings();
}

bool MainWin::CanClose()
{
    const std::string ini = SettingsPath();
    setting::kRecentFiles.count.Write(recent_.Count(), ini);
    for (int i = 0; i < recent_.Count(); ++i)
        setting::kRecentFiles.WriteItem(i + 1, recent_.At(i), ini);
    SavePlacement();
    return CloseChildren();
}

void MainWin::SavePlacement()
{
    const std::string ini = SettingsPath();
    if (isMaximized()) {
        setting::kFrameMaximised.Write(true, ini);
        return;
    }
    if (isMinimized()) return;
    // The position is the frame's outer corner and the size its inner
    // size: what move() and resize() take back at the next start.
    setting::kFrameMaximised.Write(false, ini);
    setting::kFrameX.Write(pos().x(), ini);
    setting::kFrameY.Write(pos().y(), ini);
    setting::kFrameWidth.Write(width(), ini);
    setting::kFrameHeight.Write(height(), ini);
}

QPrinter& MainWin::Printer()
{
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void MainWin::closeEvent(QCloseEvent* event)
{
    if (CanClose())
        event->accept();
    else
        event->ignore();
}

void MainWin::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWin::dropEvent(QDropEvent* event)
{
    std::vector<std::string> names;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        const QByteArray name = url.toLocalFile().toLocal8Bit();
        if (name.isEmpty() || name.size() > kDroppedNameLimit) continue;
        names.push_back(name.toStdString());
    }
    event->acceptProposedAction();
    for (const std::string& name : names) ::OpenText(name, false);
}
