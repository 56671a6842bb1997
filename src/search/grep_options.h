#pragma once
// The options of one grep run, as the Grep window reads them from its
// controls and the command-line tool from its arguments: what to match (a
// match query) and where and how to search. A replacement request carries a
// copy.

#include "base/match_query.h"

#include "search/exclusion_choice.h"

#include <string>

struct GrepOptions : MatchQuery {
    std::string path;         // directory, '/', file name pattern
    std::string replacement;  // may be empty
    bool text_only = false;   // carried along, never consulted by the run
    bool sub_dir = false;     // also search every sub-directory
    bool replace = false;     // hand each file with a hit to ReplaceInFile
    bool show_lines = false;  // every matching line, not only the first
    ExclusionChoice exclusions;
};
