#include "app/status_fields.h"

#include "app/caret_position.h"
#include "resources/command_ids.h"

#include <QApplication>
#include <QGuiApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>

namespace {

QLabel* MakeField(QStatusBar* bar, const QString& name, const QString& widest)
{
    auto* label = new QLabel(bar);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 8);
    bar->addPermanentWidget(label);
    return label;
}

QLabel* MakeIndicator(QStatusBar* bar, const QString& text)
{
    QLabel* label = MakeField(bar, QStringLiteral("indicator") + text, text);
    label->setText(text);
    label->setEnabled(false);  // greyed while the mode is off
    return label;
}

} // namespace

StatusFields::StatusFields(QStatusBar* bar) : QObject(bar)
{
    // Shown only while the focused window's file is still being read.
    gauge_ = new QProgressBar(bar);
    gauge_->setObjectName(QStringLiteral("loadGauge"));
    gauge_->setRange(0, 100);
    gauge_->setMaximumWidth(gauge_->fontMetrics().horizontalAdvance(QString(12, QLatin1Char('0'))));
    gauge_->setMaximumHeight(gauge_->fontMetrics().height() + 4);
    gauge_->hide();
    bar->addPermanentWidget(gauge_);
    // 16 characters wide, centred, recessed, initially empty.
    caret_ = MakeField(bar, QStringLiteral("field%1").arg(cmd::kCaretField), QString(16, QLatin1Char('0')));
    caps_ = MakeIndicator(bar, QStringLiteral("CAPS"));
    num_ = MakeIndicator(bar, QStringLiteral("NUM"));
    ovr_ = MakeIndicator(bar, QStringLiteral("OVR"));
    // The lock states are read from the key events (lock_keys.h).
    native_modifiers_ = QGuiApplication::platformName() == QLatin1String("xcb");
    qApp->installEventFilter(this);
}

void StatusFields::SetCaretPosition(long line, long line_count, int column)
{
    caret_->setText(QString::fromStdString(CaretPositionText(line, line_count, column)));
}

void StatusFields::SetOvertype(bool on)
{
    ovr_->setEnabled(on);
}

void StatusFields::SetCapsLock(bool on)
{
    caps_on_ = on;
    caps_->setEnabled(on);
}

void StatusFields::SetNumLock(bool on)
{
    num_on_ = on;
    num_->setEnabled(on);
}

void StatusFields::SetLoadProgress(int percent)
{
    if (percent < 0) return gauge_->hide();
    gauge_->setValue(std::min(percent, 100));
    gauge_->show();
}

bool StatusFields::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if ((press || event->type() == QEvent::KeyRelease) && watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A key event unhandled by its receiver goes on to the parents;
        // count it once.
        const bool seen = key == last_key_ && key->timestamp() == last_key_time_ && key->type() == last_key_type_;
        last_key_ = key;
        last_key_time_ = key->timestamp();
        last_key_type_ = key->type();
        if (!key->isAutoRepeat() && !seen) TakeKey(*key, native_modifiers_);
    }
    return QObject::eventFilter(watched, event);
}

void StatusFields::TakeKey(const QKeyEvent& key, bool native_known)
{
    const LockKey which = key.key() == Qt::Key_CapsLock ? LockKey::Caps
                          : key.key() == Qt::Key_NumLock ? LockKey::Num
                                                         : LockKey::Other;
    const LockStates now = LockStatesAfterKey({caps_on_, num_on_}, which, key.type() == QEvent::KeyPress,
                                              native_known, key.nativeModifiers());
    if (now.caps != caps_on_) SetCapsLock(now.caps);
    if (now.num != num_on_) SetNumLock(now.num);
}
