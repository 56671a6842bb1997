#include "views/load_when_shown.h"

#include "resources/command_ids.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace {

const QEvent::Type kLoadEvent = QEvent::Type(cmd::kViewLoadMessage);

} // namespace

LoadWhenShown::LoadWhenShown(QWidget* view, std::function<void()> load)
    : QObject(view), view_(view), load_(std::move(load))
{
}

void LoadWhenShown::ViewShown()
{
    if (!armed_) return;
    armed_ = false;
    QWindow* screenWindow = view_->window()->windowHandle();
    if (!screenWindow || screenWindow->isExposed()) return Post();
    waiting_for_screen_ = screenWindow;
    screenWindow->installEventFilter(this);
    QTimer::singleShot(cmd::kViewExposeWaitMs, this, &LoadWhenShown::Post);
}

bool LoadWhenShown::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == waiting_for_screen_ && e->type() == QEvent::Expose && waiting_for_screen_->isExposed()) Post();
    return QObject::eventFilter(watched, e);
}

void LoadWhenShown::Post()
{
    if (waiting_for_screen_) {
        waiting_for_screen_->removeEventFilter(this);
        waiting_for_screen_ = nullptr;
    }
    if (posted_) return;
    posted_ = true;
    // Low priority: what the expose asks to be drawn is drawn before the load.
    QCoreApplication::postEvent(this, new QEvent(kLoadEvent), Qt::LowEventPriority);
}

void LoadWhenShown::PostAgain()
{
    QCoreApplication::postEvent(this, new QEvent(kLoadEvent), Qt::LowEventPriority);
}

bool LoadWhenShown::event(QEvent* e)
{
    if (e->type() != kLoadEvent) return QObject::event(e);
    load_();
    return true;
}
