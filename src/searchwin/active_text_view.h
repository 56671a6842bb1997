#pragma once
// What a replacement run asks of the text windows that show one file,
// under its name or any other (the same device and inode).

#include <string>

namespace active_text_view {

// True when a text window shows the file at `path`, under that name or any
// other (the same device and inode), with changes not yet saved.
bool HasUnsavedWindow(const std::string& path);

// Closes (in a later pump) every text window that shows the file at
// `path`, under any name, without unsaved changes: a replacement has just
// rewritten the file behind them.
void CloseSavedWindowsOf(const std::string& path);

} // namespace active_text_view
