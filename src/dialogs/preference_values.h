#pragma once
// The display and editing settings the Preferences dialog edits, as the
// settings file holds them: what the dialog reads when it loads its
// controls, and the writes its OK makes, in their order.

#include "dialogs/colour_swatches.h"
#include "settings/setting_schema.h"

#include <string>
#include <vector>

inline constexpr int kUndoLimitMin = setting::kUndoLimit.min;
inline constexpr int kUndoLimitMax = setting::kUndoLimit.max;

using FontChoice = setting::Font;

struct StoredPreferences {
    std::string tab_stops;  // as stored; the tab-stops list decides what it selects
    bool auto_indent = true;
    int undo_limit = 16;  // brought into kUndoLimitMin..kUndoLimitMax
    FontChoice font;
    Rgb background;
    Rgb text;
};

// Reads Display, Font and Options with their defaults ("4", 1, 16,
// "Courier New" 12 0, white on black). A size the views would not take
// (0 or below) reads as their 12.
StoredPreferences ReadPreferences(const std::string& settings);

// What the dialog holds when OK is pressed.
struct ChosenPreferences {
    Rgb background;
    Rgb text;
    FontChoice font;
    int tab_stops = 4;
    bool auto_indent = true;
    int undo_limit = 16;
};

struct SettingWrite {
    std::string section;
    std::string key;
    std::string value;
    friend bool operator==(const SettingWrite&, const SettingWrite&) = default;
};

// OK's writes in order: bk_color, fg_color, font_name, font_size,
// font_weight, tab_stops, auto_indent, and undo_limit only when it differs
// from `remembered_undo_limit` (the value read at the last load).
std::vector<SettingWrite> PreferenceWrites(const ChosenPreferences& chosen, int remembered_undo_limit);

// Makes the writes in order, skipping a value the file holds already; true
// when any of them changed what the file held (a missing key counts as
// changed).
bool ApplyWrites(const std::vector<SettingWrite>& writes, const std::string& settings);
