#include "framework/mdi_child.h"

#include <QCloseEvent>

namespace fw {

MdiChild::MdiChild(QWidget* client, QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (client) setWidget(client);
}

const CommandTable& MdiChild::Commands()
{
    return EmptyCommandTable();
}

CommandTarget* MdiChild::ClientTarget() const
{
    return dynamic_cast<CommandTarget*>(widget());
}

bool MdiChild::CanClose()
{
    if (!may_close_) {
        auto* query = dynamic_cast<CloseQuery*>(widget());
        may_close_ = !query || query->CanClose();
    }
    return may_close_;
}

void MdiChild::closeEvent(QCloseEvent* event)
{
    if (!CanClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted()) may_close_ = false;  // asked again next time
}

} // namespace fw
