#pragma once
// The one form a file's path takes once the program holds it: absolute and
// lexically normal. The frame names its windows' files so, and finding the
// window that shows a file compares against that same form.

#include <string>

// `path` made absolute against `current_directory` (itself absolute) and
// lexically normal: "." and ".." steps resolved without asking the file
// system, repeated slashes folded, ".." above the root dropped. The bytes
// of the names pass as they are. An empty path stays empty.
std::string FullPath(const std::string& path, const std::string& current_directory);

// FullPath against the process's current directory; a relative `path`
// stays unchanged when that cannot be read (it was removed, for one).
std::string FullPath(const std::string& path);
