#pragma once
// Replaces a file without ever leaving it half written, and without
// changing anything about it but its contents.
//
// The new contents go to a temporary file in the target's directory, are
// flushed to disk and renamed over the target. The temporary file is first
// given the target's owner, group, extended attributes and permission bits;
// when one of them cannot be given (another owner, a group the user is not
// in), when the target has more than one hard link, or when the directory
// cannot be written, the target is written in place instead: the contents
// are held in memory until Commit, so nothing is touched before then, and
// the old contents are kept in a recovery record until the new ones are
// flushed (base/save_recovery.h), so that a crash half-way through is
// undone. When the target is a symbolic link the file it points to is
// replaced, but a link is followed only where the kernel would follow it
// (a link in a sticky directory that others may write only when it is the
// user's own or the directory owner's).
//
// A file the user may not write (no write permission, or no write bit at
// all) is never replaced, nor is anything that is not a regular file.
//
// Temporary names stay within the file system's name limit whatever the
// target's name, and are locked while a save uses them: one that a killed
// save left behind is unlocked, and the next save of the same target by
// the same user removes it. A live save's file, another user's file, or
// any file of another name, is never touched. When every temporary name
// is taken, the new contents go to a file without a name that gets an
// unpredictable one just before the rename.

#include "base/file_identity.h"

#include <cstddef>
#include <string>
#include <string_view>

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();  // abandons an uncommitted write

    // Prepares the write. False when the target may not be replaced or the
    // temporary file cannot be made; the target is then untouched.
    bool Open(const std::string& target_path);
    // Buffered; false once any write has failed.
    bool Write(std::string_view bytes);
    // Writes out, flushes, closes and renames. False on any failure; the
    // target is then exactly as it was before Open.
    bool Commit();
    // After a successful Commit: the new contents are in place and flushed,
    // but closing the file reported an error.
    bool SavedWithWarning() const { return warning_; }
    // After a successful Commit: the file as it was written (taken from the
    // open file after the flush), so that a change another program makes
    // just after the save is not taken for the save itself.
    const FileIdentity& Written() const { return written_; }
    // Removes the temporary file; the target stays untouched.
    void Abort();

    // Whether this write goes into the target itself (known after Open).
    bool InPlace() const { return in_place_; }

private:
    bool FlushBuffer();
    bool CommitInPlace();
    void SwitchToInPlace();

    int fd_ = -1;
    bool open_ = false;
    bool failed_ = false;
    bool in_place_ = false;
    bool warning_ = false;
    bool unnamed_ = false;
    FileIdentity written_;  // a file without a name (every temporary name taken)
    unsigned mode_ = 0;    // permission bits the new file must have
    std::string target_;   // the real file (links resolved)
    std::string temp_;
    std::string buffer_;
};

// One-shot form of the above.
bool ReplaceFileContents(const std::string& target_path, std::string_view contents);

namespace atomic_file {

// The name of temporary file number `slot` beside the file named `base`:
// hidden, tied to that name, at most 255 bytes long.
std::string TemporaryName(std::string_view base, int slot);
inline constexpr int kTemporarySlots = 16;
// A name of the same kind that nobody can guess, for when every slot is
// taken.
std::string UnpredictableName(std::string_view base);

// Removes the temporary files that killed saves of the target left behind
// (Open does this itself).
void RemoveLeftovers(const std::string& target_path);

} // namespace atomic_file
