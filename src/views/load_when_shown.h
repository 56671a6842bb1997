#pragma once
// Reads a window's file once the window is on the screen, so that the
// frame and the new window are drawn first and the lines fill in as they
// are read. Until the window system exposes the frame, a load would keep
// it from being drawn at all; so the load waits for the expose (or a short
// time at most) and then runs behind the events already waiting.

#include <QObject>
#include <QPointer>
#include <QWindow>

#include <functional>

class QWidget;

class LoadWhenShown : public QObject {
    Q_OBJECT
public:
    LoadWhenShown(QWidget* view, std::function<void()> load);

    // The next show of the view starts the wait.
    void Arm() { armed_ = true; }
    // The load has run some other way: nothing is left to post.
    void Disarm() { armed_ = false; posted_ = true; }
    // Called from the view's showEvent.
    void ViewShown();
    // Runs the callback once more behind the waiting events: the next step
    // of a load in steps.
    void PostAgain();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Post();

    QWidget* view_;
    std::function<void()> load_;
    bool armed_ = false;
    bool posted_ = false;
    QPointer<QWindow> waiting_for_screen_;
};
