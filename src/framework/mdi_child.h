#pragma once
// An MDI child window: a QMdiSubWindow with a command table of its own,
// whose client widget (a view or a search window) is asked first.

#include "framework/command_table.h"

#include <QMdiSubWindow>

namespace fw {

class MdiChild : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit MdiChild(QWidget* client, QWidget* parent = nullptr);

    static const CommandTable& Commands();
    const CommandTable& commandTable() const override { return Commands(); }

    // The client widget as a command target, or null.
    CommandTarget* ClientTarget() const;
};

} // namespace fw
