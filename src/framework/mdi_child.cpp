#include "framework/mdi_child.h"

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

} // namespace fw
