#include "base/file_identity.h"

#include <cerrno>
#include <sys/stat.h>

FileIdentity IdentityOfStat(const struct stat& st)
{
    FileIdentity identity;
    identity.presence = FileIdentity::Presence::kPresent;
    identity.regular = S_ISREG(st.st_mode);
    identity.device = static_cast<std::uint64_t>(st.st_dev);
    identity.inode = static_cast<std::uint64_t>(st.st_ino);
    identity.size = static_cast<std::uint64_t>(st.st_size);
    identity.mtime_seconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    identity.mtime_nanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return identity;
}

FileIdentity IdentityOfPath(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return IdentityOfStat(st);
    FileIdentity identity;
    identity.presence =
        errno == ENOENT || errno == ENOTDIR ? FileIdentity::Presence::kMissing : FileIdentity::Presence::kUnknown;
    return identity;
}

FileIdentity IdentityOfOpenFile(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) == 0) return IdentityOfStat(st);
    FileIdentity identity;
    identity.presence = FileIdentity::Presence::kUnknown;
    return identity;
}

DiskChange CompareWithDisk(const FileIdentity& recorded, const FileIdentity& now)
{
    using Presence = FileIdentity::Presence;
    if (now.presence == Presence::kUnknown) return DiskChange::kNone;
    if (now.presence == Presence::kMissing)
        return recorded.presence == Presence::kPresent ? DiskChange::kDeleted : DiskChange::kNone;
    if (recorded.presence != Presence::kPresent) return DiskChange::kChanged;
    // A pipe or a device has no contents to compare: it is read once.
    if (!recorded.regular) return DiskChange::kNone;
    return recorded == now ? DiskChange::kNone : DiskChange::kChanged;
}
