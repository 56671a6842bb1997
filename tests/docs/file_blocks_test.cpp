// Reading a file by kept blocks: reads across block borders and at the end,
// which blocks are kept, short and failed reads, a file that changes.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "docs/file_blocks.h"
#include "support/temp_tree.h"

namespace {

constexpr std::size_t kBlock = FileBlocks::kBlockSize;

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 + i / 251);
    return bytes;
}

struct Opened {
    TempTree tree;
    std::string path;
    std::string bytes;
    int fd = -1;
    explicit Opened(std::size_t size) : path(tree.Write("f.bin", Pattern(size))), bytes(Pattern(size))
    {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
};

std::string ReadString(FileBlocks& blocks, std::uint64_t offset, int count, bool* failed = nullptr)
{
    std::vector<unsigned char> out(static_cast<std::size_t>(count));
    const FileBlocks::Result got = blocks.Read(offset, out.data(), count);
    if (failed) *failed = got.failed;
    return std::string(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(got.count));
}

// A reader that counts the blocks asked for and can be told to fail.
struct Scripted {
    std::vector<std::uint64_t> asked;
    std::uint64_t failAt = UINT64_MAX;  // offsets from here on fail
    long maxChunk = 0;                  // > 0: reads return at most this much
    int interrupts = 0;                 // this many reads fail with EINTR first
    FileBlocks::Reader Reader()
    {
        return [this](int fd, void* buffer, std::size_t size, std::uint64_t offset) -> long {
            asked.push_back(offset);
            if (interrupts > 0) {
                --interrupts;
                errno = EINTR;
                return -1;
            }
            if (offset >= failAt) {
                errno = EIO;
                return -1;
            }
            std::size_t n = size;
            if (failAt != UINT64_MAX && offset + n > failAt) n = static_cast<std::size_t>(failAt - offset);
            if (maxChunk > 0 && n > static_cast<std::size_t>(maxChunk)) n = static_cast<std::size_t>(maxChunk);
            return static_cast<long>(::pread(fd, buffer, n, static_cast<off_t>(offset)));
        };
    }
};

} // namespace

TEST(FileBlocks, ReadsAcrossBlockBordersAndStopsAtTheEnd)
{
    Opened file(2 * kBlock + kBlock / 2);
    FileBlocks blocks;
    ASSERT_TRUE(blocks.Attach(file.fd, file.bytes.size()));
    EXPECT_EQ(ReadString(blocks, 0, 16), file.bytes.substr(0, 16));
    EXPECT_EQ(ReadString(blocks, kBlock - 5, 16), file.bytes.substr(kBlock - 5, 16));
    EXPECT_EQ(ReadString(blocks, kBlock, 16), file.bytes.substr(kBlock, 16));
    const std::uint64_t end = file.bytes.size();
    bool failed = true;
    EXPECT_EQ(ReadString(blocks, end - 3, 16, &failed), file.bytes.substr(end - 3));
    EXPECT_FALSE(failed);
    EXPECT_EQ(ReadString(blocks, end, 16, &failed), "");
    EXPECT_FALSE(failed);
    EXPECT_EQ(ReadString(blocks, 100 * kBlock, 16), "");
}

TEST(FileBlocks, KeepsTheBlocksUsedLast)
{
    Opened file((FileBlocks::kMaxBlocks + 2) * kBlock);
    Scripted script;
    FileBlocks blocks(script.Reader());
    ASSERT_TRUE(blocks.Attach(file.fd, file.bytes.size()));
    for (int i = 0; i < 100; ++i) ReadString(blocks, 16 * static_cast<std::uint64_t>(i), 16);
    EXPECT_EQ(script.asked, std::vector<std::uint64_t>{0});

    // Every other block once, then the first again: it was the least recently
    // used, so it was given up and is read again; the last stays.
    for (int b = 1; b <= FileBlocks::kMaxBlocks; ++b) ReadString(blocks, b * kBlock, 16);
    script.asked.clear();
    ReadString(blocks, FileBlocks::kMaxBlocks * kBlock + 32, 16);
    EXPECT_TRUE(script.asked.empty());
    EXPECT_EQ(ReadString(blocks, 48, 16), file.bytes.substr(48, 16));
    EXPECT_EQ(script.asked, std::vector<std::uint64_t>{0});
}

