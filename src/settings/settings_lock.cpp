#include "settings/settings_lock.h"

#include "base/same_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profile {
namespace {

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int Lock(int fd, int operation)
{
    while (::flock(fd, operation) != 0) {
        if (errno == EINTR) continue;
        ::close(fd);
        return -1;
    }
    return fd;
}

// The file itself, locked once its name still leads to it.
int LockFile(const std::string& path, int operation)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        const int fd = opened < 0 ? -1 : Lock(opened, operation);
        if (fd < 0) return -1;
        struct stat locked {};
        struct stat named {};
        if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 && SameFile(locked, named)) return fd;
        ::close(fd);  // replaced while we waited: lock the new one
    }
    return -1;
}

} // namespace

SettingsLock::SettingsLock(const std::string& settings_path, Mode mode)
{
    const int operation = mode == Mode::kExclusive ? LOCK_EX : LOCK_SH;
    const int dir = ::open(DirectoryOf(settings_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    fd_ = dir >= 0 ? Lock(dir, operation) : LockFile(settings_path, operation);
}

SettingsLock::~SettingsLock()
{
    if (fd_ >= 0) ::close(fd_);
}

} // namespace profile
