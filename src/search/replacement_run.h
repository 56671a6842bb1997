#pragma once
// What a grep run that replaces keeps from file to file. Each file with a
// hit is looked at before anything is opened: a file reached before under
// another name (a symbolic or hard link: the same device and inode) is
// passed by, and a file in a hidden sub-directory, a binary file (one
// holding a NUL byte), a file the user may not write or a file that lies
// outside the run's tree (reached through a symbolic link that leads out of
// it) is left as it is.
// The files left alone are collected with the reason, and shown once,
// after the run, in one summary.

#include "search/file_replacement.h"
#include "search/grep_options.h"

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

class ReplacementRun {
public:
    // Why a file with a hit was not replaced.
    enum class Reason {
        kUnsaved,       // open in a window with changes not saved
        kBinary,        // holds a NUL byte
        kHidden,        // inside a hidden sub-directory of the run
        kReadOnly,      // the user may not write it
        kNotOpened,     // could not be opened in a text window
        kNoOccurrence,  // the text window found the text no more
        kNotSaved,      // replaced, but the save failed
        kOutside,       // reached through a link that leads out of the tree
        kNotKept,       // the journal could not keep its original bytes
        kChangedSince,  // changed between the search and the write
        kOverBudget,    // its original bytes would pass the journal's budget
    };
    struct LeftFile {
        Reason reason;
        std::string path;
    };
    enum class Verdict {
        kReplace,     // go ahead
        kSeenBefore,  // this file was handled under another name already
        kLeft,        // left alone; the reason is noted
    };

    // A new run: nothing seen, replaced or left. A file counts as inside
    // the run's tree when its real path (links resolved) lies below one of
    // `top_dirs`; with none given, every file does.
    void Start(const std::vector<std::string>& top_dirs = {});

    // The first look at the file at `path` (the walk says whether it lies
    // below a hidden sub-directory).
    Verdict Check(const std::string& path, bool in_hidden_directory);
    // Notes a file left alone for a reason found later.
    void Leave(Reason reason, const std::string& path);
    // Replaces the occurrences in a file that passed Check (through the
    // guard's journal) and notes the outcome; true when it was replaced.
    bool Replace(const std::string& path, const GrepOptions& options, const ReplacementGuard& guard = {});
    // Counts the file at `path` as replaced. Saving may have given it a new
    // inode (a new file renamed over the old): that one counts as seen too.
    void CountReplaced(const std::string& path);

    long replaced() const { return replaced_; }
    const std::vector<LeftFile>& left() const { return left_; }

    // The summary shown after a run that left files alone: the number of
    // files replaced, then the files left, grouped by reason, at most
    // `max_paths` of them (the text then says how many more there are).
    std::string SummaryText(std::size_t max_paths) const;

private:
    bool InsideTree(const std::string& path) const;

    std::set<std::pair<dev_t, ino_t>> seen_;
    std::vector<std::string> roots_;  // real paths of the top directories
    std::vector<LeftFile> left_;
    long replaced_ = 0;
};

// True when the file at `path` holds a NUL byte (false when it cannot be read).
bool HoldsNulByte(const std::string& path);
