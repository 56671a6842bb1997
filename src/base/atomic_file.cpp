#include "base/atomic_file.h"

#include "base/file_io.h"
#include "base/same_file.h"
#include "base/save_faults.h"
#include "base/save_recovery.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::size_t kNameMax = 255;
constexpr const char* kAclAccess = "system.posix_acl_access";

// Whether the kernel would let this user follow the link at `path`: in a
// sticky directory that others may write (such as /tmp), only a link of
// the user's own or of the directory's owner is followed, so that nobody
// can plant a link there that leads another user's save elsewhere.
bool MayFollow(const std::string& path, const struct stat& link)
{
    if (link.st_uid == ::geteuid()) return true;
    const auto slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) return false;
    const bool shared = (st.st_mode & S_ISVTX) && (st.st_mode & S_IWOTH);
    return !shared || st.st_uid == link.st_uid;
}

// The file a path finally names: a link is followed (to any depth) so that
// the link itself stays in place. A target that does not exist yet is the
// path itself. Nothing when a link may not be followed or leads too deep.
std::optional<std::string> ResolveTarget(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        if (!MayFollow(current, st)) return std::nullopt;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
        if (n < 0) return std::nullopt;
        std::string next(buf, static_cast<std::size_t>(n));
        if (next.empty() || next[0] != '/') {
            const auto slash = current.rfind('/');
            next = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + next;
        }
        current = next;
    }
    return std::nullopt;
}

struct SplitPath {
    std::string dir;   // with its trailing '/', empty for the current directory
    std::string base;
};

SplitPath Split(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {{}, path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// A file without any write bit is read-only for everybody, root included;
// otherwise the kernel's rule for the effective user decides.
bool MayWrite(const std::string& path, const struct stat& st)
{
    return (st.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool InGroup(gid_t gid)
{
    if (gid == ::getegid()) return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count > 0 && ::getgroups(count, groups.data()) < 0) return false;
    for (const gid_t g : groups)
        if (g == gid) return true;
    return false;
}

// Writing to a set-user-id or set-group-id file takes those bits away; only
// the file's owner may set them again, and set-group-id only within the
// file's group. A save that could not give them back must not start.
bool CanKeepSpecialBits(const struct stat& st)
{
    if (::geteuid() == 0 || (st.st_mode & (S_ISUID | S_ISGID)) == 0) return true;
    if (st.st_uid != ::geteuid()) return false;
    return (st.st_mode & S_ISGID) == 0 || InGroup(st.st_gid);
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// Whether a path still leads to an open file (another process may have
// removed or replaced the name since it was opened).
bool NameLeadsTo(int fd, const std::string& path)
{
    struct stat mine {}, named {};
    return ::fstat(fd, &mine) == 0 && ::lstat(path.c_str(), &named) == 0 && SameFile(mine, named);
}

// Creates, locks and returns a free temporary file beside the target, or -1.
// When every slot is taken (by live saves, or by names others made), the
// file has no name at all (`name` empty) until Commit links it.
int CreateTemporary(const SplitPath& where, std::string& name)
{
    if (save_faults::SaveStep("open")) return -1;
    for (int attempt = 0; attempt < 2 * atomic_file::kTemporarySlots; ++attempt) {
        name = where.dir + atomic_file::TemporaryName(where.base, attempt % atomic_file::kTemporarySlots);
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR) continue;  // a live save holds this slot
            return -1;
        }
        if (::flock(fd, LOCK_EX) != 0) {
            // A file system without locks: the file is ours all the same,
            // only a cleaner could not tell it from a leftover.
            if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) return fd;
            ::unlink(name.c_str());
            ::close(fd);
            continue;
        }
        if (NameLeadsTo(fd, name)) return fd;
        ::close(fd);  // a cleaner took the name between creation and lock
    }
    name.clear();
    const int fd = ::open(where.dir.empty() ? "." : where.dir.c_str(), O_RDWR | O_TMPFILE | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return -1;
    // No unnamed files here: an unpredictable name instead.
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = where.dir + atomic_file::UnpredictableName(where.base);
        const int named = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (named >= 0 || errno != EEXIST) return named;
    }
    errno = EEXIST;
    return -1;
}

// Gives the unnamed file `fd` an unpredictable name beside the target.
bool LinkUnnamed(int fd, const SplitPath& where, std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = where.dir + atomic_file::UnpredictableName(where.base);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno != EEXIST) break;
    }
    name.clear();
    return false;
}

