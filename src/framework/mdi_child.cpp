#include "framework/mdi_child.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace fw {

MdiChild::MdiChild(QWidget* client, QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (client) {
        setWidget(client);
        client->installEventFilter(this);
    }
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
        QWidget* client = widget();
        if (auto* query = dynamic_cast<CloseQuery*>(client)) {
            may_close_ = query->CanClose();
        } else if (client) {
            // The client's closeEvent is its question; asking it this way
            // closes nothing yet.
            QCloseEvent ask;
            QCoreApplication::sendEvent(client, &ask);
            may_close_ = ask.isAccepted();
        } else {
            may_close_ = true;
        }
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

bool MdiChild::eventFilter(QObject* watched, QEvent* event)
{
    // The close that follows an answered question goes through unasked.
    if (watched == widget() && event->type() == QEvent::Close && may_close_) {
        event->accept();
        return true;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

} // namespace fw
