#include "settings/file_types.h"

#include "base/characters.h"
#include "settings/setting_schema.h"

std::string FileTypeKey(int number)
{
    return setting::kFileTypes.ItemKey(number);
}

std::string FileTypeEntry(const FileType& type)
{
    return type.description + ',' + type.extension;
}

std::optional<FileType> ParseFileTypeEntry(std::string_view entry)
{
    const auto comma = entry.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    return FileType{std::string(entry.substr(0, comma)), std::string(entry.substr(comma + 1))};
}

std::vector<FileType> ReadFileTypes(const profile::Snapshot& stored, int count)
{
    std::vector<FileType> types;
    // Only entries actually stored: a corrupt count of two thousand million
    // ends at the last one.
    for (const int i : setting::kFileTypes.StoredNumbers(stored, count)) {
        const std::string entry = setting::kFileTypes.ReadItem(stored, i);
        if (std::optional<FileType> type = ParseFileTypeEntry(entry)) types.push_back(std::move(*type));
    }
    return types;
}

std::string_view CutToCharacters(std::string_view text, std::size_t limit)
{
    std::size_t end = 0;
    for (std::size_t n = 0; n < limit && end < text.size(); ++n) end += static_cast<std::size_t>(text::CharAt(text, end).length);
    return text.substr(0, end);
}
