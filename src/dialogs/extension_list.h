#pragma once
// The user's list of file types in the Extensions section of the settings
// file: entries "description,extension" numbered ext_1 .. Count, and the
// index of the preferred entry, Selected (counted from 0). The File
// Extensions dialog edits a copy of it and writes it back on OK.

#include "settings/file_types.h"

#include <string>
#include <string_view>
#include <vector>

class ExtensionList {
public:
    // Reads the list. An entry without a comma is skipped; one with several
    // is split at the first (the description cannot hold a comma, the
    // extension may). When Count is 0 or missing, the default list ("Text
    // Files,TXT", "All Files,*") is written and read. A Selected outside
    // the list selects nothing (-1).
    static ExtensionList Load(const std::string& settings);

    const std::vector<FileType>& Entries() const { return entries_; }
    int Selected() const { return selected_; }
    // -1 or an index outside the list selects nothing.
    void Select(int index);

    // Removes the selected entry (nothing when none is selected), then
    // selects the one before it, or the first.
    void DeleteSelected();

    // OK: writes every entry and Count, then decides the preferred entry
    // from the extension field's text. When it names the selected entry or
    // any other (letters without regard to case), the selected entry stays
    // preferred; otherwise the two typed texts are appended as a new entry,
    // as typed (each cut to its limit of characters), and it becomes the
    // preferred one. Writes Selected and returns it.
    int Accept(std::string_view typed_extension, std::string_view typed_description,
               const std::string& settings);

    // Whether Accept would add the typed texts as a new entry.
    bool AddsEntry(std::string_view typed_extension) const;
    // False for a description that would not read back as it is (one
    // with a comma).
    static bool CanStoreDescription(std::string_view description);

private:
    std::vector<FileType> entries_;
    int selected_ = -1;
};
