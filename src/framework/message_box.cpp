#include "framework/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace fw {
namespace {

MessageHook& Hook()
{
    static MessageHook hook;
    return hook;
}

QMessageBox::Icon IconOf(unsigned style)
{
    switch (style & 0xF0) {
    case kMbIconStop: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconExclamation: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(unsigned style)
{
    switch (style & 0x0F) {
    case kMbOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case kMbYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kMbYesNo: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

int AnswerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes: return kIdYes;
    case QMessageBox::No: return kIdNo;
    case QMessageBox::Cancel: return kIdCancel;
    default: return kIdOk;
    }
}

} // namespace

int ShowMessageBox(const MessageRequest& request)
{
    if (Hook()) return Hook()(request);
    QApplication::beep();
    QString text = request.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(IconOf(request.style), request.caption, text, ButtonsOf(request.style),
                    request.owner);
    if (QAbstractButton* yes = box.button(QMessageBox::Yes); yes && !request.yes_text.isEmpty())
        yes->setText(request.yes_text);
    if (QAbstractButton* no = box.button(QMessageBox::No); no && !request.no_text.isEmpty())
        no->setText(request.no_text);
    if (!request.details.isEmpty()) {
        QString details = request.details;
        details.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        box.setDetailedText(details);
    }
    return AnswerOf(box.exec());
}

MessageHook SetMessageHook(MessageHook hook)
{
    MessageHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

} // namespace fw
