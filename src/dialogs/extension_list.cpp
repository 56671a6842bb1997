#include "dialogs/extension_list.h"

#include "base/text_rules.h"
#include "search/profile_update.h"
#include "settings/profile.h"
#include "settings/profile_snapshot.h"

#include <algorithm>

// Every write goes through profile_update, which skips a value already
// stored: OK writes the whole list again, and each write replaces the file.

namespace {

constexpr std::size_t kEntryLimit = 255;

std::string EntryKey(int number)
{
    return "ext_" + std::to_string(number);
}

std::string EntryValue(std::string_view description, std::string_view extension)
{
    std::string value(description);
    value += ',';
    value += extension;
    return value;
}

const std::vector<FileType>& DefaultList()
{
    static const std::vector<FileType> list{{"Text Files", "TXT"}, {"All Files", "*"}};
    return list;
}

void WriteDefaultList(const std::string& settings)
{
    const auto& list = DefaultList();
    profile_update::WriteInt("Extensions", "Count", static_cast<int>(list.size()), settings);
    for (std::size_t i = 0; i < list.size(); ++i)
        profile_update::WriteString("Extensions", EntryKey(static_cast<int>(i) + 1),
                             EntryValue(list[i].description, list[i].extension), settings);
}

} // namespace

ExtensionList ExtensionList::Load(const std::string& settings)
{
    // One read of the file; only the entries actually stored are visited,
    // so a corrupt Count of two thousand million costs nothing.
    const profile::Snapshot ini(settings);
    ExtensionList list;
    const int count = ini.ReadInt("Extensions", "Count", 0);
    const int selected = ini.ReadInt("Extensions", "Selected", 0);
    if (count > 0) {
        for (const int i : ini.NumberedKeys("Extensions", "ext_", count)) {
            const std::string entry = ini.ReadString("Extensions", EntryKey(i), "", kEntryLimit);
            const auto comma = entry.find(',');
            if (comma == std::string::npos) continue;
            list.entries_.push_back({entry.substr(0, comma), entry.substr(comma + 1)});
        }
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

int ExtensionList::Accept(std::string_view typed_extension, std::string_view typed_description,
                          const std::string& settings)
{
    typed_extension = typed_extension.substr(0, std::min(typed_extension.size(), kTypedExtensionLimit));
    typed_description = typed_description.substr(0, std::min(typed_description.size(), kTypedDescriptionLimit));
    const int count = static_cast<int>(entries_.size());
    for (int i = 0; i < count; ++i) {
        const FileType& entry = entries_[std::size_t(i)];
        profile_update::WriteString("Extensions", EntryKey(i + 1), EntryValue(entry.description, entry.extension), settings);
    }
    profile_update::WriteInt("Extensions", "Count", count, settings);

    const std::string typed = text::UpperAscii(typed_extension);
    const std::string selected_text = selected_ >= 0 ? entries_[std::size_t(selected_)].extension : std::string();
    int preferred = selected_;
    const bool names_an_entry =
        typed == text::UpperAscii(selected_text) ||
        std::any_of(entries_.begin(), entries_.end(),
                    [&](const FileType& entry) { return text::UpperAscii(entry.extension) == typed; });
    if (!names_an_entry) {
        profile_update::WriteInt("Extensions", "Count", count + 1, settings);
        profile_update::WriteString("Extensions", EntryKey(count + 1), EntryValue(typed_description, typed_extension),
                             settings);
        entries_.push_back({std::string(typed_description), std::string(typed_extension)});
        preferred = count;
    }
    selected_ = preferred;
    profile_update::WriteInt("Extensions", "Selected", preferred, settings);
    return preferred;
}
