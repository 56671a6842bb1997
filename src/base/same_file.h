#pragma once
// Two names lead to one file when the device and the inode agree: a
// symbolic or a hard link is the file it leads to.

#include <sys/stat.h>

inline bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
