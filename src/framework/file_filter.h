#pragma once
// The file-type filter of the file dialogs, built from the Extensions
// section of the settings file.

#include <QStringList>

#include <string>

// "Desc (*.ext)|*.ext|" for every entry "Desc,ext" of Extensions/ext_1..Count
// (an entry without a comma adds nothing); strings::kDefaultFilter when
// Count is 0.
// Reads `settings` (the settings file path).
std::string BuildFilterText(const std::string& settings);

// Makes Extensions/Path the current directory when it names one.
void EnterFilterDirectory(const std::string& settings);

// The filter of the settings file in use, after making its Extensions/Path
// the current directory: what every file dialog of the program offers.
std::string BuildFilter();

// "Desc (*.ext)|*.ext|..." as QFileDialog filters "Desc (patterns)": "*.*"
// and "*" match every name; a pattern with letters matches either case.
QStringList QtFileFilters(const std::string& filter);
