#pragma once
// How the text window reads a key: which keys keep their meaning in the
// text even when a menu item carries them, which keys stand for a command
// of the window's own, and the bytes a key types.

#include "resources/command_ids.h"

#include <string>

class QKeyEvent;

namespace text_keys {

// Keys with a meaning of their own in the text (editing keys and typed
// characters without Ctrl or Alt): the view takes them before any shortcut.
bool OwnedByTheText(const QKeyEvent& key);
// The command a key stands for inside the text (Ctrl+Z, Ctrl+X, Ctrl+C,
// Ctrl+V, Ctrl+Del, F3), or kNone.
cmd::Command AcceleratorCommand(const QKeyEvent& key);
// What the key types, repeated as often as it auto-repeated: tabs and
// printable characters; empty for anything else.
std::string TypedBytes(const QKeyEvent& key);

} // namespace text_keys
