#pragma once
// An MDI child window: a QMdiSubWindow with a command table of its own,
// whose client widget (a view or a search window) is asked first.

#include "framework/command_table.h"

#include <QMdiSubWindow>

namespace fw {

// A client that may refuse to close (a text view with unsaved changes)
// derives from CloseQuery. CanClose asks its question (save, discard,
// cancel) and answers whether the window may go; it is asked once per
// close: by the child when the user closes it, or by the frame, which asks
// every child before it closes any of them. The client's closeEvent then
// needs no question of its own.
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

private:
    bool may_close_ = false;
};

} // namespace fw
