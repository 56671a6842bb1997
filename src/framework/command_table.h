#pragma once
// Command tables: each command-handling class keeps its own table of command
// ids and handlers (with an optional enabling rule), chained to the table of
// its base class, which is searched after it.
//
// How a class (a view, an MDI child, a dialog) registers its commands:
//
//   // edit_view.h
//   class EditView : public QWidget, public fw::CommandTarget {
//       Q_OBJECT
//   public:
//       static const fw::CommandTable& Commands();
//       const fw::CommandTable& commandTable() const override { return Commands(); }
//   signals:
//       void commandStateChanged();   // selection, modified, undo state changed
//   private:
//       void CmSave();
//       bool CanSave() const;
//   };
//
//   // edit_view.cpp
//   const fw::CommandTable& EditView::Commands()
//   {
//       static const fw::CommandTable table(nullptr, {   // nullptr: no base table
//           fw::On(cmd::kFileSave, &EditView::CmSave, &EditView::CanSave),
//           fw::On(cmd::kSearchFind, &EditView::CmFind),
//       });
//       return table;
//   }
//
//   // text_view.cpp: a derived class chains to its base's table
//   const fw::CommandTable& TextView::Commands()
//   {
//       static const fw::CommandTable table(&EditView::Commands(), {
//           fw::On(cmd::kEditUndo, &TextView::CmUndo, &TextView::CanUndo),
//       });
//       return table;
//   }
//
// The frame routes a command to the active MDI child's client widget (when it
// is a CommandTarget), then to the MDI child, then to the frame, then to the
// application; the first table that holds the id runs it. A menu item or
// tool-bar button that no table in that chain holds is disabled; one that is
// held is enabled by its rule (no rule: always enabled).
//
// Enabling is refreshed when the active child, the focus or the clipboard
// changes and when a menu opens. A view whose own state changes (selection,
// modified flag, undo list) tells the frame either by emitting a signal
// `commandStateChanged()` (the frame connects to it when the view's class
// declares it) or by calling fw::NotifyCommandStateChanged().

#include "resources/command_ids.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

namespace fw {

class CommandTarget;

struct CommandEntry {
    cmd::Command id = cmd::kNone;
    std::function<void(CommandTarget&)> handler;
    std::function<bool(const CommandTarget&)> enabled;  // empty: always enabled
};

class CommandTable {
public:
    CommandTable(const CommandTable* base, std::initializer_list<CommandEntry> entries);
    CommandTable(const CommandTable* base, std::vector<CommandEntry> entries);

    // The entry of `id` in this table or, failing that, in the base chain.
    const CommandEntry* Find(cmd::Command id) const;
    const CommandTable* base() const { return base_; }

private:
    const CommandTable* base_;
    std::vector<CommandEntry> entries_;
};

// Something that handles commands: it names its class's table.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual const CommandTable& commandTable() const = 0;

    // Runs the handler of `id`; false when the table chain has none.
    bool ExecuteCommand(cmd::Command id);
    // Whether the command is enabled here; nullopt when no handler exists.
    std::optional<bool> CommandEnabled(cmd::Command id) const;
};

// Entry helpers for member functions of T (T derives from CommandTarget).
template <class T>
CommandEntry On(cmd::Command id, void (T::*handler)())
{
    return {id, [handler](CommandTarget& t) { (static_cast<T&>(t).*handler)(); }, {}};
}

template <class T>
CommandEntry On(cmd::Command id, void (T::*handler)(), bool (T::*enabled)() const)
{
    return {id, [handler](CommandTarget& t) { (static_cast<T&>(t).*handler)(); },
            [enabled](const CommandTarget& t) { return (static_cast<const T&>(t).*enabled)(); }};
}

// A handler that receives the id: for ranges such as the recent files.
template <class T>
CommandEntry OnId(cmd::Command id, void (T::*handler)(cmd::Command))
{
    return {id, [handler, id](CommandTarget& t) { (static_cast<T&>(t).*handler)(id); }, {}};
}

// An empty table with no base: the end of a chain.
const CommandTable& EmptyCommandTable();

} // namespace fw
