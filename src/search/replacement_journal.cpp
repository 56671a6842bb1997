#include "search/replacement_journal.h"

#include "base/atomic_file.h"
#include "base/content_hash.h"
#include "base/file_io.h"
#include "base/save_faults.h"
#include "base/save_recovery.h"
#include "base/state_folder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace replacement_journal {

namespace {

constexpr const char* kFolder = "replacements";
constexpr const char* kManifest = "/manifest";
constexpr std::string_view kMagic = "tarnwick replacement journal 1\n";
// The longest record line before its path (numbers only).
constexpr std::size_t kMaxLine = 512;

// A run's folder name: its start in nanoseconds (fixed width, so that
// names sort by time) and the process.
std::string NewRunId()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    char text[64];
    std::snprintf(text, sizeof text, "%019" PRId64 "-%d", static_cast<std::int64_t>(ns), static_cast<int>(::getpid()));
    return text;
}

bool ValidId(std::string_view id)
{
    return !id.empty() && id.find('/') == std::string_view::npos && !id.starts_with('.');
}

// Reads a manifest record by record through pread.
class ManifestReader {
public:
    explicit ManifestReader(int fd) : fd_(fd) {}

    // The next line (without its LF), at most kMaxLine bytes; false at the
    // end or for a line cut short.
    bool Line(std::string& line)
    {
        char buf[kMaxLine + 1];
        const ssize_t n = ::pread(fd_, buf, sizeof buf, static_cast<off_t>(at_));
        if (n <= 0) return false;
        const auto* lf = static_cast<const char*>(std::memchr(buf, '\n', static_cast<std::size_t>(n)));
        if (!lf) return false;
        line.assign(buf, static_cast<std::size_t>(lf - buf));
        at_ += line.size() + 1;
        return true;
    }
    // The next `size` bytes and the LF after them.
    bool Bytes(std::uint64_t size, std::string& out)
    {
        out.resize(size);
        std::uint64_t got = 0;
        while (got < size) {
            const ssize_t n = ::pread(fd_, out.data() + got, size - got, static_cast<off_t>(at_ + got));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            got += static_cast<std::uint64_t>(n);
        }
        at_ += size;
        return Skip(0);
    }
    // Passes over `size` bytes and the LF after them.
    bool Skip(std::uint64_t size)
    {
        char lf = 0;
        if (::pread(fd_, &lf, 1, static_cast<off_t>(at_ + size)) != 1 || lf != '\n') return false;
        at_ += size + 1;
        return true;
    }
    std::uint64_t at() const { return at_; }
    void Seek(std::uint64_t offset) { at_ = offset; }

private:
    int fd_;
    std::uint64_t at_ = 0;
};

bool StartsWith(const std::string& line, std::string_view word)
{
    return line.size() > word.size() && line.compare(0, word.size(), word) == 0 && line[word.size()] == ' ';
}

// Reads the manifest open on `fd` into `run`; false when its header is
// not whole. Records after the last whole one are ignored.
bool ParseManifest(int fd, RunInfo& run)
{
    ManifestReader in(fd);
    std::string line;
    if (!in.Line(line) || line + '\n' != kMagic || !in.Line(line)) return false;
    std::uint64_t pattern_size = 0, replacement_size = 0;
    if (std::sscanf(line.c_str(), "run %" SCNd64 " %" SCNu64 " %" SCNu64, &run.started_seconds, &pattern_size,
                    &replacement_size) != 3 ||
        pattern_size > kMaxLine * 64 || replacement_size > kMaxLine * 64)
        return false;
    if (!in.Bytes(pattern_size, run.pattern) || !in.Bytes(replacement_size, run.replacement)) return false;
    while (in.Line(line)) {
        FileEntry entry;
        FileIdentity& id = entry.before;
        std::uint64_t path_size = 0;
        std::size_t index = 0;
        if (StartsWith(line, "file")) {
            if (std::sscanf(line.c_str(),
                            "file %zu %" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNd64 " %" SCNd64 " %" SCNx64 " %" SCNx64
                            " %" SCNu64 " %" SCNu64,
                            &index, &id.device, &id.inode, &id.size, &id.mtime_seconds, &id.mtime_nanoseconds,
                            &entry.hash_before, &entry.hash_after, &entry.size_after, &path_size) != 10 ||
                index != run.files.size() || path_size > 65536 || !in.Bytes(path_size, entry.path))
                break;
            id.presence = FileIdentity::Presence::kPresent;
            id.regular = true;
            entry.original_at = in.at();
            if (!in.Skip(id.size)) break;
            run.bytes += id.size;
            run.files.push_back(std::move(entry));
        } else if (StartsWith(line, "written")) {
            if (std::sscanf(line.c_str(), "written %zu", &index) != 1 || index >= run.files.size()) break;
            run.files[index].written = true;
        } else {
            break;
        }
    }
    return true;
}

