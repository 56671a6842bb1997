#pragma once
// The grep run: walks a directory tree (DirectoryWalk), scans every
// matching file for a literal text and hands its host one hit (path and
// line number) per matching line.
//
// A line is everything up to its line feed, whatever its length; a carriage
// return directly before the line feed is not part of the line; every other
// byte (NUL, a lone CR, 0x1A) is an ordinary byte. A last line without a
// line feed is a line.

#include "search/directory_walk.h"
#include "search/file_reading.h"
#include "search/grep_options.h"
#include "search/scan_hit.h"
#include "search/search_host.h"

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class GrepHost;
class TextMatcher;
namespace file_reading {
struct File;
}

class GrepEngine : public DirectoryWalk {
public:
    using Options_t = GrepOptions;

    explicit GrepEngine(GrepHost& host);
    ~GrepEngine() override;

    Options_t options;
    // Bytes read from a file at a time (at least 1). Tests make it small,
    // so that their files cross many block borders.
    std::size_t block_size = file_reading::kBlockSize;
    // Hand each hit's line text to the host (GrepHit::text) where the scan
    // holds it, sparing a host that prints it reading the file again.
    bool keep_line_texts = false;
    // Result lines added by the current (or last) run.
    long matches = 0;
    // Matches in those lines; more than `matches` where a line holds several.
    long match_total = 0;
    // The summary of a search that does not replace adds `match_total`
    // where it differs from `matches` (the window's status does; the
    // command-line tools keep their summary).
    bool summary_tells_match_total = false;
    // A replacing run that writes nothing (a dry run): its summary says how
    // many files it would have replaced.
    bool replacement_is_dry_run = false;
    // Files the host replaced in the current (or last) run.
    long replaced = 0;
    // Files with hits a replacing run left alone because its replacement
    // text is empty (an empty replacement replaces nothing).
    long unchanged = 0;

    // Runs a whole search from `options`: resets the counters, clears the
    // results and walks the tree. Returns false when the top directory could
    // not be made current (the status then says "Invalid path: %s.").
    // `stop` is left as it is: the Go button clears it first. An empty
    // search text finds nothing (the files are still walked and counted).
    bool RunSearch();

    // Scans one file, given its full path; adds its result lines and hands
    // it on for replacement when it had a hit and `options.replace` is set.
    // A file that cannot be opened (or is no regular file) is skipped.
    void SearchFile(const std::string& path);

    // The whole-word test of the occurrence at `pos` (length `length`) in
    // `line`; always true when `options.whole_words` is off.
    bool IsWholeWord(std::string_view line, std::size_t pos, std::size_t length) const;

protected:
    bool SearchSubDirectories() const override { return options.sub_dir; }
    ExclusionChoice Exclusions() const override { return options.exclusions; }
    void VisitFile(const std::string& path, int dir_fd, const std::string& name) override;
    std::string SummaryText() const override;
    ScanAhead::ScanFunction AheadScan() const override;

private:
    class Scan;
    class ListingSink;
    // The options a scan depends on, as a run ahead of the walk took them.
    struct ScanOptions {
        MatchQuery query;
        bool show_lines = false;
        bool keep_texts = false;
        bool operator==(const ScanOptions&) const = default;
    };
    ScanOptions CurrentScanOptions() const;
    void SearchOpenFile(file_reading::File file, const std::string& path);
    // Lists a hit of the file at `path`.
    void ListHit(const std::string& path, const ScanHit& hit, LineText text);
    // After a file is scanned: the replacement hand-off.
    void FileDone(const std::string& path, bool hit, dev_t device, ino_t inode);
    void PrepareScan();
    void ReleaseScanState();

    GrepHost& grep_host_;
    // Scan state of a run, released when it ends. The matcher is shared with
    // the scans made ahead of the walk.
    std::shared_ptr<const TextMatcher> matcher_;
    MatchQuery matcher_query_;  // what matcher_ was made for
    std::vector<char> buffer_;
    // The options the scans ahead of the walk were started with.
    mutable ScanOptions ahead_options_;
    // Files replaced in this run: a scan of one of them made before the
    // replacement is out of date.
    std::set<std::pair<dev_t, ino_t>> replaced_files_;
};

// The grep window or tool: a SearchHost that also takes the replacement
// hand-off of each file with a hit.
class GrepHost : public virtual SearchHost {
public:
    // A replacing run starts below `top_dir` (the directory made current).
    virtual void ReplacementStarts(const std::string& /*top_dir*/) {}
    // Called after the file is closed, with the path as listed, whether the
    // walk found it below a hidden sub-directory, and a copy of the run's
    // options (Replace All when `show_lines` is set). True when the file
    // was replaced.
    virtual bool ReplaceInFile(const std::string& path, bool in_hidden_directory,
                               GrepEngine::Options_t options) = 0;
};
