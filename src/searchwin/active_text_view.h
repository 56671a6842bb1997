#pragma once
// What the search windows ask of the text view that OpenText has just shown
// or activated. Each call first makes sure the active MDI child really is a
// text view of `path`: when the file could not be shown (its window already
// closed again, or no frame at all), nothing else is touched, so a hit or a
// replacement never lands in some other window's document.

#include "search/grep_options.h"

#include <string>

namespace active_text_view {

// Selects the first occurrence of `pattern` (ASCII case folded) on the
// 0-based `line` and primes the find data; the file simply stays open when
// the line is missing or does not hold the text.
void ShowHit(const std::string& path, const std::string& pattern, const std::string& replacement, long line);

// Makes `pattern` and `replacement` the view's find and replace texts.
void PrepareFind(const std::string& path, const std::string& pattern, const std::string& replacement);

// True when a text window shows the file at `path`, under that name or any
// other (the same device and inode), with changes not yet saved.
bool HasUnsavedWindow(const std::string& path);

// Closes (in a later pump) every text window that shows the file at
// `path`, under any name, without unsaved changes: a replacement has just
// rewritten the file behind them.
void CloseSavedWindowsOf(const std::string& path);

} // namespace active_text_view
