#pragma once
// How the path field of the Grep and Line Count windows (and the PATH of the
// command-line tools) names the files of a run, and how the Search Path
// button fills that field.

#include <string>
#include <string_view>

// The path field derived from a chosen file: the file's directory, "/*",
// then its extension part, so that the run takes every file of that
// directory with the same extension. The extension part is the file name
// from its first "." on (both dots of "a.tar.gz"), or ".*" for a name
// without a dot. The path keeps its case: file names here are
// case-sensitive, and the wildcard match folds case anyway.
std::string SearchPathFromFile(std::string_view chosen_file);

// The path a run starts from: "dir/pattern" as typed, or, when the text
// names a directory (relative names from the current directory), every
// file in it: "dir/*.*".
std::string SearchPathArgument(std::string_view typed);
