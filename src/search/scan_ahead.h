#pragma once
// Scanning ahead on a second thread. While the walk of a run takes its
// files one after the other on the window's thread, a helper thread walks
// the same tree by the same rules and scans the files the walk will come
// to, keeping what each scan found. The walk then takes each file's scan
// in its own order and reports it as if it had just scanned the file, so
// results, status texts and event pumps come exactly as without the helper.
//
// The walk scans a file itself when the helper has not reached it yet,
// and while the helper is busy with the file the walk waits for, it scans
// later files into their buffers: both cores are kept busy, and the order
// of the results is the walk's. Only the walk's thread talks to the host;
// the helper only opens, reads and lists.
//
// The walk also takes the helper's listing of each directory the helper
// has listed already, rather than reading the directory a second time.
//
// The helper never gets far ahead: it holds at most a few hundred files
// and a bounded number of results; a scan that would hold more is cut
// short and left to the walk to do again.

#include "search/directory_listing.h"
#include "search/file_reading.h"
#include "search/walk_exclusions.h"
#include "search/scan_hit.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include <sys/types.h>

// Receives the numbers a scan finds (hit lines, or a line count).
class NumberSink {
public:
    virtual ~NumberSink() = default;
    // False when the scan must end here (the sink holds no more).
    virtual bool Add(long number) = 0;
    // A hit of a grep scan, with its line's text when the scan keeps texts;
    // a sink that keeps only numbers takes its line.
    virtual bool AddHit(const ScanHit& hit, LineText /*text*/) { return Add(hit.line); }
    // Asked between blocks: true when the scan is no longer wanted.
    virtual bool Cancelled() const { return false; }
};

// What the scan of one file found.
struct FileScan {
    bool opened = false;    // the file could be opened as a regular file
    bool complete = true;   // false: cut short, to be scanned again
    dev_t device = 0;       // which file it was, when opened
    ino_t inode = 0;
    std::vector<long> numbers;
    std::vector<ScanHit> hits;  // of a grep scan
    // When the scan kept texts: each hit's text length (kNoText for one not
    // kept), the texts one after the other.
    static constexpr std::uint32_t kNoText = UINT32_MAX;
    std::vector<std::uint32_t> text_lengths;
    std::string texts;
    std::size_t Held() const { return numbers.size() + hits.size(); }
};

class ScanAhead {
public:
    // Scans an open file into the sink, using `buffer` as its own (sized as
    // it needs); called on both threads, so it may touch nothing else.
    using ScanFunction = std::function<void(file_reading::File& file, std::vector<char>& buffer, NumberSink& sink)>;

    // Starts the helper on the directory `top` (a full path, as the walk
    // shows it) with the walk's file pattern, choice of sub-directories and
    // exclusions in the top directory.
    ScanAhead(std::string top, std::string file_pattern, bool sub_dirs, ScanFunction scan,
              FolderExclusions exclusions = {});
    // Stops the helper and waits for it.
    ~ScanAhead();
    ScanAhead(const ScanAhead&) = delete;
    ScanAhead& operator=(const ScanAhead&) = delete;

    // The scan of the file the walk visits now (its `path` as the walk
    // shows it), complete; null when the walk is to scan the file itself.
    // Files the helper listed before this one and the walk never visited
    // (they vanished, or the tree changed between the two listings) are
    // dropped.
    std::unique_ptr<FileScan> Take(const std::string& path);

    // The helper's listing of the directory at `path` (as the walk shows
    // it), when it has listed it already: spares the walk listing it again.
    bool TakeListing(const std::string& path, DirectoryListing& out);

    // Most files held ahead of the walk, and most numbers held in them.
    static constexpr std::size_t kMaxFilesAhead = 256;
    static constexpr std::size_t kMaxNumbersHeld = std::size_t{1} << 22;
    // Most bytes of line texts one file's scan holds; more are left to the
    // walk to scan again.
    static constexpr std::size_t kMaxTextHeld = std::size_t{8} << 20;

private:
    struct Directory;
    struct Job;
    class HeldSink;
    enum class State { kPending, kScanning, kDone };

    void HelperLoop();
    // What one step of the helper's walk found: the files of the directory
    // it listed, and the listing itself for the walk.
    struct Step {
        std::vector<std::shared_ptr<Job>> jobs;
        std::string listed;  // the directory's path; empty when none was listed
        DirectoryListing listing;
    };
    // Lists the next directory. False when the walk is over.
    bool WalkStep(Step& step);
    void Enter(const std::shared_ptr<Directory>& dir, Step& step);
    // The first file not yet taken up, from the `from`th held on.
    std::shared_ptr<Job> FirstPending(std::size_t from);
    // Takes up a pending file for scanning.
    void Claim(Job& job);
    void PopFront();
    // Scans a job taken up (state kScanning) without the lock, then
    // marks it done under the lock `lock` holds again.
    void ScanJob(const std::shared_ptr<Job>& job, std::vector<char>& buffer, std::unique_lock<std::mutex>& lock);
    // Lets go of a job the walk will not take.
    void Drop(Job& job);

    const std::string top_;
    const std::string file_pattern_;
    const bool sub_dirs_;
    const ScanFunction scan_;
    const FolderExclusions top_exclusions_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Job>> jobs_;  // in walk order
    // Listings made by the helper that the walk has not taken yet.
    std::unordered_map<std::string, DirectoryListing> listings_;
    std::atomic<std::size_t> numbers_held_{0};  // in the jobs' scans
    std::size_t pending_ = 0;                   // files not taken up yet
    std::uint64_t front_seq_ = 0;               // files ever taken off the front
    std::uint64_t pending_from_ = 0;            // no file before this one is pending
    bool walk_over_ = false;
    std::atomic<bool> cancelled_{false};

    // The helper's walk: the open directories from the top down, each
    // with the sub-directories it has yet to enter.
    struct Frame {
        std::shared_ptr<Directory> dir;
        std::vector<std::string> sub_dirs;
        std::size_t next = 0;
    };
    std::vector<Frame> frames_;
    bool started_ = false;

    std::vector<char> walk_buffer_;  // the walk's own scans
    std::thread helper_;
};
