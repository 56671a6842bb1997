#pragma once
// A hook for tests of what a crash or a failing system call does to a save.
// The save code calls SaveStep before every system call that changes the
// target, its temporary file or its recovery record; a test's hook may end
// the process there (a crash at that point) or make the call fail.

#include <cstddef>

namespace save_faults {

// Returns true to make the call named `call` ("write", "close", ...) fail
// with EIO; may also never return.
using Hook = bool (*)(const char* call);

// Installs a hook (none: nullptr). While one is set, writes go out in
// pieces of at most `write_piece` bytes (0: whole), so that a crash can
// fall between two pieces of one write.
void SetHook(Hook hook, std::size_t write_piece = 0);

// For the save code: runs the hook; true when the call is to fail (errno
// is then EIO).
bool SaveStep(const char* call);
std::size_t WritePiece(std::size_t wanted);

} // namespace save_faults
