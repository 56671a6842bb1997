#include "app/tool_bar.h"

#include "app/tool_icons.h"
#include "framework/mdi_frame.h"
#include "resources/command_ids.h"
#include "resources/strings.h"

#include <QAction>
#include <QLayout>
#include <QToolBar>

namespace toolbar {

QToolBar* Build(fw::MdiFrame& frame)
{
    auto* bar = new QToolBar(QStringLiteral("Toolbar"), &frame);
    bar->setObjectName(QStringLiteral("toolBar%1").arg(cmd::Number(cmd::kOptionsToolBar)));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    // Buttons side by side without gaps: the whole bar, vertical too, then
    // fits the frame's default size.
    bar->layout()->setSpacing(0);
    // The tool bar is moved by cmd::kToolBarPosition only; its context menu would
    // offer to hide it behind the Options menu's back.
    bar->toggleViewAction()->setVisible(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);

    if (!frame.Action(cmd::kToolBarPosition)) {
        auto* position = new QAction(QStringLiteral("Tool bar position"), &frame);
        position->setStatusTip(QString::fromLatin1(strings::Text(cmd::kToolBarPosition)));
        frame.RegisterAction(cmd::kToolBarPosition, position);
    }
    for (const cmd::Command id : kGadgets) {
        if (id == cmd::kNone) {
            bar->addSeparator();
            continue;
        }
        QAction* action = frame.Action(id);
        if (!action) continue;
        action->setIcon(ToolIcon(id));
        bar->addAction(action);
    }
    frame.SetToolBar(bar);
    return bar;
}

} // namespace toolbar
