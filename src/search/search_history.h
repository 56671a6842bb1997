#pragma once
// The three history lists of the search windows (search texts, paths,
// replacement texts). Each list lives in its own settings section as
// "count", numbered items and "selected", the text of the last Go. Items are
// only ever appended; the window keeps its own copy of the list, read when it
// opens, and the combo box mirrors that copy.

#include "settings/setting_schema.h"

#include <string>
#include <string_view>
#include <vector>

namespace profile {
class Snapshot;
}

struct HistoryKind {
    setting::ListSetting list;
    bool fold_case;  // prefix selection ignores ASCII case
};

// Search and replacement texts fold case when the field is preselected;
// paths name files on a case-sensitive file system and compare exactly.
inline constexpr HistoryKind kSearchPatterns{setting::kSearchPatterns, true};
inline constexpr HistoryKind kSearchPaths{setting::kSearchPaths, false};
inline constexpr HistoryKind kReplacePatterns{setting::kReplacePatterns, true};
// Exclude patterns match names without regard to ASCII case.
inline constexpr HistoryKind kExcludePatterns{setting::kExcludePatterns, true};

class SearchHistory {
public:
    explicit SearchHistory(const HistoryKind& kind) : kind_(kind) {}

    // Reads "count" items (empty ones skipped) and picks the item that
    // "selected" names; see SelectIndex. Only items actually stored are
    // looked at, so a count larger than the list ends at its last item.
    void Load(const profile::Snapshot& settings);
    void Load(const std::string& settings_path);

    // The append-once rule, run at every Go: a text that is not empty and
    // equals no item exactly (case-sensitive, whole text) is appended and
    // written under the next free item number with the new "count"; in every
    // case "selected" becomes the text. Returns whether it was appended.
    bool Remember(std::string_view text, const std::string& settings_path);

    const std::vector<std::string>& items() const { return items_; }
    // Index of the item to show at opening, or -1 for an empty field.
    int selected() const { return selected_; }

    // The item that shows `text`: an item equal to it, else the first item
    // that begins with it. Both searches start at item `first` and wrap
    // round; the field of a window that opens starts at the second item. An
    // empty text selects nothing; -1 when no item fits.
    static int SelectIndex(const std::vector<std::string>& items, std::string_view text, bool fold_case,
                           int first = 1);

private:
    HistoryKind kind_;
    std::vector<std::string> items_;
    int selected_ = -1;
};
