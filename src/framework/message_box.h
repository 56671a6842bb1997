#pragma once
// Message boxes with the style flags and answers of the program's classic
// message box, met by QMessageBox. Tests install a hook that answers instead
// of showing a window.

#include <QString>

#include <functional>

class QWidget;

namespace fw {

// Style flags: one button set, optionally ORed with one icon.
enum MessageStyle : unsigned {
    kMbOk = 0x00,
    kMbOkCancel = 0x01,
    kMbYesNoCancel = 0x03,
    kMbYesNo = 0x04,
    kMbIconStop = 0x10,         // error
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,  // warning
    kMbIconInformation = 0x40,
};

// Answers (the button that closed the box).
enum MessageAnswer : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdYes = 6,
    kIdNo = 7,
};

struct MessageRequest {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    unsigned style = kMbOk;
    QString details;  // when not empty, behind the box's Show Details button
    // When not empty, the words on the Yes and No buttons ("Reload", "Keep
    // Mine"); the answers stay kIdYes and kIdNo.
    QString yes_text;
    QString no_text;
};

// Shows the box (a carriage return in the text is a line break) after the
// beep of its icon; returns the answer. With a hook installed the hook
// answers instead and nothing is shown.
int ShowMessageBox(const MessageRequest& request);

using MessageHook = std::function<int(const MessageRequest&)>;
// Installs a hook (empty: none) and returns the previous one.
MessageHook SetMessageHook(MessageHook hook);

} // namespace fw
