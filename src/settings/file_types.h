#pragma once
// The file types of the settings file's Extensions section as they are
// stored: ext_1 .. ext_Count, each "description,extension". The File
// Extensions dialog edits them; every file dialog lists them as filters.
// An entry is split at its first comma: the description cannot hold one,
// the extension may.

#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FileType {
    std::string description;
    std::string extension;  // without a dot: "TXT", "*"
    friend bool operator==(const FileType&, const FileType&) = default;
};

// The dialog's limits, in characters, and the bytes of the longest entry
// it writes.
using setting::kFileTypeEntryLimit;
using setting::kTypedDescriptionLimit;
using setting::kTypedExtensionLimit;

// "ext_%d".
std::string FileTypeKey(int number);
// "description,extension".
std::string FileTypeEntry(const FileType& type);
// The entry split at its first comma; none without a comma.
std::optional<FileType> ParseFileTypeEntry(std::string_view entry);

// The entries ext_1 .. ext_count actually stored, in order, those without
// a comma left out.
std::vector<FileType> ReadFileTypes(const profile::Snapshot& stored, int count);

// `text` cut to at most `limit` characters (valid UTF-8 sequences; any
// other byte counts as one), never inside a character.
std::string_view CutToCharacters(std::string_view text, std::size_t limit);
