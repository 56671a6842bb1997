#include "base/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

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

} // namespace

AtomicFileWriter::~AtomicFileWriter()
{
    Abort();
}

bool AtomicFileWriter::Open(const std::string& target_path)
{
    Abort();
    failed_ = false;
    target_ = ResolveTarget(target_path);
    const auto slash = target_.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : target_.substr(0, slash);
    const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern = (slash == std::string::npos ? std::string() : dir + "/") + "." + base + ".XXXXXX";
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) return false;
    temp_ = pattern;

    struct stat st {};
    const mode_t mode = ::stat(target_.c_str(), &st) == 0 ? (st.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    ::fchmod(fd_, mode);
    buffer_.reserve(kBufferSize);
    return true;
}

bool AtomicFileWriter::FlushBuffer()
{
    if (!failed_ && !buffer_.empty() && !WriteAll(fd_, buffer_.data(), buffer_.size())) failed_ = true;
    buffer_.clear();
    return !failed_;
}

bool AtomicFileWriter::Write(std::string_view bytes)
{
    if (fd_ < 0 || failed_) return false;
    if (buffer_.size() + bytes.size() > kBufferSize && !FlushBuffer()) return false;
    if (bytes.size() >= kBufferSize) {
        if (!WriteAll(fd_, bytes.data(), bytes.size())) failed_ = true;
        return !failed_;
    }
    buffer_.append(bytes);
    return true;
}

bool AtomicFileWriter::Commit()
{
    if (fd_ < 0) return false;
    bool ok = FlushBuffer() && ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    if (ok && ::rename(temp_.c_str(), target_.c_str()) == 0) {
        temp_.clear();
        return true;
    }
    Abort();
    return false;
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
}

bool ReplaceFileContents(const std::string& target_path, std::string_view contents)
{
    AtomicFileWriter writer;
    return writer.Open(target_path) && writer.Write(contents) && writer.Commit();
}
