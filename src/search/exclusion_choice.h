#pragma once
// A run's choice of what to leave out of its walk (see walk_exclusions.h),
// as the windows and the tools take it. Both are off by default.

#include <string>

struct ExclusionChoice {
    std::string patterns;       // Exclude patterns, separated by ';'
    bool ignore_files = false;  // .gitignore, .git/info/exclude, .ignore
};
