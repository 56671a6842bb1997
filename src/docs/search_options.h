#pragma once
// The last find and replace request of a document window: the texts and the
// flags its Find and Replace dialogs start from, remembered in section
// SchOpts of the settings file from one run to the next.

#include "base/match_query.h"

#include <cstddef>
#include <string>

namespace profile {
class Snapshot;
}

struct SearchOptions {
    std::string search_patt;
    std::string replace_patt;
    int whole_words = 0;
    int case_sensitive = 0;
    int replace = 0;  // stored and restored only
    int down = 1;

    // What the flags ask a search of `search_patt` to match.
    MatchQuery Query() const { return {search_patt, case_sensitive != 0, whole_words != 0}; }

    // Reads section SchOpts: missing keys give empty texts, whole words off,
    // case sensitive on, replace off, direction down.
    void Load(const profile::Snapshot& settings);
    void Load(const std::string& settingsPath);
    void Load();  // the file SettingsPath() names
    // Writes the six keys in their order; a failed write stays silent.
    void Save(const std::string& settingsPath) const;
    void Save() const;
};
