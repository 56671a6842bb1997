#pragma once
// The file-type filter of the file dialogs, built from the Extensions
// section of the settings file: pairs of a description and a pattern, kept
// apart so that a description may hold any character.

#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

struct NameFilter {
    std::string description;  // "Text Files"
    std::string pattern;      // "*.TXT"
    friend bool operator==(const NameFilter&, const NameFilter&) = default;
};
using FilterList = std::vector<NameFilter>;

// {"Desc (*.ext)", "*.ext"} for every entry "Desc,ext" of
// Extensions/ext_1..Count (an entry without a comma adds nothing); the
// pairs of strings::kDefaultFilter when Count is 0.
// Reads `settings` (the settings file path).
FilterList BuildFilterList(const std::string& settings);

// "Desc|pattern|Desc|pattern|" as its pairs (a last one without its
// pattern left out).
FilterList SplitFilterText(std::string_view text);

// Makes Extensions/Path the current directory when it names one.
void EnterFilterDirectory(const std::string& settings);

// The filter of the settings file in use, after making its Extensions/Path
// the current directory: what every file dialog of the program offers.
FilterList BuildFilter();

// The pairs as QFileDialog filters "Desc (patterns)": "*.*" and "*" match
// every name; a pattern with letters matches either case; a pattern splits
// at ';' and blanks into several.
QStringList QtFileFilters(const FilterList& filters);
