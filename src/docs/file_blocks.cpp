#include "docs/file_blocks.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kNoBlock = UINT64_MAX;

long PositionalRead(int fd, void* buffer, std::size_t size, std::uint64_t offset)
{
    return static_cast<long>(::pread(fd, buffer, size, static_cast<off_t>(offset)));
}

} // namespace

struct FileBlocks::Block {
    std::uint64_t index = kNoBlock;
    std::size_t size = 0;  // bytes read; short at the end of the file
    bool failed = false;   // a read error ended the block at `size`
    std::uint64_t used = 0;
    std::unique_ptr<unsigned char[]> bytes;
};

FileBlocks::FileBlocks(Reader reader) : reader_(reader ? std::move(reader) : Reader(PositionalRead)) {}

FileBlocks::~FileBlocks()
{
    Close();
}

bool FileBlocks::Attach(int fd, std::uint64_t size)
{
    // Room for the blocks the file can fill, up to kMaxBlocks.
    const std::uint64_t needed = (size + kBlockSize - 1) / kBlockSize;
    const int count = static_cast<int>(std::min<std::uint64_t>(needed, kMaxBlocks));
    std::unique_ptr<Block[]> blocks(new (std::nothrow) Block[static_cast<std::size_t>(count)]);
    if (!blocks) return false;
    for (int i = 0; i < count; ++i) {
        blocks[i].bytes.reset(new (std::nothrow) unsigned char[kBlockSize]);
        if (!blocks[i].bytes) return false;
    }
    Close();
    fd_ = fd;
    blocks_ = std::move(blocks);
    block_count_ = count;
    stamp_ = Look();
    return true;
}

void FileBlocks::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    blocks_.reset();
    block_count_ = 0;
    stamp_ = {};
}

FileBlocks::Stamp FileBlocks::Look() const
{
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return {};
    return {static_cast<std::uint64_t>(st.st_size),
            std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec,
            std::int64_t{st.st_ctim.tv_sec} * 1'000'000'000 + st.st_ctim.tv_nsec};
}

bool FileBlocks::Revalidate()
{
    if (fd_ < 0) return false;
    const Stamp now = Look();
    if (now == stamp_) return false;
    stamp_ = now;
    Forget();
    return true;
}

void FileBlocks::Forget()
{
    for (int i = 0; i < block_count_; ++i) blocks_[i].index = kNoBlock;
}

FileBlocks::Block& FileBlocks::Fetch(std::uint64_t index)
{
    Block* oldest = &blocks_[0];
    for (int i = 0; i < block_count_; ++i) {
        Block& block = blocks_[i];
        if (block.index == index) {
            block.used = ++clock_;
            return block;
        }
        if (block.used < oldest->used) oldest = &block;
    }
    Block& block = *oldest;
    block.index = index;
    block.used = ++clock_;
    block.size = 0;
    block.failed = false;
    // A failed read is kept as such too: a bad sector is not tried again
    // on every repaint, only once the file has changed (Revalidate).
    const std::uint64_t start = index * kBlockSize;
    while (block.size < kBlockSize) {
        const long n = reader_(fd_, block.bytes.get() + block.size, kBlockSize - block.size, start + block.size);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            block.failed = true;
            break;
        }
        block.size += static_cast<std::size_t>(n);
    }
    return block;
}

FileBlocks::Result FileBlocks::Read(std::uint64_t offset, unsigned char* out, int count)
{
    Result result;
    if (fd_ < 0 || block_count_ == 0 || count <= 0) return result;
    while (result.count < count) {
        const std::uint64_t at = offset + static_cast<std::uint64_t>(result.count);
        const Block& block = Fetch(at / kBlockSize);
        const std::size_t within = static_cast<std::size_t>(at % kBlockSize);
        if (within >= block.size) {
            result.failed = block.failed;
            break;
        }
        const std::size_t n = std::min(block.size - within, static_cast<std::size_t>(count - result.count));
        std::memcpy(out + result.count, block.bytes.get() + within, n);
        result.count += static_cast<int>(n);
        if (block.size < kBlockSize && result.count < count) {
            result.failed = block.failed;
            break;  // the file ends (or could not be read) inside this block
        }
    }
    return result;
}
