#pragma once
// A file's bytes read when they are asked for, a block at a time, keeping
// the few blocks read last: a hex window needs a handful of blocks for a
// screen, whatever the size of the file, so opening, paging and jumping to
// the end cost the same for 10 kB and for 10 GB.
//
// The file stays open while it is attached. A file removed meanwhile still
// reads as it was (its name is gone, its bytes are not); one that shrank
// reads short, the bytes past its new end simply missing. Nothing here maps
// the file, so a file cut short under us can never fault the process.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class FileBlocks {
public:
    static constexpr std::size_t kBlockSize = 64 * 1024;
    static constexpr int kMaxBlocks = 8;

    // Reads like pread(2): bytes read, 0 at the end of the file, -1 with
    // errno on failure. Tests give one that fails.
    using Reader = std::function<long(int fd, void* buffer, std::size_t size, std::uint64_t offset)>;

    explicit FileBlocks(Reader reader = {});
    ~FileBlocks();
    FileBlocks(const FileBlocks&) = delete;
    FileBlocks& operator=(const FileBlocks&) = delete;

    // Takes over the open descriptor fd of a file of `size` bytes (closed by
    // Close or by destruction) and makes room for its blocks. False when
    // that room cannot be had: nothing is attached then and fd stays the
    // caller's.
    bool Attach(int fd, std::uint64_t size);
    void Close();

    // What a read gave: the bytes that are there (fewer than asked for past
    // the end of the file), and whether a read error kept some back.
    struct Result {
        int count = 0;
        bool failed = false;
    };
    // Copies up to `count` bytes from `offset` into `out`.
    Result Read(std::uint64_t offset, unsigned char* out, int count);

    // Looks at the file's size and times; when they moved since the last
    // look, drops the blocks kept, so that the next reads show the file as
    // it is now, and says so.
    bool Revalidate();

private:
    struct Block;
    // The block with this index, read now unless it is kept.
    Block& Fetch(std::uint64_t index);
    void Forget();
    // Size and modification stamp of the attached file, all zero if unknown.
    struct Stamp {
        std::uint64_t size = 0;
        std::int64_t mtime_ns = 0;
        std::int64_t ctime_ns = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp Look() const;

    Reader reader_;
    int fd_ = -1;
    Stamp stamp_;
    std::uint64_t clock_ = 0;  // ages the blocks: the least recently used goes first
    int block_count_ = 0;
    std::unique_ptr<Block[]> blocks_;
};