// Opens the manifest of run `id` and locks it (shared for a look, whole
// for a change); -1 when it is missing, not the user's own or in use.
int OpenManifest(const std::string& folder, const std::string& id, bool exclusive)
{
    const std::string path = folder + "/" + id + kManifest;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Removes a run's folder: the manifest, then the folder itself.
bool RemoveRun(const std::string& folder, const std::string& id)
{
    const std::string dir = folder + "/" + id;
    const bool gone = (::unlink((dir + kManifest).c_str()) == 0 || errno == ENOENT) && ::rmdir(dir.c_str()) == 0;
    if (gone) file_io::SyncFolder(folder);
    return gone;
}

// The names of the run folders, oldest first.
std::vector<std::string> RunIds(const std::string& folder)
{
    std::vector<std::string> ids;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return ids;
    while (const dirent* entry = ::readdir(dir.get()))
        if (ValidId(entry->d_name)) ids.emplace_back(entry->d_name);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// The runs kept, oldest first, with the original bytes of each; a run
// killed before its header was whole (it wrote nothing) goes. A run in use
// counts no bytes (its writer counts its own).
std::vector<OlderRun> KeptRuns(const std::string& folder)
{
    std::vector<OlderRun> kept;
    for (const std::string& id : RunIds(folder)) {
        const int fd = OpenManifest(folder, id, false);
        RunInfo run;
        const bool whole = fd >= 0 && ParseManifest(fd, run);
        if (fd >= 0) ::close(fd);
        const bool missing = fd < 0 && errno == ENOENT;
        if ((fd >= 0 && !whole) || missing) {
            RemoveRun(folder, id);
            continue;
        }
        kept.push_back({id, run.bytes});
    }
    return kept;
}

std::string Hex(std::uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%" PRIx64, value);
    return text;
}

}  // namespace

std::vector<RunInfo> ListRuns()
{
    std::vector<RunInfo> runs;
    const std::string folder = StateFolder(kFolder, false);
    if (folder.empty()) return runs;
    const std::vector<std::string> ids = RunIds(folder);
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        RunInfo run;
        if (ReadRun(*it, run)) runs.push_back(std::move(run));
    }
    return runs;
}

bool ReadRun(const std::string& id, RunInfo& run)
{
    const std::string folder = StateFolder(kFolder, false);
    if (folder.empty() || !ValidId(id)) return false;
    const int fd = OpenManifest(folder, id, false);
    if (fd < 0) return false;
    run = RunInfo{};
    run.id = id;
    const bool ok = ParseManifest(fd, run);
    ::close(fd);
    return ok;
}

Writer::~Writer()
{
    End();
}

bool Writer::Begin(std::string_view pattern, std::string_view replacement, std::uint64_t expected_bytes,
                   const Limits& limits)
{
    End();
    limits_ = limits;
    const std::string folder = StateFolder(kFolder);
    if (folder.empty()) return false;
    journal_folder_ = folder;
    older_ = KeptRuns(folder);
    older_bytes_ = 0;
    for (const OlderRun& run : older_) older_bytes_ += run.bytes;
    // Room for this run among the last ones.
    while (older_.size() >= limits_.runs && DropOldest()) {}
    MakeRoom(std::min(expected_bytes, limits_.bytes));
    for (int attempt = 0; attempt < 8 && fd_ < 0; ++attempt) {
        id_ = NewRunId();
        folder_ = folder + "/" + id_;
        if (::mkdir(folder_.c_str(), 0700) != 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        fd_ = ::open((folder_ + kManifest).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC | O_NOFOLLOW,
                     0600);
        if (fd_ < 0) {
            ::rmdir(folder_.c_str());
            return false;
        }
    }
    if (fd_ < 0) return false;
    files_ = 0;
    bytes_ = 0;
    over_budget_allowed_ = false;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "run %" PRId64 " %zu %zu\n", static_cast<std::int64_t>(seconds),
                  pattern.size(), replacement.size());
    const bool ok = ::flock(fd_, LOCK_EX) == 0 && file_io::WriteAll(fd_, kMagic) && file_io::WriteAll(fd_, numbers) &&
                    file_io::WriteAll(fd_, pattern) && file_io::WriteAll(fd_, "\n") &&
                    file_io::WriteAll(fd_, replacement) && file_io::WriteAll(fd_, "\n") &&
                    !save_faults::SaveStep("fsync") && ::fsync(fd_) == 0 && file_io::SyncFolder(folder_) &&
                    file_io::SyncFolder(folder);
    if (!ok) {
        ::close(fd_);
        fd_ = -1;
        RemoveRun(folder, id_);
    }
    return ok;
}

