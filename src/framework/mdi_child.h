#pragma once
// An MDI child window: a QMdiSubWindow with a command table of its own,
// whose client widget (a view or a search window) is asked first.

#include "framework/command_table.h"

#include <QMdiSubWindow>

namespace fw {

// A client that may refuse to close (a text view with unsaved changes)
// either derives from CloseQuery or ignores the close event in its
// closeEvent. Either question (save, discard, cancel) is asked once per
// close: by the child when the user closes it, or by the frame, which asks
// every child before it closes any of them; the close that follows a yes
// does not reach the client's closeEvent again.
class CloseQuery {
public:
    virtual ~CloseQuery() = default;
    virtual bool CanClose() = 0;
};

class MdiChild : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit MdiChild(QWidget* client, QWidget* parent = nullptr);

    static const CommandTable& Commands();
    const CommandTable& commandTable() const override { return Commands(); }

    // The client widget as a command target, or null.
    CommandTarget* ClientTarget() const;

    // Asks the client (when it is a CloseQuery); a yes is remembered, so
    // the close that follows asks nothing more.
    bool CanClose();
    // Drops a remembered yes (another child refused, so nothing closed).
    void ForgetCloseAnswer() { may_close_ = false; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool may_close_ = false;
};

} // namespace fw
