#pragma once
// Opening and block reading of the files a run scans. Opening never blocks
// (a FIFO that turned up in place of a file is refused, not waited on), and
// a read error ends the file like its end would.

#include <cstddef>
#include <string>

namespace file_reading {

// Bytes read per block: large enough that most files take one read, small
// enough to stay in the processor's cache.
constexpr std::size_t kBlockSize = 256 * 1024;

// A read-only descriptor of the regular file at `path` (a link to one is
// followed), or -1 when it cannot be opened or is no regular file.
int OpenRegularFile(const std::string& path);

// Reads into [buffer, buffer + capacity) until it is full or the file ends;
// returns the number of bytes read and sets `at_end` when the file ended.
std::size_t Fill(int fd, char* buffer, std::size_t capacity, bool& at_end);

// Closes a descriptor from OpenRegularFile.
void Close(int fd);

} // namespace file_reading
