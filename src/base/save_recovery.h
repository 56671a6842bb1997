#pragma once
// A write in place (a file with other hard links, another owner's file, a
// file in a directory the user cannot write) has no rename to make it
// atomic: a crash after some of the new bytes went over the old ones and
// before the length was set leaves neither file. So before such a write
// the old bytes are kept in a recovery record in the program's private
// state (base/state_folder.h, folder "unfinished-saves", files 0600): the
// file's path and identity, the sizes and check sums of the old and the
// new contents, then the old bytes and the new ones, flushed to disk. The record is removed
// once the new contents are flushed with their length set.
//
// A record found later belongs to a write that did not finish. When its
// file still is the one it names (same device and inode) and holds a mix
// of the old and the new contents that only this write can have left, the
// old bytes are put back; a file changed by anyone since is left alone. A
// record that was not complete itself is dropped: the file was not
// touched before its record was whole. A live save holds its record
// locked, so nobody recovers a write that is still going on.

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace save_recovery {

class Record {
public:
    Record() = default;
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    ~Record();  // a record not finished stays for recovery

    // Makes the record of the file `path` (status `st`) and flushes it.
    // False when it cannot be made; the write must not start then.
    bool Begin(const std::string& path, const struct stat& st, std::string_view old_bytes, std::string_view new_bytes);
    // The write finished, or the old bytes are back: the record goes.
    void Finish();

private:
    int fd_ = -1;
    std::string name_;
};

// Puts back every file that an unfinished write in place left damaged
// (the program does this at start-up).
void RecoverAll();
// The same for the file with this identity only (a new write of it does
// this first, so that the bytes it keeps are the real old ones).
void RecoverFile(dev_t device, ino_t inode);

} // namespace save_recovery
