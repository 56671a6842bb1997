#pragma once
// The line-count run: walks a directory tree (DirectoryWalk) and hands its
// host one count (path and lines) per matching file. A line ends at a line
// feed; a last line without one counts, an empty file counts 0.

#include "search/directory_walk.h"
#include "search/search_host.h"

#include <string>
#include <vector>

namespace file_reading {
struct File;
}

class LineCounter : public DirectoryWalk {
public:
    struct Options_t {
        std::string path;  // directory, '/', file name pattern
        bool sub_dir = false;
        ExclusionChoice exclusions;
    };

    explicit LineCounter(SearchHost& host);
    ~LineCounter() override;

    Options_t options;
    // Total of the counted lines; like `files` it goes on from run to run
    // unless a run resets it.
    long lines = 0;

    // Runs a count from `options`. With `reset`, the counters are set to 0
    // and the results cleared first; otherwise the new entries follow the
    // earlier ones and the totals go on. Returns false when the top
    // directory could not be made current. `stop` is left as it is.
    bool RunCount(bool reset);

    // Counts one file, given its full path, and lists it. A file that cannot
    // be opened (or is no regular file) gets no entry.
    void CountFile(const std::string& path);

protected:
    bool SearchSubDirectories() const override { return options.sub_dir; }
    ExclusionChoice Exclusions() const override { return options.exclusions; }
    void VisitFile(const std::string& path, int dir_fd, const std::string& name) override;
    std::string SummaryText() const override;
    ScanAhead::ScanFunction AheadScan() const override;

private:
    void CountOpenFile(file_reading::File file, const std::string& path);
    void ListCount(const std::string& path, long count);

    std::vector<char> buffer_;  // block buffer of a run, released when it ends
};
