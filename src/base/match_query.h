#pragma once
// What a search looks for: the pattern's bytes and the flags every search
// of the program spells the same way. The Find and Replace dialogs, the
// Grep window and the command-line tool each fill one in; a matcher is made
// from it.

#include <string>

struct MatchQuery {
    std::string pattern;
    bool case_sensitive = false;
    bool whole_words = false;  // no word character touches a match
    bool regex = false;        // the pattern is a regular expression
    bool operator==(const MatchQuery&) const = default;
};
