#include "base/atomic_file.h"

#include "base/same_file.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::size_t kNameMax = 255;
constexpr const char* kAclAccess = "system.posix_acl_access";

// The file a path finally names: a link is followed (to any depth) so that
// the link itself stays in place. A target that does not exist yet is the
// path itself.
std::string ResolveTarget(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
        if (n < 0) return current;
        std::string next(buf, static_cast<std::size_t>(n));
        if (next.empty() || next[0] != '/') {
            const auto slash = current.rfind('/');
            next = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + next;
        }
        current = next;
    }
    return current;
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

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
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
int CreateTemporary(const SplitPath& where, std::string& name)
{
    for (int attempt = 0; attempt < 4 * atomic_file::kTemporarySlots; ++attempt) {
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
    errno = EEXIST;
    return -1;
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

void RemoveLeftovers(const std::string& target_path)
{
    const SplitPath where = Split(ResolveTarget(target_path));
    const uid_t me = ::geteuid();
    for (int slot = 0; slot < kTemporarySlots; ++slot) {
        const std::string path = where.dir + TemporaryName(where.base, slot);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st {};
        // A save holds its file locked until the rename; a free lock means
        // the save that made the file is gone.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 && (me == 0 || st.st_uid == me) &&
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
    target_ = ResolveTarget(target_path);

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
    in_place_ = true;
}

bool AtomicFileWriter::FlushBuffer()
{
    if (in_place_) return !failed_;
    if (!failed_ && !buffer_.empty() && !WriteAll(fd_, buffer_.data(), buffer_.size())) failed_ = true;
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
            if (!WriteAll(fd_, bytes.data(), bytes.size())) failed_ = true;
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
    bool ok = FlushBuffer() && ::fchmod(fd_, mode_) == 0 && ::fstat(fd_, &st) == 0 &&
              (st.st_mode & 07777) == mode_ && ::fsync(fd_) == 0;
    // The rename happens while the lock is held, so no cleaner takes the
    // file for a leftover.
    ok = ok && ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (ok) temp_.clear();
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    Abort();
    return ok;
}

bool AtomicFileWriter::CommitInPlace()
{
    const int fd = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // Room for the new contents first, so that a full disk fails before
    // anything of the old contents is overwritten.
    if (ok && buffer_.size() > static_cast<std::size_t>(st.st_size)) {
        const int error = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(buffer_.size()));
        ok = error == 0 || errno == EOPNOTSUPP || errno == ENOSYS;
    }
    ok = ok && WriteAll(fd, buffer_.data(), buffer_.size()) &&
         ::ftruncate(fd, static_cast<off_t>(buffer_.size())) == 0;
    // The write may have taken set-id bits away; put them back.
    ok = ok && ::fstat(fd, &st) == 0 && ((st.st_mode & 07777) == mode_ || ::fchmod(fd, mode_) == 0) &&
         ::fstat(fd, &st) == 0 && (st.st_mode & 07777) == mode_;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
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
}

bool ReplaceFileContents(const std::string& target_path, std::string_view contents)
{
    AtomicFileWriter writer;
    return writer.Open(target_path) && writer.Write(contents) && writer.Commit();
}
