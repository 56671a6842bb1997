#pragma once
// Opening and block reading of the files a run scans. Opening never blocks
// (a FIFO that turned up in place of a file is refused, not waited on), and
// a read error ends the file like its end would.

#include <cstddef>
#include <cstdint>
#include <string>

#include <sys/types.h>

namespace file_reading {

// Bytes read per block: most source files fit in one read, and the block
// stays in the processor's cache. Measured on trees of headers, reads of
// 128 KiB and more cost the kernel clearly more time than 64 KiB.
constexpr std::size_t kBlockSize = 64 * 1024;

// An open regular file; `fd` is -1 when it could not be opened.
struct File {
    int fd = -1;
    std::uint64_t size = 0;  // as the file system gave it when opened
    std::uint64_t read = 0;  // bytes read so far
    dev_t device = 0;        // which file it is
    ino_t inode = 0;
    bool is_open() const { return fd >= 0; }
};

// The regular file at `path` (a link to one is followed), not open when it
// cannot be opened or is no regular file.
File OpenRegularFile(const std::string& path);
// The same for the file `name` in the open directory `dir_fd`.
File OpenRegularFileAt(int dir_fd, const char* name);

// Reads into [buffer, buffer + capacity) until it is full or the file ends;
// returns the number of bytes read and sets `at_end` when the file ended.
std::size_t Fill(File& file, char* buffer, std::size_t capacity, bool& at_end);

void Close(File& file);

} // namespace file_reading
