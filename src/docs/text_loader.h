#pragma once
// Reads a text file into a document's line table a stretch at a time, so
// that a window can show the first lines at once and read the rest between
// its events. The bytes go into large shared chunks (docs/text_chunks.h),
// read in small steps and split into lines while they are still in the
// processor's cache; a line never straddles two chunks. For a large file a
// second thread has the memory of the next chunk and of the table's next
// lines backed while this one reads (docs/page_warmer.h).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/file_identity.h"
#include "docs/line_table.h"
#include "docs/page_warmer.h"
#include "docs/text_chunks.h"
#include "docs/width_tally.h"

class TextLoader {
public:
    // Where the lines go, and the tab size their widths are counted with.
    struct Target {
        LineTable& lines;
        TextChunks& chunks;
        WidthTally& widths;
        int tab_size;
    };

    // Opens the file without blocking; only regular files and pipes open.
    explicit TextLoader(const std::string& path);
    ~TextLoader();
    TextLoader(const TextLoader&) = delete;
    TextLoader& operator=(const TextLoader&) = delete;

    bool IsOpen() const noexcept { return fd_ >= 0; }
    // Why the file did not open: an errno value (ENOENT: there is no such
    // file), 0 when it is open.
    int OpenError() const noexcept { return open_error_; }
    // The file opened, as it was when it was opened.
    const FileIdentity& Identity() const noexcept { return identity_; }
    // Reads about `bytes` more of the file (at least one read) and adds the
    // lines completed by them to the target. Returns a docs/doc_errors.h code:
    // kNone, or the reason the load cannot go on.
    int Step(Target& target, std::size_t bytes);
    bool Done() const noexcept { return done_; }

    // Runs `hook` right after the table reaches `lines` lines.
    void NotifyAt(std::size_t lines, std::function<void()> hook)
    {
        notify_at_ = lines;
        notify_ = std::move(hook);
    }

    std::size_t BytesRead() const noexcept { return read_; }
    // The file's size when it was opened (0 for a pipe).
    std::size_t FileSize() const noexcept { return file_size_; }
    int Widest() const noexcept { return widest_; }
    // Whether the first line end seen was CR LF; unknown until one is seen.
    bool SawLineEnd() const noexcept { return saw_line_end_; }
    bool FirstLineEndIsCrLf() const noexcept { return crlf_; }

private:
    // Fills buf as far as the file goes; -1 on a read error.
    long Read(char* buf, std::size_t size);
    // Moves the partial line at the end of the current chunk into a new one.
    int NextChunk(Target& target);
    // Adds the lines of chunk bytes [from, to), which end with a line end
    // or the end of the file.
    int AddLines(Target& target, std::size_t from, std::size_t to);
    // Whether one more line of `lineBytes` may go in, making room in the
    // table when it is full; sets `quota` to the lines, this one first,
    // that may go in without asking again. A docs/doc_errors.h code.
    int Admit(Target& target, std::size_t lineBytes, std::size_t consumed, std::size_t& quota);
    // Has the memory that the next stretch of the file will fill backed
    // ahead of the read: a spare chunk, and the table's room for the lines
    // expected in it.
    void WarmAhead(Target& target);
    // Frees the spare chunk once the warming has stopped.
    void DropSpare(Target& target);
    // Room for more lines in the table, estimated from the lines in the
    // first `consumed` bytes of the file.
    bool GrowTable(Target& target, std::size_t consumed);

    int fd_ = -1;
    int open_error_ = 0;
    FileIdentity identity_;
    std::size_t file_size_ = 0;
    std::size_t read_ = 0;
    bool done_ = false;

    std::uint32_t chunk_ = 0;
    char* bytes_ = nullptr;    // the chunk being filled, or null
    std::size_t capacity_ = 0;
    std::size_t filled_ = 0;   // bytes of the chunk read so far
    std::size_t split_ = 0;    // bytes of the chunk already made into lines

    int widest_ = 0;
    bool saw_line_end_ = false;
    bool crlf_ = false;
    std::size_t notify_at_ = 0;
    std::function<void()> notify_;

    // The chunk that comes after the one being filled, and how far the
    // table's room is warmed (for the table at table_base_).
    char* spare_ = nullptr;
    std::uint32_t spare_id_ = 0;
    std::size_t spare_capacity_ = 0;
    const TextLine* table_base_ = nullptr;
    std::size_t table_warm_ = 0;
    // Last, so that it stops before the rest goes.
    std::unique_ptr<PageWarmer> warmer_;
};
