#include "dialogs/preference_values.h"

#include "settings/profile.h"
#include "settings/profile_snapshot.h"

namespace {

// Longer than any value OK writes, so that the comparison sees it whole.
constexpr std::size_t kCompareLimit = 255;

template <class Setting>
SettingWrite WriteOf(const Setting& declared, std::string value)
{
    return {std::string(declared.section), std::string(declared.key), std::move(value)};
}

} // namespace

StoredPreferences ReadPreferences(const std::string& settings)
{
    const profile::Snapshot ini(settings);  // one read for every key
    StoredPreferences stored;
    stored.tab_stops = setting::kTabStopsText.Read(ini);
    stored.auto_indent = setting::kAutoIndent.Read(ini);
    stored.undo_limit = setting::kUndoLimit.Read(ini);
    stored.font = setting::kFont.Read(ini);
    stored.background = setting::kBackground.Read(ini);
    stored.text = setting::kForeground.Read(ini);
    return stored;
}

std::vector<SettingWrite> PreferenceWrites(const ChosenPreferences& chosen, int remembered_undo_limit)
{
    std::vector<SettingWrite> writes{
        WriteOf(setting::kBackground, FormatRgb(chosen.background)),
        WriteOf(setting::kForeground, FormatRgb(chosen.text)),
        WriteOf(setting::kFont.face, chosen.font.face),
        WriteOf(setting::kFont.size, setting::IntSetting::Format(chosen.font.size)),
        WriteOf(setting::kFont.weight, setting::IntSetting::Format(chosen.font.weight)),
        WriteOf(setting::kTabStops, setting::IntSetting::Format(chosen.tab_stops)),
        WriteOf(setting::kAutoIndent, setting::FlagSetting::Format(chosen.auto_indent)),
    };
    if (chosen.undo_limit != remembered_undo_limit)
        writes.push_back(WriteOf(setting::kUndoLimit, setting::IntSetting::Format(chosen.undo_limit)));
    return writes;
}

bool ApplyWrites(const std::vector<SettingWrite>& writes, const std::string& settings)
{
    // A value no write makes, so that a missing key always differs.
    static const std::string kMissing("\n");
    bool changed = false;
    for (const SettingWrite& write : writes) {
        const std::string before = profile::ReadString(write.section, write.key, kMissing, kCompareLimit, settings);
        if (before == write.value) continue;  // each write replaces the whole file
        changed = true;
        profile::WriteString(write.section, write.key, write.value, settings);
    }
    return changed;
}
