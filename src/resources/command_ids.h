#pragma once
// Ids of commands, dialogs, controls and icons, in one place.

namespace cmd {

// --- application shell ---

// --- views ---

// --- search windows ---

// --- settings dialogs ---

} // namespace cmd