// Gives the temporary file the target's extended attributes (and no access
// list that the target lacks). False when that cannot be done.
bool CopyAttributes(const std::string& target, int fd)
{
    std::vector<char> names(1024);
    ssize_t size = 0;
    while ((size = ::listxattr(target.c_str(), names.data(), names.size())) < 0 && errno == ERANGE)
        names.resize(names.size() * 4);
    if (size < 0) return errno == ENOTSUP;
    bool target_has_acl = false;
    std::vector<char> value(256);
    for (std::size_t at = 0; at < static_cast<std::size_t>(size);) {
        const char* name = names.data() + at;
        at += std::char_traits<char>::length(name) + 1;
        target_has_acl = target_has_acl || std::string_view(name) == kAclAccess;
        ssize_t length = 0;
        while ((length = ::getxattr(target.c_str(), name, value.data(), value.size())) < 0 && errno == ERANGE)
            value.resize(value.size() * 4);
        if (length < 0 || ::fsetxattr(fd, name, value.data(), static_cast<std::size_t>(length), 0) != 0)
            return false;
    }
    // A default access list of the directory gives new files one.
    if (!target_has_acl && ::fgetxattr(fd, kAclAccess, nullptr, 0) >= 0 && ::fremovexattr(fd, kAclAccess) != 0)
        return false;
    return true;
}

// Makes the temporary file the target's twin in everything but contents:
// owner, group, attributes, and permission bits (tried here, set for good
// at Commit). False when any of them cannot be given.
bool MatchMetadata(int fd, const std::string& target, const struct stat& st)
{
    struct stat mine {};
    if (::fstat(fd, &mine) != 0) return false;
    if ((mine.st_uid != st.st_uid || mine.st_gid != st.st_gid) && ::fchown(fd, st.st_uid, st.st_gid) != 0)
        return false;
    if (!CopyAttributes(target, fd)) return false;
    const mode_t mode = st.st_mode & 07777;
    const bool kept = ::fchmod(fd, mode) == 0 && ::fstat(fd, &mine) == 0 && (mine.st_mode & 07777) == mode &&
                      mine.st_uid == st.st_uid && mine.st_gid == st.st_gid;
    ::fchmod(fd, 0600);  // private while it is being written
    return kept;
}

} // namespace

namespace atomic_file {

std::string TemporaryName(std::string_view base, int slot)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a of the whole name
    for (const char c : base) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char tail[32];
    std::snprintf(tail, sizeof tail, ".%016llx.tw-%x", static_cast<unsigned long long>(hash), slot & 0xf);
    const std::size_t room = kNameMax - 1 - std::char_traits<char>::length(tail);
    return "." + std::string(base.substr(0, room)) + tail;
}

std::string UnpredictableName(std::string_view base)
{
    std::uint64_t random[2] = {};
    if (::getrandom(random, sizeof random, 0) != sizeof random) {
        struct timespec now {};
        ::clock_gettime(CLOCK_REALTIME, &now);
        random[0] = static_cast<std::uint64_t>(now.tv_nsec) ^ (static_cast<std::uint64_t>(::getpid()) << 32);
        random[1] = static_cast<std::uint64_t>(now.tv_sec) * 1099511628211ull;
    }
    char tail[48];
    std::snprintf(tail, sizeof tail, ".tw-%016llx%016llx", static_cast<unsigned long long>(random[0]),
                  static_cast<unsigned long long>(random[1]));
    const std::size_t room = kNameMax - 1 - std::char_traits<char>::length(tail);
    return "." + std::string(base.substr(0, room)) + tail;
}

void RemoveLeftovers(const std::string& target_path)
{
    const std::optional<std::string> target = ResolveTarget(target_path);
    if (!target) return;
    const SplitPath where = Split(*target);
    const uid_t me = ::geteuid();
    for (int slot = 0; slot < kTemporarySlots; ++slot) {
        const std::string path = where.dir + TemporaryName(where.base, slot);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st {};
        // A save holds its file locked until the rename; a free lock means
        // the save that made the file is gone. Only the user's own files
        // are leftovers, root's included: another user's file of that name
        // is that user's business.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == me &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && NameLeadsTo(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }
}

} // namespace atomic_file

AtomicFileWriter::~AtomicFileWriter()
{
    Abort();
}

bool AtomicFileWriter::Open(const std::string& target_path)
{
    Abort();
    failed_ = false;
    in_place_ = false;
    warning_ = false;
    const std::optional<std::string> resolved = ResolveTarget(target_path);
    if (!resolved) return false;
    target_ = *resolved;

    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists && (!S_ISREG(st.st_mode) || !MayWrite(target_, st) || !CanKeepSpecialBits(st))) return false;
    mode_ = exists ? (st.st_mode & 07777) : NewFileMode();
    atomic_file::RemoveLeftovers(target_);

    open_ = true;
    buffer_.reserve(kBufferSize);
    // Renaming over a file with other links would split it from them.
    if (exists && st.st_nlink > 1) {
        SwitchToInPlace();
        return true;
    }
    fd_ = CreateTemporary(Split(target_), temp_);
    unnamed_ = fd_ >= 0 && temp_.empty();
    if (fd_ < 0) {
        temp_.clear();
        const bool dir_closed = errno == EACCES || errno == EPERM;
        if (exists && dir_closed) {
            SwitchToInPlace();
            return true;
        }
        open_ = false;
        return false;
    }
    if (exists && !MatchMetadata(fd_, target_, st)) SwitchToInPlace();
    return true;
}

