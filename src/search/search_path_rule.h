#pragma once
// The path field that the Search Path button derives from a chosen file:
// the file's directory, "/*", then its extension part, so that the run
// takes every file of that directory with the same extension.

#include <string>
#include <string_view>

// The extension part is the file name from its first "." on (both dots of
// "a.tar.gz"), or ".*" for a name without a dot. The path keeps its case:
// file names here are case-sensitive, and the wildcard match folds case
// anyway.
std::string SearchPathFromFile(std::string_view chosen_file);
