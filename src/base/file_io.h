#pragma once
// Whole reads and writes on a file descriptor, retried after interruptions
// and short counts. Writes pass through the save fault hook
// (base/save_faults.h).

#include <string>
#include <string_view>

namespace file_io {

// Writes every byte at the current offset; false on the first error.
bool WriteAll(int fd, std::string_view bytes);
// Reads the whole file from offset 0 (pread, the offset stays); false on
// an error.
bool ReadAll(int fd, std::string& out);
// Flushes the directory `folder` itself (names made or removed in it); the
// flush passes through the fault hook as "fsync".
bool SyncFolder(const std::string& folder);

} // namespace file_io