Writer::Keep Writer::KeepOriginal(const std::string& path, const FileIdentity& before, std::string_view original,
                                  std::uint64_t hash_after, std::uint64_t size_after)
{
    if (fd_ < 0) return Keep::kFailed;
    const std::uint64_t needed = bytes_ + original.size();
    if (needed > limits_.bytes && !over_budget_allowed_) return Keep::kOverBudget;
    MakeRoom(needed);
    std::string record = "file " + std::to_string(files_) + " " + std::to_string(before.device) + " " +
                         std::to_string(before.inode) + " " + std::to_string(original.size()) + " " +
                         std::to_string(before.mtime_seconds) + " " + std::to_string(before.mtime_nanoseconds) + " " +
                         Hex(ContentHash::Of(original)) + " " + Hex(hash_after) + " " + std::to_string(size_after) +
                         " " + std::to_string(path.size()) + "\n" + path + "\n";
    struct stat st {};
    const off_t start = ::fstat(fd_, &st) == 0 ? st.st_size : -1;
    const bool ok = start >= 0 && file_io::WriteAll(fd_, record) && file_io::WriteAll(fd_, original) &&
                    file_io::WriteAll(fd_, "\n") && !save_faults::SaveStep("fsync") && ::fdatasync(fd_) == 0;
    if (!ok) {
        // A record cut short would hide the ones after it: it goes.
        if (start < 0 || ::ftruncate(fd_, start) != 0) End();
        return Keep::kFailed;
    }
    ++files_;
    bytes_ += original.size();
    return Keep::kKept;
}

bool Writer::DropOldest()
{
    const std::string& folder = journal_folder_;
    while (!older_.empty()) {
        const OlderRun run = older_.front();
        older_.erase(older_.begin());
        const int fd = OpenManifest(folder, run.id, true);
        if (fd < 0) continue;  // in use, or gone meanwhile
        ::close(fd);
        if (!RemoveRun(folder, run.id)) continue;
        older_bytes_ -= run.bytes;
        return true;
    }
    return false;
}

void Writer::MakeRoom(std::uint64_t bytes)
{
    while (older_bytes_ + std::min(bytes, limits_.bytes) > limits_.bytes && DropOldest()) {}
}

void Writer::MarkWritten()
{
    if (fd_ < 0 || files_ == 0) return;
    // Not flushed: the bytes of the file tell as well whether it was written.
    file_io::WriteAll(fd_, "written " + std::to_string(files_ - 1) + "\n");
}

void Writer::End()
{
    if (fd_ < 0) return;
    ::fsync(fd_);
    ::close(fd_);
    fd_ = -1;
    if (files_ == 0) RemoveRun(journal_folder_, id_);
}

RestoreResult Restore(const std::string& id)
{
    RestoreResult result;
    const std::string folder = StateFolder(kFolder, false);
    if (folder.empty() || !ValidId(id)) return result;
    const int fd = OpenManifest(folder, id, true);
    if (fd < 0) return result;
    RunInfo run;
    if (!ParseManifest(fd, run)) {
        ::close(fd);
        return result;
    }
    result.found = true;
    ManifestReader in(fd);
    for (const FileEntry& entry : run.files) {
        // A write in place cut short is put right first, and what a killed
        // save left beside the file goes.
        save_recovery::RecoverFile(static_cast<dev_t>(entry.before.device), static_cast<ino_t>(entry.before.inode));
        atomic_file::RemoveLeftovers(entry.path);
        std::string now;
        const int file = ::open(entry.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        struct stat st {};
        const bool read = file >= 0 && ::fstat(file, &st) == 0 && S_ISREG(st.st_mode) && file_io::ReadAll(file, now);
        if (file >= 0) ::close(file);
        if (!read) {
            result.changed.push_back(entry.path);
            continue;
        }
        const std::uint64_t hash_now = ContentHash::Of(now);
        if (now.size() == entry.before.size && hash_now == entry.hash_before) {
            ++result.untouched;
            continue;
        }
        if (now.size() != entry.size_after || hash_now != entry.hash_after) {
            result.changed.push_back(entry.path);
            continue;
        }
        std::string original;
        in.Seek(entry.original_at);
        if (!in.Bytes(entry.before.size, original) || ContentHash::Of(original) != entry.hash_before ||
            !ReplaceFileContents(entry.path, original)) {
            result.failed.push_back(entry.path);
            continue;
        }
        ++result.restored;
    }
    ::close(fd);
    if (result.changed.empty() && result.failed.empty()) RemoveRun(folder, id);
    return result;
}

bool Delete(const std::string& id)
{
    const std::string folder = StateFolder(kFolder, false);
    if (folder.empty() || !ValidId(id)) return false;
    const int fd = OpenManifest(folder, id, true);
    if (fd < 0) return false;
    ::close(fd);
    return RemoveRun(folder, id);
}

std::string DescribeRun(const RunInfo& run)
{
    const std::time_t when = static_cast<std::time_t>(run.started_seconds);
    std::tm local{};
    char date[32] = "?";
    if (::localtime_r(&when, &local)) std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(date) + "  \"" + run.pattern + "\" -> \"" + run.replacement + "\"  " +
           std::to_string(run.files.size()) + (run.files.size() == 1 ? " file" : " files");
}

}  // namespace replacement_journal
