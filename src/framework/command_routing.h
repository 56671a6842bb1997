#pragma once
// Routing of one command along a chain of targets (view, MDI child, frame,
// application), and the signal that makes the frame refresh its actions.

#include "resources/command_ids.h"

#include <QObject>

#include <optional>
#include <vector>

namespace fw {

class CommandTarget;

using CommandChain = std::vector<CommandTarget*>;  // first is asked first; nulls skipped

// Runs the first handler of `id` along the chain; false when none exists.
bool RouteCommand(const CommandChain& chain, cmd::Command id);

// Enabled state of `id` from the first target that handles it; false when
// nobody does (such an item is shown disabled).
bool CommandEnabledAlong(const CommandChain& chain, cmd::Command id);

// One object for the whole program: anything may ask the frame to refresh
// the enabled state of its actions (a view's selection changed, ...).
class CommandHub : public QObject {
    Q_OBJECT
public:
    static CommandHub& Instance();
signals:
    void stateChanged();
};

inline void NotifyCommandStateChanged() { emit CommandHub::Instance().stateChanged(); }

} // namespace fw
