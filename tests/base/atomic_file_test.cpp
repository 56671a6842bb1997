#include "base/atomic_file.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesContentsAndKeepsPermissionBits)
{
    TempTree tree;
    const std::string path = tree.Write("a.txt", "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(ReplaceFileContents(path, "new contents"));
    EXPECT_EQ(tree.Read("a.txt"), "new contents");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // no temporary file is left behind
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.root()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, ALinkStaysALinkAndItsTargetIsReplaced)
{
    TempTree tree;
    tree.Write("real/target.txt", "old");
    ::symlink("real/target.txt", tree.Path("link.txt").c_str());
    ASSERT_TRUE(ReplaceFileContents(tree.Path("link.txt"), "via link"));
    EXPECT_TRUE(fs::is_symlink(tree.Path("link.txt")));
    EXPECT_EQ(tree.Read("real/target.txt"), "via link");
}

TEST(AtomicFile, AbortedOrFailedWriteLeavesTheTargetUntouched)
{
    TempTree tree;
    const std::string path = tree.Write("a.txt", "keep me");
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Open(path));
        writer.Write(std::string(3 << 20, 'x'));  // larger than the buffer
    }  // destroyed without Commit
    EXPECT_EQ(tree.Read("a.txt"), "keep me");
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.root()), fs::directory_iterator()), 1);

    EXPECT_FALSE(ReplaceFileContents(tree.Path("missing-dir/a.txt"), "x"));
}
