#include "resources/strings.h"

#include <unordered_map>

namespace strings {
namespace {

const std::unordered_map<int, const char*>& Table()
{
    static const std::unordered_map<int, const char*> table = {
        {kSettingsFileName, "TARNWICK.INI"},
        {kAppName, "Tarnwick"},

        // --- application shell ---

        // --- documents ---
        {kDocErrorOpen, "File Error (1):\r  Unable to open file."},
        {kDocErrorLineTable, "File Error (2):\r  Not enough memory for lines."},
        {kDocErrorLineObject, "File Error (3):\r  Could not allocate line object."},
        {kDocErrorLineBuffer, "File Error (4):\r  Could not allcoate line buffer."},
        {kDocErrorMemory, "File Error (5):\r  General memory error."},

        // --- views ---

        // --- search windows ---
        {kStatusSearchFile, "%s/%s"},
        {kStatusInvalidPath, "Invalid path: %s."},
        {kStatusGrepSummary, "Processed %ld files.  Found %ld matches."},
        {kStatusCountSummary, "Processed %ld files.  Total line count is %ld lines."},
        {kStatusGrepInterrupted, "Grep interrupted by user."},

        // --- settings dialogs ---
    };
    return table;
}

} // namespace

const char* Text(int id)
{
    const auto& table = Table();
    const auto it = table.find(id);
    return it == table.end() ? "" : it->second;
}

} // namespace strings
