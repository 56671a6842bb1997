#pragma once
// The search a text window runs, made from the Find or Replace dialog's
// record. It also becomes the document's find options, which the window
// keeps in the settings file when it closes.

#include "edit/find_replace_run.h"
#include "framework/find_replace_dialog.h"

struct SearchOptions;

// The dialog's texts and flags; replacing only when the Replace dialog asked.
FindRequest RequestFromDialog(const FindReplaceData& data, bool replaceDialog, SearchOptions& options);
