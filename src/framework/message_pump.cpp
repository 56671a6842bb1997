#include "framework/message_pump.h"

#include <QCoreApplication>

void PumpWaitingMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
