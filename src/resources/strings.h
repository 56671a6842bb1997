#pragma once
// The string table: every user-visible message of the program, by id.

#include "resources/command_ids.h"

#include <vector>

namespace strings {

// The text of string `id`, or an empty text for an id the table lacks.
const char* Text(int id);

// The ids that name more than one text in the table (none, when it is sound).
std::vector<int> RepeatedIds();
// The hint of a command (the string with the command's number).
inline const char* Text(cmd::Command command) { return Text(cmd::Number(command)); }

// Ids of the table (grouped by the part of the program that shows them).
enum : int {
    kSettingsFileName = 1,  // "TARNWICK.INI"
    kAppName = 2,           // "Tarnwick", caption of every message box

    // --- application shell ---
    // The hint of a menu item or tool-bar button has the id of its command
    // (cmd::kFileNew ... cmd::kToolBarPosition).
    kDefaultFilter = 32554,  // file-dialog filter when no file type is listed

    // --- documents ---
    // Document errors, one per code of docs/doc_errors.h, in its order.
    kDocErrorOpen = 1101,
    kDocErrorLineTable = 1102,
    kDocErrorLineObject = 1103,
    kDocErrorLineBuffer = 1104,
    kDocErrorMemory = 1105,

    // --- views ---
    kSaveChangesQuery = 1001,  // "%s has been changed.  Save changes before closing?"
    kOpenFileError = 1002,     // "Error [%d] : Opening file %s."
    kNoOccurrences = 1003,     // "No occurences of '%s' were found."
    kBadLineNumber = 1004,     // "Line #%ld is not a valid line number."
    kBadByteOffset = 1005,     // "Offset #%ld is not a valid byte offset."
    kDumpOverShownFile = 1020, // "%s is the file this window shows. ..." (Save As of a hex window)
    kGoToLinePrompt = 2001,    // "Enter line number (%ld - %ld):"
    kGoToOffsetPrompt = 2002,  // "Enter byte offset (hex %s - %s):"
    // A file that another program changed, or that could not be read.
    kChangedOnDiskQuery = 1030,    // "%s has changed on disk. Reload it and lose your changes?"
    kSaveOverChangedQuery = 1031,  // "%s has changed on disk since it was loaded. Save over it?"
    kReloadDiscardQuery = 1032,    // "%s has been changed. Reload it and lose your changes?" (File > Reload)
    kReloadFailed = 1033,          // "%s could not be read again ..." (the text is kept)
    kSaveOverUnread = 1034,        // "%s could not be read when it was opened ..." (Save refused)
    kDeletedCaption = 1035,        // "%s (deleted)"
    kReloadButton = 1036,          // "Reload"
    kKeepMineButton = 1037,        // "Keep Mine"

    // --- search windows ---
    // Status lines of the grep and line-count runs.
    kStatusSearchFile = 2101,      // "%s/%s" (directory, file name)
    kStatusInvalidPath = 2102,     // "Invalid path: %s."
    kStatusGrepSummary = 2103,     // "Processed %ld files.  Found %ld matches."
    kStatusCountSummary = 2104,    // "Processed %ld files.  Total line count is %ld lines."
    kStatusGrepInterrupted = 2105, // "Grep interrupted by user."
    kStatusNotEntered = 2106,      // "  Directories not entered: %ld (first: %s)." after a summary
    kStatusFilesReplaced = 2107,   // "  Files replaced: %ld." after the summary of a replacing run
    // The summary after a replacing run that left files alone.
    kReplaceSummary = 2110,        // "Replaced in %ld files; %ld files with hits were left as they are."
    kReplaceSummaryMore = 2111,    // "... and %ld more."
    kLeftUnsaved = 2112,           // reasons, each heading its files
    kLeftBinary = 2113,
    kLeftHidden = 2114,
    kLeftReadOnly = 2115,
    kLeftNotOpened = 2116,
    kLeftNoOccurrence = 2117,
    kLeftNotSaved = 2118,

    // --- printing ---
    kPrintingCaption = 1201,   // "Printing"
    kPrintingPage = 1202,      // "Page %d"
    kPrintingOn = 1203,        // "on %s" (printer or output file)
    kPreviewCaption = 1204,    // "Print Preview - %s"
    kPrintNothingFits = 1205,  // "%s was not printed: ..."
    kPrintFailed = 1206,       // "%s could not be printed ..."
    kPrintDefaultName = 1207,  // "untitled": job and PDF name of an unnamed document
    kPrintNotWritten = 1208,   // "%s could not be printed. ... %s could not be written: %s."
    kPrintNoPageChosen = 1209, // "%s was not printed: ... %d pages ..."

    // --- settings dialogs ---
    kPrefCaption = 4001,        // "Preferences"
    kPrefUndoLabel = 4002,      // "Undo Limit (%d - %d):", formatted with the field's range
    kPrefFontPlaceholder = 4003, // "Font name, Font size", until the font is read
    kPrefFontLabel = 4004,      // "Font: %s %d" (face, size in points)
    kPrefSampleText = 4005,     // "abcdefghi ABCDEFGHI 0123456789"
    kExtCaption = 4011,         // "File Extensions"
    kExtCommaInDescription = 4012,  // "The description \"%s\" holds a comma. ..."

    // --- documents, continued ---
    // A save that replaced the file but whose last step (closing it)
    // reported an error; one more code of docs/doc_errors.h.
    kDocSavedWithWarning = 1106,

    // --- replacing grep runs ---
    kLeftOutside = 2119,            // reason: reached through a link that leads out of the tree
    kStatusEmptyReplacement = 2120, // "  Empty replacement: %ld files with hits left unchanged."

    // --- exclusions of a run ---
    kStatusExcluded = 2140,  // "  Excluded: %ld files, %ld folders." after a summary
    // --- the Grep window's results ---
    kHitFileChanged = 2121,     // text column of a hit whose file changed since the run
    kTextHeader = 2122,         // "Text"
    kSaveResultsCaption = 2123, // "Save Results"
    kSaveResultsFailed = 2124,  // "%s could not be written: %s."
    kFilterPlaceholder = 2125,  // "Filter"
    kMatchesInLine = 2126,      // "%ld matches"
    kStatusMatchCount = 2127,   // "  %ld matches in all."
    kContextLabel = 2128,       // "Context lines:"
    kLeftNotKept = 2141,            // reason: the journal could not keep the original bytes
    kLeftChangedSince = 2142,       // reason: changed between the search and the write
    kLeftOverBudget = 2143,         // reason: the journal's budget was spent
    kStatusFilesWouldBeReplaced = 2144,  // "  Files that would be replaced: %ld." after a dry run's summary
};

} // namespace strings
