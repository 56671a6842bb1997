#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "docs/doc_errors.h"
#include "docs/hex_doc.h"
#include "support/temp_tree.h"

namespace {

std::string Row(std::uint64_t offset, std::string_view bytes)
{
    return HexDoc::FormatRow(offset, reinterpret_cast<const unsigned char*>(bytes.data()),
                             static_cast<int>(bytes.size()));
}

} // namespace

TEST(HexDocFormatRow, FullAndShortRowsHaveOneLength)
{
    EXPECT_EQ(Row(0x20, "ABCDEFGHIJKLMNOP"),
              "00000020\t41 42 43 44 45 46 47 48  49 4A 4B 4C 4D 4E 4F 50 \tABCDEFGHIJKLMNOP");
    const std::string shortRow = Row(0x30, std::string_view("\x00\x41\x7F", 3));
    EXPECT_EQ(shortRow, "00000030\t00 41 7F " + std::string(5 * 3, ' ') + " " + std::string(8 * 3, ' ') + "\t.A." +
                            std::string(13, ' '));
    EXPECT_EQ(shortRow.size(), 8 + 1 + 49 + 1 + 16u);
    EXPECT_EQ(Row(0, "~\x7F\n\xFF ").substr(59), "~... " + std::string(11, ' '));
    EXPECT_EQ(Row(0, "").substr(0, 9), "00000000\t");
}

TEST(HexDocLoad, RowsFollowTheFileSize)
{
    TempTree tree;
    HexDoc empty(tree.Write("empty.bin", ""));
    EXPECT_TRUE(empty.Load());
    EXPECT_EQ(empty.LineCount(), 0);
    EXPECT_EQ(empty.FileSize(), 0u);

    HexDoc sixteen(tree.Write("16.bin", "0123456789abcdef"));
    EXPECT_TRUE(sixteen.Load());
    EXPECT_EQ(sixteen.LineCount(), 1);

    HexDoc doc(tree.Write("17.bin", "0123456789abcdefZ"));
    EXPECT_TRUE(doc.Load());
    ASSERT_EQ(doc.LineCount(), 2);
    EXPECT_EQ(doc.FileSize(), 17u);
    EXPECT_EQ(doc.GetLine(1)->View(), Row(16, "Z"));
    EXPECT_EQ(doc.GetLine(1)->View().substr(59), "Z" + std::string(15, ' '));
    EXPECT_EQ(doc.GetLine(2), nullptr);
    EXPECT_FALSE(doc.Modified());

    // Tab stops: the character column starts at 64 with 4, at 72 with 8.
    EXPECT_EQ(doc.MaxWidth(), 80);
    doc.SetTabSize(8);
    EXPECT_EQ(doc.LineWidth(doc.GetLine(0)), 88);
}

TEST(HexDocLoad, ManyRowsStayCorrectThroughTheRowCache)
{
    TempTree tree;
    std::string bytes;
    for (int i = 0; i < 40000; ++i) bytes.push_back(static_cast<char>(i * 7));
    HexDoc doc(tree.Write("data.bin", bytes));
    ASSERT_TRUE(doc.Load());
    ASSERT_EQ(doc.LineCount(), 2500);
    for (int row : {0, 1, 1024, 2048, 1, 2499, 1025})
        EXPECT_EQ(doc.GetLine(row)->View(), Row(16u * row, std::string_view(bytes).substr(16u * row, 16)));
}

TEST(HexDocLoad, FailuresKeepOrClearRows)
{
    TempTree tree;
    HexDoc doc(tree.Write("f.bin", "abc"));
    ASSERT_TRUE(doc.Load());
    ::unlink(doc.FileName().c_str());
    EXPECT_FALSE(doc.Load());
    EXPECT_EQ(doc.Error(), doc_error::kOpen);
    EXPECT_EQ(doc.LineCount(), 1);  // the old rows stay
    EXPECT_TRUE(doc.Save(tree.Path("dump.txt")));
    EXPECT_EQ(tree.Read("dump.txt"), Row(0, "abc") + "\r\n");
}

TEST(HexDocLoad, OnlyRegularFilesAreShown)
{
    TempTree tree;
    const std::string fifo = tree.Path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), std::string("/dev/null"), tree.root(), fifo}) {
        HexDoc doc(path);
        EXPECT_FALSE(doc.Load()) << path;
        EXPECT_EQ(doc.Error(), doc_error::kOpen) << path;
    }
}

