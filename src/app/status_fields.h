#pragma once
// The status bar's own fields, right of the hint area: a gauge of a file
// being read, the caret position (cmd::kCaretField) and the Caps Lock, Num
// Lock and Overtype indicators.

#include "app/lock_keys.h"

#include <QObject>

class QKeyEvent;
class QLabel;
class QProgressBar;
class QStatusBar;

class StatusFields : public QObject {
    Q_OBJECT
public:
    explicit StatusFields(QStatusBar* bar);

    void SetCaretPosition(long line, long line_count, int column);
    void SetOvertype(bool on);
    void SetCapsLock(bool on);
    void SetNumLock(bool on);
    // 0 to 100 shows the gauge at that value; a negative value hides it.
    void SetLoadProgress(int percent);

    QLabel* CaretField() const { return caret_; }
    QLabel* CapsIndicator() const { return caps_; }
    QLabel* NumIndicator() const { return num_; }
    QLabel* OvertypeIndicator() const { return ovr_; }
    QProgressBar* LoadGauge() const { return gauge_; }

    // Follows the lock states through one key event (with the X11
    // modifier state when `native_known`).
    void TakeKey(const QKeyEvent& key, bool native_known);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QProgressBar* gauge_;
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
