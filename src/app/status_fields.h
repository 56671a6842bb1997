#pragma once
// The status bar's own fields: the caret position (cmd::kCaretField) and the
// Caps Lock, Num Lock and Overtype indicators, right of the hint area.

#include "app/lock_keys.h"

#include <QObject>

class QKeyEvent;
class QLabel;
class QStatusBar;

class StatusFields : public QObject {
    Q_OBJECT
public:
    explicit StatusFields(QStatusBar* bar);

    void SetCaretPosition(long line, long line_count, int column);
    void SetOvertype(bool on);
    void SetCapsLock(bool on);
    void SetNumLock(bool on);

    QLabel* CaretField() const { return caret_; }
    QLabel* CapsIndicator() const { return caps_; }
    QLabel* NumIndicator() const { return num_; }
    QLabel* OvertypeIndicator() const { return ovr_; }

    // Follows the lock states through one key event (with the X11
    // modifier state when `native_known`).
    void TakeKey(const QKeyEvent& key, bool native_known);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* caret_;
    QLabel* caps_;
    QLabel* num_;
    QLabel* ovr_;
    bool caps_on_ = false;
    bool num_on_ = false;
    const void* last_key_ = nullptr;
    unsigned long long last_key_time_ = 0;
    int last_key_type_ = 0;
    bool native_modifiers_ = false;  // key events carry the X11 modifier state
};