TEST(HexDocSave, TheDumpIsNeverWrittenOverTheFileShown)
{
    TempTree tree;
    const std::string path = tree.Write("f.bin", "abc");
    HexDoc doc(path);
    ASSERT_TRUE(doc.Load());
    ASSERT_EQ(::symlink(path.c_str(), tree.Path("link").c_str()), 0);
    EXPECT_TRUE(doc.NamesShownFile(tree.Path("link")));
    EXPECT_FALSE(doc.Save());
    EXPECT_FALSE(doc.Save(tree.Path("link")));
    EXPECT_EQ(doc.Error(), 0);
    EXPECT_EQ(tree.Read("f.bin"), "abc");
    // After a Save As under another name the shown file is still the one
    // that was loaded.
    ASSERT_TRUE(doc.Save(tree.Path("dump.txt")));
    EXPECT_FALSE(doc.Save(path));
    EXPECT_EQ(tree.Read("f.bin"), "abc");
}

TEST(HexDocLoad, CopyTextOverRowsThatShareACacheSlot)
{
    TempTree tree;
    std::string bytes(16 * 1100, 'a');
    bytes[16 * 1024] = 'B';
    HexDoc doc(tree.Write("f.bin", bytes));
    ASSERT_TRUE(doc.Load());
    const std::string first = Row(0, std::string(16, 'a'));
    const std::string last = Row(16 * 1024, "B" + std::string(15, 'a'));
    const std::string text = *doc.CopyText(0, 0, 1024, 80);
    EXPECT_EQ(text.size(), 1025 * (first.size() + 2));
    EXPECT_EQ(text.substr(0, first.size() + 2), first + "\r\n");
    EXPECT_EQ(text.substr(text.size() - last.size() - 2), last + "\r\n");
}

namespace {

std::string Bytes(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4093);
    return bytes;
}

std::string RowAt(const std::string& bytes, int row)
{
    const std::size_t offset = 16u * static_cast<std::size_t>(row);
    return Row(offset, std::string_view(bytes).substr(offset, 16));
}

} // namespace

TEST(HexDocRows, RowsAtBlockBordersAndTheLastPartialRow)
{
    TempTree tree;
    constexpr int kRowsPerBlock = static_cast<int>(FileBlocks::kBlockSize / 16);
    const std::string bytes = Bytes(3 * FileBlocks::kBlockSize + 5);
    HexDoc doc(tree.Write("f.bin", bytes));
    ASSERT_TRUE(doc.Load());
    ASSERT_EQ(doc.LineCount(), 3 * kRowsPerBlock + 1);
    // Out of order and back, so that rows come from kept blocks and fresh ones.
    for (int row : {kRowsPerBlock - 1, kRowsPerBlock, 0, 2 * kRowsPerBlock, 3 * kRowsPerBlock, kRowsPerBlock - 1,
                    2 * kRowsPerBlock - 1})
        EXPECT_EQ(doc.GetLine(row)->View(), RowAt(bytes, row)) << row;
    EXPECT_EQ(doc.GetLine(3 * kRowsPerBlock)->View().substr(64), std::string(11, ' '));
    EXPECT_EQ(doc.GetLine(3 * kRowsPerBlock)->View().size(), doc.GetLine(0)->View().size());

    // Every row once, in order, as Save and printing ask for them.
    for (int row = 0; row < doc.LineCount(); ++row) ASSERT_EQ(doc.GetLine(row)->View(), RowAt(bytes, row)) << row;
}

TEST(HexDocRows, AFileThatShrinksOrGrowsKeepsItsRowsAndShowsWhatIsThere)
{
    TempTree tree;
    const std::string bytes = Bytes(100);
    const std::string path = tree.Write("f.bin", bytes);
    HexDoc doc(path);
    ASSERT_TRUE(doc.Load());
    ASSERT_EQ(doc.LineCount(), 7);
    for (int row = 0; row < 7; ++row) doc.GetLine(row);  // all rows made and kept

    // Cut in the middle of row 2: the next look (a repaint starts at its
    // top row) shows the cells of the lost bytes blank; the rows stay.
    ASSERT_EQ(::truncate(path.c_str(), 40), 0);
    EXPECT_EQ(doc.GetLine(0)->View(), RowAt(bytes, 0));
    EXPECT_EQ(doc.GetLine(2)->View(), Row(32, std::string_view(bytes).substr(32, 8)));
    EXPECT_EQ(doc.GetLine(6)->View(), Row(96, ""));
    EXPECT_EQ(doc.LineCount(), 7);
    EXPECT_EQ(doc.FileSize(), 100u);
    // The dump of what is there is written as shown.
    ASSERT_TRUE(doc.Save(tree.Path("dump.txt")));
    const std::string blank = Row(48, "") + "\r\n";
    EXPECT_EQ(tree.Read("dump.txt").substr(3 * blank.size(), blank.size()), blank);

    // Grown past its size at load: the rows still end where they did.
    tree.Write("f.bin", Bytes(200));
    EXPECT_EQ(doc.GetLine(0)->View(), RowAt(bytes, 0));
    EXPECT_EQ(doc.GetLine(6)->View(), Row(96, std::string_view(Bytes(200)).substr(96, 4)));
    EXPECT_EQ(doc.GetLine(7), nullptr);
}