void AtomicFileWriter::SwitchToInPlace()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    unnamed_ = false;
    in_place_ = true;
}

bool AtomicFileWriter::FlushBuffer()
{
    if (in_place_) return !failed_;
    if (!failed_ && !buffer_.empty() && !file_io::WriteAll(fd_, buffer_)) failed_ = true;
    buffer_.clear();
    return !failed_;
}

bool AtomicFileWriter::Write(std::string_view bytes)
{
    if (!open_ || failed_) return false;
    try {
        if (in_place_) {
            buffer_.append(bytes);  // nothing touches the target before Commit
            return true;
        }
        if (buffer_.size() + bytes.size() > kBufferSize && !FlushBuffer()) return false;
        if (bytes.size() >= kBufferSize) {
            if (!file_io::WriteAll(fd_, bytes)) failed_ = true;
            return !failed_;
        }
        buffer_.append(bytes);
    } catch (const std::bad_alloc&) {
        failed_ = true;
    }
    return !failed_;
}

bool AtomicFileWriter::Commit()
{
    if (!open_) return false;
    if (in_place_) {
        const bool ok = !failed_ && CommitInPlace();
        Abort();
        return ok;
    }
    struct stat st {};
    bool ok = FlushBuffer() && !save_faults::SaveStep("fchmod") && ::fchmod(fd_, mode_) == 0 &&
              ::fstat(fd_, &st) == 0 && (st.st_mode & 07777) == mode_ && !save_faults::SaveStep("fsync") &&
              ::fsync(fd_) == 0;
    if (ok) written_ = IdentityOfOpenFile(fd_);
    if (ok && unnamed_) ok = !save_faults::SaveStep("link") && LinkUnnamed(fd_, Split(target_), temp_);
    // The rename happens while the lock is held, so no cleaner takes the
    // file for a leftover.
    ok = ok && !save_faults::SaveStep("rename") && ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (ok) temp_.clear();
    // The contents were flushed before the rename: a failing close cannot
    // take them back, but it is worth a word.
    const bool close_fails = save_faults::SaveStep("close");
    const bool closed = ::close(fd_) == 0 && !close_fails;
    warning_ = ok && !closed;
    fd_ = -1;
    Abort();
    return ok;
}

bool AtomicFileWriter::CommitInPlace()
{
    struct stat st {};
    if (::stat(target_.c_str(), &st) != 0) return false;
    // A write of this file that a crash cut short is undone first, so that
    // the bytes kept below are the file's real old ones.
    save_recovery::RecoverFile(st.st_dev, st.st_ino);
    if (save_faults::SaveStep("open")) return false;
    const int fd = ::open(target_.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    std::string old_bytes;
    save_recovery::Record record;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && file_io::ReadAll(fd, old_bytes) &&
              record.Begin(target_, st, old_bytes, buffer_);
    if (!ok) {
        ::close(fd);
        return false;
    }
    // Room for the new contents first, so that a full disk fails before
    // anything of the old contents is overwritten.
    if (buffer_.size() > old_bytes.size()) {
        const int error = save_faults::SaveStep("fallocate")
                              ? -1
                              : ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(buffer_.size()));
        ok = error == 0 || errno == EOPNOTSUPP || errno == ENOSYS;
    }
    ok = ok && file_io::WriteAll(fd, buffer_) && !save_faults::SaveStep("ftruncate") &&
         ::ftruncate(fd, static_cast<off_t>(buffer_.size())) == 0;
    // The write may have taken set-id bits away; put them back.
    ok = ok && ::fstat(fd, &st) == 0 &&
         ((st.st_mode & 07777) == mode_ || (!save_faults::SaveStep("fchmod") && ::fchmod(fd, mode_) == 0)) &&
         ::fstat(fd, &st) == 0 && (st.st_mode & 07777) == mode_;
    ok = ok && !save_faults::SaveStep("fsync") && ::fsync(fd) == 0;
    if (ok) written_ = IdentityOfOpenFile(fd);
    // A failed write puts the old bytes back at once; if even that fails,
    // the record stays for the next start.
    if (ok || (::lseek(fd, 0, SEEK_SET) == 0 && file_io::WriteAll(fd, old_bytes) &&
               ::ftruncate(fd, static_cast<off_t>(old_bytes.size())) == 0 && ::fsync(fd) == 0))
        record.Finish();
    const bool close_fails = save_faults::SaveStep("close");
    const bool closed = ::close(fd) == 0 && !close_fails;
    warning_ = ok && !closed;
    return ok;
}

void AtomicFileWriter::Abort()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    buffer_.clear();
    buffer_.shrink_to_fit();
    open_ = false;
    unnamed_ = false;
}

bool ReplaceFileContents(const std::string& target_path, std::string_view contents)
{
    AtomicFileWriter writer;
    return writer.Open(target_path) && writer.Write(contents) && writer.Commit();
}
