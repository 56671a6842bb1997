#pragma once
// Replaces a file without ever leaving it half written: the new contents go
// to a temporary file in the target's directory, are flushed to disk and
// then renamed over the target. The target's permission bits are kept, and
// when the target is a symbolic link the file it points to is replaced.

#include <cstddef>
#include <string>
#include <string_view>

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();  // abandons an uncommitted write

    // Creates the temporary file. False when it cannot be made.
    bool Open(const std::string& target_path);
    // Buffered; false once any write has failed.
    bool Write(std::string_view bytes);
    // Flushes, closes and renames. False on any failure; the target is then
    // exactly as it was before Open.
    bool Commit();
    // Removes the temporary file; the target stays untouched.
    void Abort();

private:
    bool FlushBuffer();

    int fd_ = -1;
    bool failed_ = false;
    std::string target_;   // the real file (links resolved)
    std::string temp_;
    std::string buffer_;
};

// One-shot form of the above.
bool ReplaceFileContents(const std::string& target_path, std::string_view contents);