TEST(HexDocRows, AFileRemovedWhileShownStillShowsItsBytes)
{
    TempTree tree;
    const std::string bytes = Bytes(5000);
    HexDoc doc(tree.Write("f.bin", bytes));
    ASSERT_TRUE(doc.Load());
    ASSERT_EQ(::unlink(doc.FileName().c_str()), 0);
    EXPECT_EQ(doc.GetLine(300)->View(), RowAt(bytes, 300));
    EXPECT_EQ(doc.GetLine(0)->View(), RowAt(bytes, 0));
}

TEST(HexDocRows, AnEmptyFileHasNoRowsAndAnEmptyDump)
{
    TempTree tree;
    HexDoc doc(tree.Write("empty.bin", ""));
    ASSERT_TRUE(doc.Load());
    EXPECT_EQ(doc.GetLine(0), nullptr);
    EXPECT_EQ(doc.MaxWidth(), 0);
    tree.Write("dump.txt", "old");
    EXPECT_TRUE(doc.Save(tree.Path("dump.txt")));
    EXPECT_EQ(tree.Read("dump.txt"), "");
}

TEST(HexDocRows, BytesThatCannotBeReadShowBlankAndFailTheSave)
{
    TempTree tree;
    const std::string bytes = Bytes(3 * FileBlocks::kBlockSize);
    const std::uint64_t bad = FileBlocks::kBlockSize + 20;  // inside row 4097
    HexDoc doc(tree.Write("f.bin", bytes), [bad](int fd, void* buffer, std::size_t size, std::uint64_t offset) -> long {
        if (offset >= bad) {
            errno = EIO;
            return -1;
        }
        return static_cast<long>(::pread(fd, buffer, std::min<std::uint64_t>(size, bad - offset),
                                         static_cast<off_t>(offset)));
    });
    ASSERT_TRUE(doc.Load());
    const int row = static_cast<int>(bad / 16);
    EXPECT_EQ(doc.GetLine(row - 1)->View(), RowAt(bytes, row - 1));
    EXPECT_EQ(doc.GetLine(row)->View(), Row(16u * row, std::string_view(bytes).substr(16u * row, 4)));
    EXPECT_EQ(doc.GetLine(row + 1)->View(), Row(16u * (row + 1), ""));
    EXPECT_EQ(doc.LineCount(), 3 * static_cast<int>(FileBlocks::kBlockSize / 16));

    tree.Write("dump.txt", "kept");
    EXPECT_FALSE(doc.Save(tree.Path("dump.txt")));
    EXPECT_EQ(doc.Error(), doc_error::kOpen);
    EXPECT_EQ(tree.Read("dump.txt"), "kept");
    EXPECT_EQ(doc.FileName(), tree.Path("f.bin"));
    // The rows are shown as before.
    EXPECT_EQ(doc.GetLine(row)->View(), Row(16u * row, std::string_view(bytes).substr(16u * row, 4)));
}

TEST(HexDocRows, HugeSparseFilesOpenAtOnceAndStopAtTheLargestRowCount)
{
    TempTree tree;
    const std::string path = tree.Write("10g.bin", "");
    ASSERT_EQ(::truncate(path.c_str(), 10LL << 30), 0);
    HexDoc doc(path);
    ASSERT_TRUE(doc.Load());
    ASSERT_EQ(doc.LineCount(), (10 << 26) + 0);
    EXPECT_EQ(doc.FileSize(), 10ULL << 30);
    const std::string zeros(16, '\0');
    EXPECT_EQ(doc.GetLine(doc.LineCount() - 1)->View(), Row((10ULL << 30) - 16, zeros));
    EXPECT_EQ(doc.GetLine(doc.LineCount() - 1)->View().substr(0, 10), "27FFFFFF0\t");
    // A ninth digit of the offset still ends before the first tab stop.
    EXPECT_EQ(doc.MaxWidth(), 80);
    EXPECT_EQ(doc.LineWidth(doc.GetLine(doc.LineCount() - 1)), 80);
    EXPECT_EQ(doc.GetLine(0)->View(), Row(0, zeros));

    // Past what an int counts in rows, the first kMaxRows rows are shown.
    ASSERT_EQ(::truncate(path.c_str(), 40LL << 30), 0);
    ASSERT_TRUE(doc.Load());
    EXPECT_EQ(doc.LineCount(), HexDoc::kMaxRows);
    EXPECT_EQ(doc.FileSize(), 16ULL * HexDoc::kMaxRows);
    EXPECT_EQ(doc.GetLine(HexDoc::kMaxRows - 1)->View(), Row(16ULL * (HexDoc::kMaxRows - 1), zeros));
    EXPECT_EQ(doc.GetLine(HexDoc::kMaxRows), nullptr);
}
