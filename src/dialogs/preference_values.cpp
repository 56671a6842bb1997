#include "dialogs/preference_values.h"

#include "settings/profile.h"

#include <algorithm>

namespace {

constexpr std::size_t kFaceLimit = 127;
constexpr std::size_t kValueLimit = 255;
constexpr int kDefaultFontSize = 12;

} // namespace

StoredPreferences ReadPreferences(const std::string& settings)
{
    StoredPreferences stored;
    stored.tab_stops = profile::ReadString("Display", "tab_stops", "4", kValueLimit, settings);
    stored.auto_indent = profile::ReadInt("Options", "auto_indent", 1, settings) != 0;
    stored.undo_limit = std::clamp(profile::ReadInt("Options", "undo_limit", 16, settings),
                                   kUndoLimitMin, kUndoLimitMax);
    stored.font.face = profile::ReadString("Font", "font_name", "Courier New", kFaceLimit, settings);
    const int size = profile::ReadInt("Font", "font_size", kDefaultFontSize, settings);
    stored.font.size = size > 0 ? size : kDefaultFontSize;
    stored.font.weight = profile::ReadInt("Font", "font_weight", 0, settings);
    stored.background = ParseRgb(profile::ReadString("Display", "bk_color", "255 255 255", kValueLimit, settings));
    stored.text = ParseRgb(profile::ReadString("Display", "fg_color", "0 0 0", kValueLimit, settings));
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
