#pragma once
// The search a text window runs, made from what asked for it: the Find or
// Replace dialog's record, or a Grep window's replacement run. Each also
// becomes the document's find options, which the window keeps in the
// settings file when it closes.

#include "edit/find_replace_run.h"
#include "framework/find_replace_dialog.h"

struct GrepOptions;
struct SearchOptions;

// The dialog's texts and flags; replacing only when the Replace dialog asked.
FindRequest RequestFromDialog(const FindReplaceData& data, bool replaceDialog, SearchOptions& options);
// A grep run's replacement, from the top down; the dialog record shows the
// same texts and flags, as if the Replace dialog had asked.
FindRequest RequestFromGrep(const GrepOptions& grep, bool replaceAll, SearchOptions& options, FindReplaceData& data);
