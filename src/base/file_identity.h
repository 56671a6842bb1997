#pragma once
// What a window knows of the file it shows, to tell whether another program
// has changed it: the device and inode (a new file renamed over the old one
// has another inode), the size and the modification time to the
// nanosecond. A document records it when it loads and when it saves; a
// later look at the file is compared with it.

#include <cstdint>
#include <string>

struct stat;

struct FileIdentity {
    // Missing: nothing of that name (or a dangling link). Unknown: the name
    // could not be looked at (a directory on the way that may not be
    // searched), which says nothing about the file.
    enum class Presence { kMissing, kPresent, kUnknown };

    Presence presence = Presence::kMissing;
    bool regular = false;  // a regular file, not a pipe, device or directory
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t mtime_seconds = 0;
    std::int64_t mtime_nanoseconds = 0;

    bool Present() const { return presence == Presence::kPresent; }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The file a path leads to now (links followed).
FileIdentity IdentityOfPath(const std::string& path);
// The file an open descriptor reads; unknown when fstat fails.
FileIdentity IdentityOfOpenFile(int fd);
FileIdentity IdentityOfStat(const struct stat& st);

// How the file on disk stands against the identity recorded.
enum class DiskChange {
    kNone,     // the same file as recorded, or nothing can be told
    kChanged,  // other contents, another file, or a file where there was none
    kDeleted,  // the file recorded is gone
};
DiskChange CompareWithDisk(const FileIdentity& recorded, const FileIdentity& now);
