#pragma once
// The check-box options of the Grep window (section GrepOpts) and of the
// Line Count window (section CountOpts), each "%d" of 0 or 1. Any non-zero
// stored value reads as set. The Grep window's preview context is a number.

#include <string>

namespace profile {
class Snapshot;
}

struct GrepFlags {
    bool text_only = true;  // shown, never changed by the user, never used by a run
    bool sub_dir = false;
    bool whole_words = false;
    bool case_sensitive = false;
    bool replace = false;
    bool show_lines = false;
    bool use_gitignore = false;
    int context = 2;  // lines around the previewed hit, 0..9
};

GrepFlags LoadGrepFlags(const profile::Snapshot& settings);
GrepFlags LoadGrepFlags(const std::string& settings_path);
// Writes text_only, sub_dir, words, case, replace, show_lines, gitignore,
// context in that order; a context already stored is left alone.
void SaveGrepFlags(const GrepFlags& flags, const std::string& settings_path);

bool LoadCountSubDir(const profile::Snapshot& settings);
bool LoadCountSubDir(const std::string& settings_path);
void SaveCountSubDir(bool sub_dir, const std::string& settings_path);

// The Line Count window's "Use .gitignore".
bool LoadCountGitignore(const profile::Snapshot& settings);
void SaveCountGitignore(bool use_gitignore, const std::string& settings_path);
