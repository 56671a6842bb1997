#pragma once
// The way back from a replacing grep run. Before a file of the run is
// replaced, its original bytes go into the run's journal and are flushed
// to disk; only then is the file written. A file whose bytes cannot be
// kept is not replaced at all.
//
// Each run has a folder of its own in the program's private state
// (base/state_folder.h, folder "replacements"), named so that names sort
// by the run's start, holding one file, "manifest", written only by
// appending: a header (when the run started, its search text and
// replacement), then per file a record of its path, identity (device,
// inode, size, modification time), the hashes and sizes of its bytes
// before and after the replacement and its original bytes, and, once the
// file is written, a second record saying so. One flush covers a file's
// record and its original bytes. A record cut short by a crash belongs to
// a file that was not touched yet and is ignored.
//
// Restoring a run gives each file whose bytes are still those the run
// wrote its original bytes back, through the same safe save as every
// other write (owner, mode, hard links and symbolic links kept); a file
// changed since is left alone and listed. Whether a file was written is
// decided by its bytes, so a run killed between a write and its record is
// restored as well. A live run keeps its manifest locked: nobody restores,
// deletes or drops it meanwhile.
//
// The journal keeps the last kMaxRuns runs and at most kMaxBytes of
// original bytes; older runs are dropped when a run starts and when it
// grows past the room it made.

#include "base/file_identity.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace replacement_journal {

// A run older than the one being made, and the original bytes it keeps.
struct OlderRun {
    std::string id;
    std::uint64_t bytes = 0;
};

inline constexpr std::size_t kMaxRuns = 20;
inline constexpr std::uint64_t kMaxBytes = 2ull << 30;

// What the journal keeps at most.
struct Limits {
    std::size_t runs = kMaxRuns;
    std::uint64_t bytes = kMaxBytes;  // original bytes of every run together
};

// One file of a run, as its manifest records it.
struct FileEntry {
    std::string path;
    FileIdentity before;            // the file as the run found it
    std::uint64_t hash_before = 0;  // ContentHash of the original bytes
    std::uint64_t hash_after = 0;   // ... and of the bytes the run wrote
    std::uint64_t size_after = 0;
    bool written = false;           // the run recorded the write as done
    std::uint64_t original_at = 0;  // offset of the original bytes in the manifest
};

struct RunInfo {
    std::string id;  // the folder's name
    std::int64_t started_seconds = 0;
    std::string pattern;
    std::string replacement;
    std::vector<FileEntry> files;
    std::uint64_t bytes = 0;  // original bytes kept
};

// The runs kept, newest first (their original bytes are not read).
std::vector<RunInfo> ListRuns();
// The run named `id` (with its files); false when there is none.
bool ReadRun(const std::string& id, RunInfo& run);

// The journal of a run being made.
class Writer {
public:
    enum class Keep {
        kKept,        // original bytes flushed: the file may be written
        kOverBudget,  // keeping them would pass the byte limit for this run alone
        kFailed,      // the journal cannot be written (no space, no folder, ...)
    };

    Writer() = default;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    ~Writer();  // ends the run

    // Starts a run: drops older runs beyond the limits (keeping room for
    // `expected_bytes`), makes the run's folder and flushes its header.
    // False when the journal cannot be made.
    bool Begin(std::string_view pattern, std::string_view replacement, std::uint64_t expected_bytes = 0,
               const Limits& limits = {});
    bool Begun() const { return fd_ >= 0; }
    // Lets this run keep more than the byte limit (the user agreed).
    void AllowOverBudget() { over_budget_allowed_ = true; }

    // Keeps the original bytes of the file at `path` (as `before` found
    // it) before it is replaced by bytes of hash `hash_after`, size
    // `size_after`.
    Keep KeepOriginal(const std::string& path, const FileIdentity& before, std::string_view original,
                      std::uint64_t hash_after, std::uint64_t size_after);
    // The last file kept has been written.
    void MarkWritten();
    // Ends the run; a run that kept nothing leaves no folder.
    void End();

    const std::string& id() const { return id_; }
    long files() const { return files_; }

private:
    int fd_ = -1;
    std::string journal_folder_;  // where the runs' folders lie
    std::string folder_;          // this run's
    std::string id_;
    long files_ = 0;
    std::uint64_t bytes_ = 0;
    Limits limits_;
    // The older runs as this one began, oldest first: dropped one by one
    // while this run needs their room.
    std::vector<OlderRun> older_;
    std::uint64_t older_bytes_ = 0;
    bool DropOldest();
    void MakeRoom(std::uint64_t bytes);
    bool over_budget_allowed_ = false;
};

struct RestoreResult {
    bool found = false;                // the run was there and not in use
    long restored = 0;                 // files given their original bytes back
    long untouched = 0;                // files the run never wrote (they are as they were)
    std::vector<std::string> changed;  // changed since the run: left as they are
    std::vector<std::string> failed;   // could not be written back
};

// Restores the run named `id`. The run is deleted when nothing was left;
// otherwise it stays, and restoring it again touches only what is still
// the run's.
RestoreResult Restore(const std::string& id);
// Deletes the run named `id` (not one in use).
bool Delete(const std::string& id);

// The text a run's list entry or the command line shows: its start (local
// time), search text, replacement and number of files.
std::string DescribeRun(const RunInfo& run);

}  // namespace replacement_journal
