#include "base/full_path.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

TEST(FullPath, IsAbsoluteAndLexicallyNormal)
{
    const struct {
        const char* path;
        const char* current;
        const char* expected;
    } cases[] = {
        {"notes.txt", "/home/u", "/home/u/notes.txt"},
        {"src/../notes.txt", "/home/u", "/home/u/notes.txt"},
        {"./a/./b", "/home/u", "/home/u/a/b"},
        {".", "/home/u", "/home/u/"},
        {"..", "/home/u", "/home/"},
        {"/etc//passwd", "/home/u", "/etc/passwd"},
        {"a///b", "/home//u/", "/home/u/a/b"},
        {"/tmp/dir/", "/home/u", "/tmp/dir/"},
        {"/../../etc", "/home/u", "/etc"},
        {"../../../x", "/home/u", "/x"},
        {"/abs/../path", "/ignored", "/path"},
        {"caf\xE9/\xFF\xFE.txt", "/d\x80", "/d\x80/caf\xE9/\xFF\xFE.txt"},
        {"", "/home/u", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FullPath(c.path, c.current), c.expected) << c.path << " in " << c.current;
}

// Restores the current directory when the test ends.
class CurrentDirectory : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::current_path(no_saved_ ? std::filesystem::path("/") : saved_); }
    std::error_code no_saved_;
    std::filesystem::path saved_ = std::filesystem::current_path(no_saved_);
};

TEST_F(CurrentDirectory, RelativePathsCountFromTheProcesssDirectory)
{
    TempTree tree;
    const std::string dir = tree.MakeDir("work");
    std::filesystem::current_path(dir);
    const std::string current = std::filesystem::current_path().string();
    EXPECT_EQ(FullPath("a/../b.txt"), current + "/b.txt");
    EXPECT_EQ(FullPath("/x/./y"), "/x/y");
}

TEST_F(CurrentDirectory, PathStaysAsGivenWhenTheDirectoryIsGone)
{
    TempTree tree;
    const std::string dir = tree.MakeDir("gone");
    std::filesystem::current_path(dir);
    ASSERT_EQ(::rmdir(dir.c_str()), 0);
    EXPECT_EQ(FullPath("a/../b.txt"), "a/../b.txt");
    EXPECT_EQ(FullPath("/x/./y"), "/x/y");
}
