#pragma once
// What a run leaves out of its walk besides hidden files: entries whose
// names match the Exclude patterns, and, when the run uses the ignore
// files, entries that git would ignore (the repository's .git folder
// among them) or that a .ignore file names. An excluded folder is not
// entered at all.
//
// Ignore files are read as the walk enters each folder: its .gitignore
// (inside a repository only) and its .ignore; a folder holding ".git" is
// the top of a repository, whose .git/info/exclude applies below it and
// whose folders no longer see the ignore rules of a repository around it.
// For the top folder of a run, the folders above it up to the top of its
// repository give their rules too. Rules of deeper folders decide before
// those above; .ignore files before .gitignore files, those before
// .git/info/exclude.

#include "search/directory_listing.h"
#include "search/exclusion_choice.h"
#include "search/ignore_rules.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The Exclude patterns: wildcard patterns (the file pattern's rules)
// separated by ';', spaces around each dropped; each matches names of files
// and folders, one that ends in '/' names of folders only.
class NamePatterns {
public:
    explicit NamePatterns(std::string_view list);
    bool Excludes(std::string_view name, bool is_dir) const;
    bool empty() const { return patterns_.empty(); }

private:
    struct Pattern {
        std::string wildcard;
        bool dir_only = false;
    };
    std::vector<Pattern> patterns_;
};

class IgnoreLevel;

// The exclusions that hold in one folder of a walk. Copies are cheap and
// share what they read; each walking thread makes its own.
class FolderExclusions final : public EntryFilter {
public:
    // Leaves nothing out.
    FolderExclusions() = default;
    // The top folder `top_path` of a run, open as `top_fd`.
    FolderExclusions(const ExclusionChoice& choice, const std::string& top_path, int top_fd);
    ~FolderExclusions() override;
    FolderExclusions(const FolderExclusions&) = default;
    FolderExclusions& operator=(const FolderExclusions&) = default;

    // The sub-folder `name` of this folder, open as `fd`.
    FolderExclusions SubFolder(int fd, std::string_view name) const;

    bool Excludes(std::string_view name, bool is_dir) const override;

    // The filter to hand ListDirectory: null when nothing is left out.
    const EntryFilter* Filter() const { return names_ || level_ ? this : nullptr; }

private:
    std::shared_ptr<const NamePatterns> names_;  // null when there are none
    std::shared_ptr<const IgnoreLevel> level_;   // null without ignore files
};
