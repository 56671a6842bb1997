#pragma once
// The directory walk shared by the grep engine and the line counter.
//
// A run makes its top directory current. Each level lists the directory's
// ordinary files whose names match the file pattern, then (when asked)
// descends into its sub-directories, depth-first, each searched completely
// before the next. Names are taken in order: ASCII letters without regard
// to case, then byte order. Hidden files (name starts with '.') and system
// entries (anything neither a regular file nor a directory: FIFOs, sockets,
// devices, dangling links) are skipped; hidden directories are descended.
// A link to a file is taken as that file; a link to a directory is not
// descended, so no link loop can trap a run.
//
// Every directory below the top is opened relative to its parent and every
// file relative to its directory, so neither the depth of a tree nor the
// length of its names limits the walk; the full paths it reports are only
// texts. A directory that cannot be entered is named in the status at once
// and counted in the run's summary.

#include "search/scan_ahead.h"
#include "search/search_host.h"
#include "search/walk_exclusions.h"

#include <memory>
#include <string>

class DirectoryWalk {
public:
    DirectoryWalk(const DirectoryWalk&) = delete;
    DirectoryWalk& operator=(const DirectoryWalk&) = delete;

    // Set by StopSearch (inside the host's event pump); tested before each
    // further file and each further sub-directory.
    bool stop = false;
    // Whether a second thread scans files ahead of the walk (ScanAhead):
    // on where the machine has more than one core. What a run reports is
    // the same either way.
    bool scan_ahead = std::thread::hardware_concurrency() > 1;
    // Files whose names matched the pattern, including unreadable ones.
    long files = 0;
    // Sub-directories of the run that could not be entered or read, and the
    // path of the first of them.
    long not_entered = 0;
    std::string first_not_entered;
    // Files the pattern took and sub-directories left out by the run's
    // exclusions (see walk_exclusions.h); the run resets them with `files`.
    long excluded_files = 0;
    long excluded_dirs = 0;

    // Search one directory level and, when the run asks for it, every
    // sub-directory below it. Writes the run's summary when the level ends,
    // or "Invalid path: %s." when `dir` cannot be made current.
    void SearchDirectory(const std::string& dir, const std::string& file_pattern);

    // Puts `text` into the host's status line.
    void SetStatus(std::string_view text);

    // The Stop button: sets `stop` and says so in the status line.
    void StopSearch();

protected:
    explicit DirectoryWalk(SearchHost& host) : host_(host) {}
    virtual ~DirectoryWalk() = default;

    // The directory and file pattern a run starts from.
    struct Start {
        std::string dir;
        std::string file_pattern;
        bool entered = false;  // the directory was made current
    };
    // Splits `path` at its last '/' (without one, the file pattern is the
    // whole text and the directory the current one) and makes the directory
    // current; when it cannot be made current its text is kept as it is, so
    // that SearchDirectory reports it. Starts the count of directories not
    // entered afresh.
    Start EnterTopDirectory(const std::string& path);

    // The per-run choices and the per-file step of the derived run.
    virtual bool SearchSubDirectories() const = 0;
    // What the run leaves out of its walk; nothing unless a run says so.
    virtual ExclusionChoice Exclusions() const { return {}; }
    // The file at `path`, which is also `name` in the open directory `dir_fd`.
    virtual void VisitFile(const std::string& path, int dir_fd, const std::string& name) = 0;
    // The totals of the run as its status line shows them.
    virtual std::string SummaryText() const = 0;

    // The per-file scan a second thread may run ahead of the walk; none
    // (the default) keeps the run on one thread.
    virtual ScanAhead::ScanFunction AheadScan() const { return {}; }
    // The scan of the file at `path` made ahead of the walk, when there is
    // one; null when the file is to be scanned now.
    std::unique_ptr<FileScan> TakeScanAhead(const std::string& path)
    {
        return ahead_ ? ahead_->Take(path) : nullptr;
    }

    // True while the walk is below a hidden sub-directory (one whose name
    // starts with '.') of the top directory it was given.
    bool InHiddenDirectory() const { return hidden_levels_ > 0; }

    SearchHost& host_;

private:
    struct Level;
    // Lists and searches one open directory; false when it cannot be
    // entered or read.
    bool SearchLevel(Level& level, const std::string& file_pattern);
    void SearchSubDirectory(Level& parent, const std::string& name, bool last, const std::string& file_pattern);
    // Opens the given-up directory of `level` again after its sub-directory
    // `child_fd` (-1 when none is open) is done.
    void TakeBack(Level& level, int child_fd);
    // The directory of `level` opened afresh from the nearest level above
    // it that holds its directory; -1 when that fails.
    static int ReopenFromAbove(const Level& level);
    void ReportNotEntered(const std::string& path);
    // SummaryText and, when there were any, the directories not entered.
    std::string FullSummary() const;

    std::unique_ptr<ScanAhead> ahead_;  // during a run that scans ahead
    int depth_ = 0;          // levels open; the outermost makes its directory current again
    int open_levels_ = 0;    // directories held open by the levels of the walk
    int hidden_levels_ = 0;  // hidden sub-directories the walk is inside
};
