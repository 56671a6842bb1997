#include "dialogs/extension_list.h"

#include "base/text_rules.h"
#include "settings/profile.h"
#include "settings/profile_update.h"
#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"

#include <algorithm>

// Every write goes through profile_update, which skips a value already
// stored: OK writes the whole list again, and each write replaces the file.

namespace {

using setting::kFileTypes;
using setting::kSelectedFileType;

void WriteNumber(const setting::IntSetting& number, int value, const std::string& settings)
{
    profile_update::WriteString(number.section, number.key, setting::IntSetting::Format(value), settings);
}

void WriteEntry(int number, const FileType& entry, const std::string& settings)
{
    profile_update::WriteString(kFileTypes.section, FileTypeKey(number), FileTypeEntry(entry), settings);
}

const std::vector<FileType>& DefaultList()
{
    static const std::vector<FileType> list{{"Text Files", "TXT"}, {"All Files", "*"}};
    return list;
}

void WriteDefaultList(const std::string& settings)
{
    const auto& list = DefaultList();
    WriteNumber(kFileTypes.count, static_cast<int>(list.size()), settings);
    for (std::size_t i = 0; i < list.size(); ++i) WriteEntry(static_cast<int>(i) + 1, list[i], settings);
}

} // namespace

ExtensionList ExtensionList::Load(const std::string& settings)
{
    // One read of the file.
    const profile::Snapshot ini(settings);
    ExtensionList list;
    const int count = kFileTypes.count.Read(ini);
    const int selected = kSelectedFileType.Read(ini);
    if (count > 0) {
        list.entries_ = ReadFileTypes(ini, count);
    } else {
        WriteDefaultList(settings);
        list.entries_ = DefaultList();
    }
    list.Select(selected);
    return list;
}

void ExtensionList::Select(int index)
{
    selected_ = index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

void ExtensionList::DeleteSelected()
{
    const int index = selected_;
    if (index >= 0) entries_.erase(entries_.begin() + index);
    Select(std::max(index - 1, 0));
}

bool ExtensionList::AddsEntry(std::string_view typed_extension) const
{
    const std::string typed = text::UpperAscii(CutToCharacters(typed_extension, kTypedExtensionLimit));
    const std::string selected_text = selected_ >= 0 ? entries_[std::size_t(selected_)].extension : std::string();
    const bool names_an_entry = typed == text::UpperAscii(selected_text) ||
                                std::any_of(entries_.begin(), entries_.end(), [&](const FileType& entry) {
                                    return text::UpperAscii(entry.extension) == typed;
                                });
    return !names_an_entry;
}

bool ExtensionList::CanStoreDescription(std::string_view description)
{
    return description.find(',') == std::string_view::npos;
}

int ExtensionList::Accept(std::string_view typed_extension, std::string_view typed_description,
                          const std::string& settings)
{
    typed_extension = CutToCharacters(typed_extension, kTypedExtensionLimit);
    typed_description = CutToCharacters(typed_description, kTypedDescriptionLimit);
    const bool adds = AddsEntry(typed_extension);
    const int count = static_cast<int>(entries_.size());
    for (int i = 0; i < count; ++i) {
        const FileType& entry = entries_[std::size_t(i)];
        WriteEntry(i + 1, entry, settings);
    }
    WriteNumber(kFileTypes.count, count, settings);

    int preferred = selected_;
    if (adds) {
        WriteNumber(kFileTypes.count, count + 1, settings);
        entries_.push_back({std::string(typed_description), std::string(typed_extension)});
        WriteEntry(count + 1, entries_.back(), settings);
        preferred = count;
    }
    selected_ = preferred;
    WriteNumber(kSelectedFileType, preferred, settings);
    return preferred;
}
