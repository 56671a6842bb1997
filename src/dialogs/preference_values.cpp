#include "dialogs/preference_values.h"

#include "settings/profile.h"
#include "settings/profile_snapshot.h"

#include <algorithm>

namespace {

constexpr std::size_t kFaceLimit = 127;
constexpr std::size_t kValueLimit = 255;
constexpr int kDefaultFontSize = 12;

} // namespace

StoredPreferences ReadPreferences(const std::string& settings)
{
    const profile::Snapshot ini(settings);  // one read for every key
    StoredPreferences stored;
    stored.tab_stops = ini.ReadString("Display", "tab_stops", "4", kValueLimit);
    stored.auto_indent = ini.ReadInt("Options", "auto_indent", 1) != 0;
    stored.undo_limit = std::clamp(ini.ReadInt("Options", "undo_limit", 16), kUndoLimitMin, kUndoLimitMax);
    stored.font.face = ini.ReadString("Font", "font_name", "Courier New", kFaceLimit);
    const int size = ini.ReadInt("Font", "font_size", kDefaultFontSize);
    stored.font.size = size > 0 ? size : kDefaultFontSize;
    stored.font.weight = ini.ReadInt("Font", "font_weight", 0);
    stored.background = ParseRgb(ini.ReadString("Display", "bk_color", "255 255 255", kValueLimit));
    stored.text = ParseRgb(ini.ReadString("Display", "fg_color", "0 0 0", kValueLimit));
    return stored;
}

std::vector<SettingWrite> PreferenceWrites(const ChosenPreferences& chosen, int remembered_undo_limit)
{
    std::vector<SettingWrite> writes{
        {"Display", "bk_color", FormatRgb(chosen.background)},
        {"Display", "fg_color", FormatRgb(chosen.text)},
        {"Font", "font_name", chosen.font.face},
        {"Font", "font_size", std::to_string(chosen.font.size)},
        {"Font", "font_weight", std::to_string(chosen.font.weight)},
        {"Display", "tab_stops", std::to_string(chosen.tab_stops)},
        {"Options", "auto_indent", chosen.auto_indent ? "1" : "0"},
    };
    if (chosen.undo_limit != remembered_undo_limit)
        writes.push_back({"Options", "undo_limit", std::to_string(chosen.undo_limit)});
    return writes;
}

bool ApplyWrites(const std::vector<SettingWrite>& writes, const std::string& settings)
{
    // A value no write makes, so that a missing key always differs.
    static const std::string kMissing("\n");
    bool changed = false;
    for (const SettingWrite& write : writes) {
        const std::string before = profile::ReadString(write.section, write.key, kMissing, kValueLimit, settings);
        if (before == write.value) continue;  // each write replaces the whole file
        changed = true;
        profile::WriteString(write.section, write.key, write.value, settings);
    }
    return changed;
}
