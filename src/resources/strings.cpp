#include "resources/strings.h"

#include <unordered_map>
#include <utility>

namespace strings {
namespace {

// Every text with its id, in the order they were added. A map built from
// it directly would keep one of two entries with the same id and drop the
// other without a word, so the map is built from this list and the list
// is checked for repeats.
const std::vector<std::pair<int, const char*>>& Entries()
{
    static const std::vector<std::pair<int, const char*>> entries = {
        {kSettingsFileName, "TARNWICK.INI"},
        {kAppName, "Tarnwick"},

        // --- application shell ---
        {24331, "Creates a new document"},
        {24332, "Opens an existing document"},
        {24333, "Saves the active document"},
        {24334, "Saves the active document with a new name"},
        {24337, "Print the current file."},
        {24338, "Show the pages that Print would produce."},
        {104, "Perform grep function"},
        {106, "Obtain the total line count for a set of files."},
        {107, "Customize the available file type extensions"},
        {24310, "Quits MDI File Editor and prompts to save document(s)"},
        {24321, "Undo the last action"},
        {24322, "Cut the selection and put it on the Clipboard"},
        {24323, "Copy the selection to the Clipboard"},
        {24324, "Insert the Clipboard contents at the caret"},
        {24325, "Delete the selection"},
        {24326, "Clear the document"},
        {24351, "Find the specified text"},
        {24352, "Find the specified text and change it"},
        {24353, "Find the next match"},
        {501, "Go to a file location/offset"},
        {32040, "Toggles display of status bar"},
        {32041, "Toggles display of tool bar"},
        {24361, "Cascades open windows"},
        {24362, "Tiles open windows vertically"},
        {24363, "Tiles open windows horizontally"},
        {24364, "Arranges iconic windows along bottom"},
        {24365, "Closes all open windows"},
        {105, "About Tarnwick"},
        {203, "Toggles tool bar position"},
        {24335, "Reads the active document's file again"},
        {kDefaultFilter, "Text files (*.TXT)|*.TXT|All Files (*.*)|*.*|"},

        // --- documents ---
        {kDocErrorOpen, "File Error (1):\r  Unable to open file."},
        {kDocErrorLineTable, "File Error (2):\r  Not enough memory for lines."},
        {kDocErrorLineObject, "File Error (3):\r  Could not allocate line object."},
        {kDocErrorLineBuffer, "File Error (4):\r  Could not allcoate line buffer."},
        {kDocErrorMemory, "File Error (5):\r  General memory error."},

        // --- views ---
        {kSaveChangesQuery, "%s has been changed.  Save changes before closing?"},
        {kOpenFileError, "Error [%d] : Opening file %s."},
        {kNoOccurrences, "No occurences of '%s' were found."},
        {kBadLineNumber, "Line #%ld is not a valid line number."},
        {kBadByteOffset, "Offset #%ld is not a valid byte offset."},
        {kDumpOverShownFile, "%s is the file this window shows.\r  Its dump cannot be saved over it: nothing was written."},
        {kGoToLinePrompt, "Enter line number (%ld - %ld):"},
        {kGoToOffsetPrompt, "Enter byte offset (hex %s - %s):"},
        {kChangedOnDiskQuery, "%s has changed on disk. Reload it and lose your changes?"},
        {kSaveOverChangedQuery, "%s has changed on disk since it was loaded. Save over it?"},
        {kReloadDiscardQuery, "%s has been changed. Reload it and lose your changes?"},
        {kReloadFailed, "%s could not be read again.\r  The window keeps the text it had."},
        {kSaveOverUnread,
         "%s could not be read when it was opened, so this window does not hold its text.\r"
         "  Saving would replace the file: nothing was written. Use Save As to keep this text under another name."},
        {kDeletedCaption, "%s (deleted)"},
        {kReloadButton, "Reload"},
        {kKeepMineButton, "Keep Mine"},

        // --- search windows ---
        {kStatusSearchFile, "%s/%s"},
        {kStatusInvalidPath, "Invalid path: %s."},
        {kStatusGrepSummary, "Processed %ld files.  Found %ld matches."},
        {kStatusCountSummary, "Processed %ld files.  Total line count is %ld lines."},
        {kStatusGrepInterrupted, "Grep interrupted by user."},
        {kStatusNotEntered, "  Directories not entered: %ld (first: %s)."},
        {kStatusFilesReplaced, "  Files replaced: %ld."},
        {kReplaceSummary, "Replaced in %ld files; %ld files with hits were left as they are."},
        {kReplaceSummaryMore, "... and %ld more."},
        {kLeftUnsaved, "Open in a window with unsaved changes (window and file kept):"},
        {kLeftBinary, "Binary files (they hold a NUL byte):"},
        {kLeftHidden, "Inside hidden directories:"},
        {kLeftReadOnly, "Read-only files:"},
        {kLeftNotOpened, "Could not be opened:"},
        {kLeftNoOccurrence, "No occurrence any more:"},
        {kLeftNotSaved, "Could not be saved (left as they were):"},

        // --- printing ---
        {kPrintingCaption, "Printing"},
        {kPrintingPage, "Page %d"},
        {kPrintingOn, "on %s"},
        {kPreviewCaption, "Print Preview - %s"},
        {kPrintNothingFits, "%s was not printed: with this font not one line fits on a page below "
                            "the page header.\rChoose a smaller font or a larger paper size."},
        {kPrintFailed, "%s could not be printed.\rThe printer or the output file %s cannot be used."},
        {kPrintDefaultName, "untitled"},
        {kPrintNotWritten, "%s could not be printed.\rThe output file %s could not be written: %s."},
        {kPrintNoPageChosen, "%s was not printed: none of its %d pages is in the range chosen."},

        // --- settings dialogs ---
        {kPrefCaption, "Preferences"},
        {kPrefUndoLabel, "Undo Limit (%d - %d):"},
        {kPrefFontPlaceholder, "Font name, Font size"},
        {kPrefFontLabel, "Font: %s %d"},
        {kPrefSampleText, "abcdefghi ABCDEFGHI 0123456789"},
        {kExtCaption, "File Extensions"},
        {kExtCommaInDescription, "The description \"%s\" holds a comma.\rA file type is stored as "
                                 "description,extension, so its description cannot hold one."},

        // --- documents, continued ---
        {kDocSavedWithWarning,
         "Saved, but closing the file reported an error.\r  "
         "The new text was flushed to the disk before; check the file if it lies on a network drive."},

        // --- replacing grep runs ---
        {kLeftOutside, "Reached through links that lead out of the searched tree:"},
        {kStatusEmptyReplacement, "  Empty replacement: %ld files with hits left unchanged."},

        // --- exclusions of a run ---
        {kStatusExcluded, "  Excluded: %ld files, %ld folders."},
        // --- the Grep window's results ---
        {kHitFileChanged, "(the file has changed since the search)"},
        {kTextHeader, "Text"},
        {kSaveResultsCaption, "Save Results"},
        {kSaveResultsFailed, "%s could not be written: %s."},
        {kFilterPlaceholder, "Filter the results by path or text"},
        {kMatchesInLine, "%ld matches"},
        {kStatusMatchCount, "  %ld matches in all."},
        {kContextLabel, "Conte&xt lines:"},
        {kLeftNotKept, "Not written: their original bytes could not be kept for undoing the run:"},
        {kLeftChangedSince, "Changed since the search (left as they are):"},
        {kLeftOverBudget, "Not written: keeping their original bytes would pass the undo journal's budget:"},
        {kStatusFilesWouldBeReplaced, "  Files that would be replaced: %ld."},
    };
    return entries;
}

const std::unordered_map<int, const char*>& Table()
{
    static const std::unordered_map<int, const char*> table(Entries().begin(), Entries().end());
    return table;
}

} // namespace

std::vector<int> RepeatedIds()
{
    std::unordered_map<int, int> seen;
    std::vector<int> repeated;
    for (const auto& [id, text] : Entries())
        if (++seen[id] == 2) repeated.push_back(id);
    return repeated;
}

const char* Text(int id)
{
    const auto& table = Table();
    const auto it = table.find(id);
    return it == table.end() ? "" : it->second;
}

} // namespace strings