TEST(FileBlocks, ShortAndInterruptedReadsStillFillABlock)
{
    Opened file(kBlock + 100);
    Scripted script;
    script.maxChunk = 1000;
    script.interrupts = 2;
    FileBlocks blocks(script.Reader());
    ASSERT_TRUE(blocks.Attach(file.fd, file.bytes.size()));
    bool failed = true;
    EXPECT_EQ(ReadString(blocks, kBlock - 8, 16, &failed), file.bytes.substr(kBlock - 8, 16));
    EXPECT_FALSE(failed);
}

TEST(FileBlocks, AReadErrorGivesTheBytesBeforeItAndIsNotRetriedUntilTheFileChanges)
{
    Opened file(2 * kBlock);
    Scripted script;
    script.failAt = kBlock + 40;
    FileBlocks blocks(script.Reader());
    ASSERT_TRUE(blocks.Attach(file.fd, file.bytes.size()));
    bool failed = false;
    EXPECT_EQ(ReadString(blocks, kBlock + 32, 16, &failed), file.bytes.substr(kBlock + 32, 8));
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadString(blocks, kBlock + 16, 16, &failed), file.bytes.substr(kBlock + 16, 16));
    EXPECT_FALSE(failed);
    EXPECT_EQ(ReadString(blocks, kBlock + 64, 16, &failed), "");
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadString(blocks, 0, 16, &failed), file.bytes.substr(0, 16));
    EXPECT_FALSE(failed);

    const std::size_t asked = script.asked.size();
    ReadString(blocks, kBlock + 64, 16);
    EXPECT_EQ(script.asked.size(), asked);

    // Mended once the file has changed.
    script.failAt = UINT64_MAX;
    EXPECT_FALSE(blocks.Revalidate());
    ASSERT_EQ(::truncate(file.path.c_str(), static_cast<off_t>(2 * kBlock - 1)), 0);
    EXPECT_TRUE(blocks.Revalidate());
    EXPECT_EQ(ReadString(blocks, kBlock + 64, 16, &failed), file.bytes.substr(kBlock + 64, 16));
    EXPECT_FALSE(failed);
}

TEST(FileBlocks, AFileThatShrinksOrVanishesReadsWhatIsStillThere)
{
    Opened file(3 * kBlock);
    FileBlocks blocks;
    ASSERT_TRUE(blocks.Attach(file.fd, file.bytes.size()));
    EXPECT_EQ(ReadString(blocks, 2 * kBlock + 10, 16), file.bytes.substr(2 * kBlock + 10, 16));

    ASSERT_EQ(::truncate(file.path.c_str(), static_cast<off_t>(kBlock + 4)), 0);
    EXPECT_TRUE(blocks.Revalidate());
    EXPECT_FALSE(blocks.Revalidate());
    bool failed = true;
    EXPECT_EQ(ReadString(blocks, 2 * kBlock + 10, 16, &failed), "");
    EXPECT_FALSE(failed);
    EXPECT_EQ(ReadString(blocks, kBlock, 16), file.bytes.substr(kBlock, 4));

    // Removed: the open file still holds its bytes.
    ASSERT_EQ(::unlink(file.path.c_str()), 0);
    blocks.Revalidate();
    EXPECT_EQ(ReadString(blocks, 0, 16), file.bytes.substr(0, 16));
}

TEST(FileBlocks, NothingAttachedReadsNothing)
{
    FileBlocks blocks;
    unsigned char out[16];
    EXPECT_EQ(blocks.Read(0, out, 16).count, 0);
    EXPECT_FALSE(blocks.Revalidate());
    Opened empty(0);
    ASSERT_TRUE(blocks.Attach(empty.fd, 0));
    EXPECT_EQ(blocks.Read(0, out, 16).count, 0);
}
