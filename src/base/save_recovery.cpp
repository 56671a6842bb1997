#include "base/save_recovery.h"

#include "base/content_hash.h"
#include "base/file_io.h"
#include "base/same_file.h"
#include "base/save_faults.h"
#include "base/state_folder.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace save_recovery {
namespace {

constexpr const char* kFolder = "unfinished-saves";
constexpr std::string_view kMagic = "tarnwick unfinished save 2\n";

std::uint64_t CheckSum(std::string_view bytes)
{
    return ContentHash::Of(bytes);
}

// "<device>-<inode>-": every record of one file starts so.
std::string NamePrefix(dev_t device, ino_t inode)
{
    char text[64];
    std::snprintf(text, sizeof text, "%" PRIxMAX "-%" PRIxMAX "-", static_cast<uintmax_t>(device),
                  static_cast<uintmax_t>(inode));
    return text;
}

struct Parsed {
    std::string path;
    std::uint64_t device = 0, inode = 0, old_size = 0, new_size = 0, old_sum = 0, new_sum = 0;
    std::string_view old_bytes, new_bytes;
};

// False for a record that is not whole.
bool Parse(std::string_view record, Parsed& out)
{
    if (!record.starts_with(kMagic)) return false;
    record.remove_prefix(kMagic.size());
    const auto eol = record.find('\n');
    if (eol == std::string_view::npos) return false;
    const std::string numbers(record.substr(0, eol));
    std::uint64_t path_size = 0;
    if (std::sscanf(numbers.c_str(), "%" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNx64 " %" SCNx64 " %" SCNu64,
                    &out.device, &out.inode, &out.old_size, &out.new_size, &out.old_sum, &out.new_sum, &path_size) != 7)
        return false;
    record.remove_prefix(eol + 1);
    if (record.size() < path_size + 1 || record[path_size] != '\n') return false;
    out.path = std::string(record.substr(0, path_size));
    record.remove_prefix(path_size + 1);
    if (record.size() != out.old_size + out.new_size) return false;
    out.old_bytes = record.substr(0, out.old_size);
    out.new_bytes = record.substr(out.old_size);
    return CheckSum(out.old_bytes) == out.old_sum && CheckSum(out.new_bytes) == out.new_sum;
}

// Whether `now` is what an unfinished write of `rec` can leave: every byte
// the old or the new one at its place, and a length between the two. Blocks
// may reach the disk in any order, so no order of the bytes is assumed.
// Anything else was written by someone after the crash and is theirs.
bool TornByThisWrite(std::string_view now, const Parsed& rec)
{
    const std::size_t shorter = std::min(rec.old_bytes.size(), rec.new_bytes.size());
    const std::string_view longer = rec.old_bytes.size() > shorter ? rec.old_bytes : rec.new_bytes;
    if (now.size() < shorter || now.size() > longer.size()) return false;
    for (std::size_t i = 0; i < shorter; ++i)
        if (now[i] != rec.old_bytes[i] && now[i] != rec.new_bytes[i]) return false;
    return now.substr(shorter) == longer.substr(shorter, now.size() - shorter);
}

// Whether the record `record_fd` may go: its write finished, the old bytes
// are back, or its file is not there any more.
bool Recover(int record_fd)
{
    std::string record;
    if (!file_io::ReadAll(record_fd, record)) return false;
    Parsed rec;
    if (!Parse(record, rec)) return true;  // the file was not touched yet
    const int fd = ::open(rec.path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR || errno == ELOOP;
    struct stat st {};
    bool done = false;
    if (::fstat(fd, &st) == 0) {
        std::string now;
        if (!S_ISREG(st.st_mode) || st.st_dev != rec.device || st.st_ino != rec.inode) {
            done = true;  // another file has the name now
        } else if (file_io::ReadAll(fd, now)) {
            const bool whole = now == rec.new_bytes || now == rec.old_bytes;
            done = whole || !TornByThisWrite(now, rec) || (::lseek(fd, 0, SEEK_SET) == 0 && file_io::WriteAll(fd, rec.old_bytes) &&
                             ::ftruncate(fd, static_cast<off_t>(rec.old_size)) == 0 && ::fsync(fd) == 0);
        }
    }
    ::close(fd);
    return done;
}

// Recovers the records of `folder` whose names start with `prefix`.
void RecoverIn(const std::string& prefix)
{
    const std::string folder = StateFolder(kFolder, false);
    if (folder.empty()) return;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name.starts_with('.') || !name.starts_with(prefix)) continue;
        const std::string path = folder + "/" + std::string(name);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat mine {};
        struct stat named {};
        // A live save holds its record locked; one removed meanwhile is done.
        if (::fstat(fd, &mine) == 0 && S_ISREG(mine.st_mode) && mine.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 && SameFile(mine, named) &&
            Recover(fd))
            ::unlink(path.c_str());
        ::close(fd);
    }
}

} // namespace

Record::~Record()
{
    if (fd_ >= 0) ::close(fd_);
}

bool Record::Begin(const std::string& path, const struct stat& st, std::string_view old_bytes,
                   std::string_view new_bytes)
{
    const std::string folder = StateFolder(kFolder);
    if (folder.empty() || fd_ >= 0) return false;
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "%ju %ju %zu %zu %" PRIx64 " %" PRIx64 " %zu\n",
                  static_cast<uintmax_t>(st.st_dev), static_cast<uintmax_t>(st.st_ino), old_bytes.size(),
                  new_bytes.size(), CheckSum(old_bytes), CheckSum(new_bytes), path.size());
    if (save_faults::SaveStep("open")) return false;
    // A record a dead process of the same number left (and that could not
    // be recovered) is never overwritten.
    for (int n = 0; fd_ < 0 && n < 16; ++n) {
        name_ = folder + "/" + NamePrefix(st.st_dev, st.st_ino) + std::to_string(::getpid()) + "." + std::to_string(n);
        fd_ = ::open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0 && errno != EEXIST) return false;
    }
    if (fd_ < 0) return false;
    const bool ok = ::flock(fd_, LOCK_EX) == 0 && file_io::WriteAll(fd_, kMagic) && file_io::WriteAll(fd_, numbers) &&
                    file_io::WriteAll(fd_, path) && file_io::WriteAll(fd_, "\n") && file_io::WriteAll(fd_, old_bytes) &&
                    file_io::WriteAll(fd_, new_bytes) &&
                    !save_faults::SaveStep("fsync") && ::fsync(fd_) == 0 && file_io::SyncFolder(folder);
    if (!ok) Finish();
    return ok;
}

void Record::Finish()
{
    if (fd_ < 0) return;
    // Removed while still locked, so a recovery never takes it for a dead one.
    if (!save_faults::SaveStep("unlink")) ::unlink(name_.c_str());
    ::close(fd_);
    fd_ = -1;
}

void RecoverAll()
{
    RecoverIn({});
}

void RecoverFile(dev_t device, ino_t inode)
{
    RecoverIn(NamePrefix(device, inode));
}

} // namespace save_recovery
