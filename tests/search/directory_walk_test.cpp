// The directory walk as both runs see it: order, what is skipped, links,
// status lines, stopping, invalid paths, and the current directory.

#include "recording_host.h"
#include "search/grep_engine.h"
#include "search/line_counter.h"
#include "support/temp_tree.h"
#include "support/unprivileged_checks.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string Canonical(const std::string& path)
{
    return fs::canonical(path).string();
}

namespace {

// Keeps the process's current directory across a test.
class KeepCurrentDirectory {
public:
    KeepCurrentDirectory() : saved_(fs::current_path()) {}
    ~KeepCurrentDirectory() { fs::current_path(saved_); }

private:
    fs::path saved_;
};

struct Grep {
    RecordingHost host;
    GrepEngine engine{host};
    bool entered = false;

    Grep& Run(const std::string& pattern, const std::string& path, bool sub_dir = true)
    {
        engine.options.pattern = pattern;
        engine.options.path = path;
        engine.options.sub_dir = sub_dir;
        entered = engine.RunSearch();
        return *this;
    }
};

// Every file holds "hit" on its first line.
TempTree& OrderTree(TempTree& t)
{
    t.Write("b.txt", "hit\n");
    t.Write("A.txt", "hit\n");
    t.Write("c.dat", "hit\n");
    t.Write("sub2/x.txt", "hit\n");
    t.Write("Sub1/y.txt", "hit\n");
    t.Write("Sub1/deep/z.txt", "hit\n");
    t.Write(".hidden.txt", "hit\n");
    t.Write(".hdir/h.txt", "hit\n");
    return t;
}

} // namespace

TEST(DirectoryWalk, FilesOfALevelComeBeforeItsSubDirectoriesDepthFirstInNameOrder)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    OrderTree(tree);
    const std::string root = Canonical(tree.root());
    Grep g;
    g.Run("hit", tree.root() + "/*.txt");
    ASSERT_TRUE(g.entered);
    const std::vector<std::string> expected = {
        root + "/A.txt\t1",      root + "/b.txt\t1",      root + "/.hdir/h.txt\t1",
        root + "/Sub1/y.txt\t1", root + "/Sub1/deep/z.txt\t1", root + "/sub2/x.txt\t1",
    };
    EXPECT_EQ(g.host.results, expected);
    EXPECT_EQ(g.engine.files, 6);
    EXPECT_EQ(g.engine.matches, 6);
    EXPECT_EQ(g.host.last_status(), "Processed 6 files.  Found 6 matches.");
    // Each file is announced before it is scanned; each level writes its summary.
    EXPECT_EQ(g.host.statuses.front(), root + "/A.txt");
    EXPECT_EQ(std::count_if(g.host.statuses.begin(), g.host.statuses.end(),
                            [](const std::string& s) { return s.rfind("Processed ", 0) == 0; }),
              5);
    // A pump after each file and each sub-directory.
    EXPECT_EQ(g.host.pumps, 6 + 4);
    // The walk ends in the directory it started from.
    EXPECT_EQ(fs::current_path().string(), root);
}

TEST(DirectoryWalk, WithoutSubDirectoriesOnlyTheTopLevelIsSearched)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    OrderTree(tree);
    Grep g;
    g.Run("hit", tree.root() + "/*.TXT", false);
    EXPECT_EQ(g.host.results.size(), 2u);
    EXPECT_EQ(g.host.last_status(), "Processed 2 files.  Found 2 matches.");
}

TEST(DirectoryWalk, APathWithoutASlashSearchesTheCurrentDirectory)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    tree.Write("one.txt", "hit\n");
    tree.Write("sub/two.txt", "hit\n");
    fs::current_path(tree.root());
    Grep g;
    g.Run("hit", "*.txt", false);
    ASSERT_EQ(g.host.results.size(), 1u);
    EXPECT_EQ(g.host.results[0], Canonical(tree.root()) + "/one.txt\t1");
}

TEST(DirectoryWalk, PathsKeepTheirCase)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    tree.Write("Src/Main.TXT", "Hit\n");
    Grep g;
    g.Run("HIT", tree.root() + "/*.*");
    ASSERT_EQ(g.host.results.size(), 1u);
    EXPECT_EQ(g.host.results[0], Canonical(tree.root()) + "/Src/Main.TXT\t1");
}

TEST(DirectoryWalk, SystemEntriesAndDanglingLinksAreSkippedAndLinksToFilesSearched)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    const std::string root = Canonical(tree.root());
    tree.Write("real.txt", "hit\n");
    ASSERT_EQ(::mkfifo(tree.Path("fifo.txt").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("nowhere.txt", tree.Path("dangling.txt").c_str()), 0);
    ASSERT_EQ(::symlink("real.txt", tree.Path("link.txt").c_str()), 0);
    ASSERT_EQ(::symlink("real.txt", tree.Path(".hidden-link.txt").c_str()), 0);
    // A socket in the tree.
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string sock_path = tree.Path("sock.txt");
    ASSERT_LT(sock_path.size(), sizeof addr.sun_path);
    std::copy(sock_path.begin(), sock_path.end(), addr.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    Grep g;
    g.Run("hit", tree.root() + "/*.txt");
    ::close(sock);
    const std::vector<std::string> expected = {root + "/link.txt\t1", root + "/real.txt\t1"};
    EXPECT_EQ(g.host.results, expected);
    EXPECT_EQ(g.engine.files, 2);

    // Handed a FIFO directly, the scan refuses it at once instead of waiting
    // for a writer.
    g.engine.SearchFile(tree.Path("fifo.txt"));
    EXPECT_EQ(g.host.results.size(), 2u);
}

TEST(DirectoryWalk, ALinkToADirectoryIsNotDescendedSoALoopEnds)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    tree.Write("a/file.txt", "hit\n");
    ASSERT_EQ(::symlink("..", tree.Path("a/up").c_str()), 0);
    ASSERT_EQ(::symlink(tree.root().c_str(), tree.Path("a/loop").c_str()), 0);
    Grep g;
    g.Run("hit", tree.root() + "/*.*");
    ASSERT_EQ(g.host.results.size(), 1u);
    EXPECT_EQ(g.engine.files, 1);
}

TEST(DirectoryWalk, AnInvalidTopDirectoryIsReportedWithItsText)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    tree.Write("file.txt", "hit\n");
    Grep g;
    g.Run("hit", tree.root() + "/NoSuch/*.txt");
    EXPECT_FALSE(g.entered);
    EXPECT_TRUE(g.host.results.empty());
    EXPECT_EQ(g.host.last_status(), "Invalid path: " + tree.root() + "/NoSuch.");
    EXPECT_EQ(g.engine.files, 0);

    // A file is no directory either.
    Grep h;
    h.Run("hit", tree.root() + "/file.txt/*.*");
    EXPECT_FALSE(h.entered);
    EXPECT_EQ(h.host.last_status(), "Invalid path: " + tree.root() + "/file.txt.");
}

TEST(DirectoryWalk, AnEmptyDirectoryGivesTheSummaryWithNothingFound)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    tree.Write("other.dat", "hit\n");
    Grep g;
    g.Run("hit", tree.root() + "/*.txt");
    EXPECT_TRUE(g.entered);
    EXPECT_TRUE(g.host.results.empty());
    EXPECT_EQ(g.host.last_status(), "Processed 0 files.  Found 0 matches.");
}

TEST(DirectoryWalk, UnreadableEntriesAreCountedOrReportedAndTheRunGoesOn)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    tree.Write("a.txt", "hit\n");
    const std::string locked = tree.Write("b.txt", "hit\n");
    tree.Write("closed/c.txt", "hit\n");
    tree.Write("listable/e.txt", "hit\n");
    tree.Write("open/d.txt", "hit\n");
    OpenTreeToOthers(tree.root());
    tree.Write("closed/c.txt", "hit\n");
    ::chmod(locked.c_str(), 0);
    ::chmod(tree.Path("closed").c_str(), 0);
    ::chmod(tree.Path("listable").c_str(), 0444);  // may be read, not entered
    const std::string root = Canonical(tree.root());
    const std::string failure = RunUnprivilegedChecks([&]() -> std::string {
        Grep g;
        g.Run("hit", tree.root() + "/*.txt");
        const std::vector<std::string> expected = {root + "/a.txt\t1", root + "/open/d.txt\t1"};
        if (g.host.results != expected) return "results: " + std::to_string(g.host.results.size());
        if (std::string f = Differs("files", g.engine.files, 3); !f.empty()) return f;  // b.txt counts unread
        for (const char* dir : {"/closed", "/listable"}) {
            const std::string invalid = "Invalid path: " + root + dir + ".";
            if (std::find(g.host.statuses.begin(), g.host.statuses.end(), invalid) == g.host.statuses.end())
                return "no status " + invalid;
        }
        // The summary keeps them in view after the run.
        return Differs("summary", g.host.last_status(),
                       "Processed 3 files.  Found 2 matches.  Directories not entered: 2 (first: " + root +
                           "/closed).");
    });
    EXPECT_EQ(failure, "");
}

namespace {

// Makes a chain of `depth` directories named `name` below `root`, with a
// file "hit.txt" in every `every`-th of them, by paths relative to each
// parent, so that it may reach deeper than any full path can name.
// Returns the number of files made.
int MakeDeepChain(const std::string& root, const std::string& name, int depth, int every)
{
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    int made = 0;
    for (int level = 1; fd >= 0 && level <= depth; ++level) {
        if (::mkdirat(fd, name.c_str(), 0755) != 0) break;
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        if (fd >= 0 && level % every == 0) {
            const int file = ::openat(fd, "hit.txt", O_WRONLY | O_CREAT, 0644);
            if (file >= 0 && ::write(file, "hit\n", 4) == 4) ++made;
            if (file >= 0) ::close(file);
        }
    }
    if (fd >= 0) ::close(fd);
    return made;
}

// Removes everything below the open directory `fd`, at any depth.
void RemoveContents(int fd)
{
    DIR* dir = ::fdopendir(::dup(fd));
    if (!dir) return;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) names.emplace_back(entry->d_name);
    ::closedir(dir);
    for (const std::string& name : names) {
        if (::unlinkat(fd, name.c_str(), 0) == 0) continue;
        const int sub = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (sub < 0) continue;
        RemoveContents(sub);
        ::close(sub);
        ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
}

// Builds `depth` levels below `root`, each with a sub-directory "a" leading
// on and a sub-directory "b" after it that holds "f.txt" with a hit, so
// each level still needs its directory when "a" has been searched. Returns
// the result lines a run lists, depth-first: the deepest "b" first, the
// top's last; `deepest` becomes the full path of the last "a".
std::vector<std::string> MakeLadder(const std::string& root, int depth, std::string& deepest)
{
    std::vector<std::string> b_files;
    deepest = Canonical(root);
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth && fd >= 0; ++level) {
        ::mkdirat(fd, "b", 0755);
        const int b = ::openat(fd, "b", O_RDONLY | O_DIRECTORY);
        const int file = ::openat(b, "f.txt", O_WRONLY | O_CREAT, 0644);
        if (file >= 0 && ::write(file, "hit\n", 4) == 4) b_files.push_back(deepest + "/b/f.txt\t1");
        if (file >= 0) ::close(file);
        if (b >= 0) ::close(b);
        ::mkdirat(fd, "a", 0755);
        const int next = ::openat(fd, "a", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        deepest += "/a";
    }
    if (fd >= 0) ::close(fd);
    return {b_files.rbegin(), b_files.rend()};
}

// A tree too deep for full paths, emptied before its TempTree goes.
class DeepTree : public TempTree {
public:
    ~DeepTree()
    {
        const int fd = ::open(root().c_str(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0) RemoveContents(fd);
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

TEST(DirectoryWalk, EveryFileOfATreeDeeperThanAnyPathIsFound)
{
    KeepCurrentDirectory keep;
    DeepTree tree;
    const std::string root = Canonical(tree.root());
    // 3,000 levels of a one-letter name, and 30 of a 200-letter name: both
    // reach well past the longest path the system takes.
    tree.MakeDir("short");
    const int short_files = MakeDeepChain(tree.Path("short"), "d", 3000, 100);
    tree.MakeDir("long");
    const int long_files = MakeDeepChain(tree.Path("long"), std::string(200, 'n'), 30, 3);
    ASSERT_EQ(short_files, 30);
    ASSERT_EQ(long_files, 10);

    Grep g;
    g.Run("hit", tree.root() + "/*.txt");
    ASSERT_EQ(g.host.results.size(), 40u);
    EXPECT_EQ(g.engine.files, 40);
    EXPECT_EQ(g.host.last_status(), "Processed 40 files.  Found 40 matches.");
    // The listed paths are full paths all the same.
    std::string deepest = root + "/short";
    for (int level = 0; level < 3000; ++level) deepest += "/d";
    EXPECT_EQ(g.host.results.back(), deepest + "/hit.txt\t1");
    EXPECT_GT(deepest.size(), std::size_t(PATH_MAX));
    EXPECT_EQ(fs::current_path().string(), root);

    // The line counter walks the same way.
    RecordingHost host;
    LineCounter counter(host);
    counter.options.path = tree.root() + "/*.txt";
    counter.options.sub_dir = true;
    counter.RunCount(true);
    EXPECT_EQ(host.results.size(), 40u);
    EXPECT_EQ(host.last_status(), "Processed 40 files.  Total line count is 40 lines.");
}

TEST(DirectoryWalk, AWideAndDeepTreeIsWalkedInOrderWithFewDirectoriesOpen)
{
    // More levels than the walk keeps open at once.
    KeepCurrentDirectory keep;
    DeepTree tree;
    std::string deepest;
    const std::vector<std::string> expected = MakeLadder(tree.root(), 200, deepest);

    Grep g;
    g.Run("hit", tree.root() + "/*.txt");
    EXPECT_EQ(g.host.results, expected);
    EXPECT_EQ(g.engine.not_entered, 0);
    EXPECT_EQ(g.host.last_status(), "Processed 200 files.  Found 200 matches.");
}

TEST(DirectoryWalk, StopEndsTheRunAfterTheCurrentFileAndTheLevelsStillSummarise)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    tree.Write("1.txt", "hit\n");
    tree.Write("2.txt", "hit\n");
    tree.Write("3.txt", "hit\n");
    tree.Write("sub/4.txt", "hit\n");
    Grep g;
    g.host.on_pump = [&] {
        if (g.host.results.size() == 2) g.engine.StopSearch();
    };
    g.Run("hit", tree.root() + "/*.txt");
    EXPECT_TRUE(g.engine.stop);
    EXPECT_EQ(g.host.results.size(), 2u);
    EXPECT_EQ(g.engine.files, 2);
    ASSERT_GE(g.host.statuses.size(), 2u);
    EXPECT_EQ(g.host.statuses[g.host.statuses.size() - 2], "Grep interrupted by user.");
    EXPECT_EQ(g.host.last_status(), "Processed 2 files.  Found 2 matches.");

    // The next run starts afresh only when the caller clears the flag (Go).
    g.host.on_pump = nullptr;
    g.engine.stop = false;
    g.Run("hit", tree.root() + "/*.txt");
    EXPECT_EQ(g.host.results.size(), 4u);
}

TEST(DirectoryWalk, TheLineCounterWalksTheSameWay)
{
    KeepCurrentDirectory keep;
    TempTree tree;
    const std::string root = Canonical(tree.root());
    tree.Write("b.txt", "1\n2\n3\n");
    tree.Write("A.txt", "1\n2\n3\n4\n5\n");
    tree.Write("sub/c.txt", "");
    tree.Write(".hidden.txt", "1\n");
    RecordingHost host;
    LineCounter counter(host);
    counter.options.path = tree.root() + "/*.txt";
    counter.options.sub_dir = true;
    counter.RunCount(true);
    const std::vector<std::string> expected = {root + "/A.txt\t5", root + "/b.txt\t3", root + "/sub/c.txt\t0"};
    EXPECT_EQ(host.results, expected);
    EXPECT_EQ(host.last_status(), "Processed 3 files.  Total line count is 8 lines.");
    counter.StopSearch();
    EXPECT_EQ(host.last_status(), "Grep interrupted by user.");
}

namespace {

// Output and exit code of a command run through the shell.
std::string CommandOutput(const std::string& command, int& exit_code)
{
    std::string out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = ::pclose(pipe);
    exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

} // namespace

TEST(DirectoryWalk, ADirectoryThatMayBeReadButNotSearchedDeepInATreeCostsOnlyItself)
{
    // The "a" of level 180 may be read but not searched. Every level above
    // it must still reach its "b" once the closed directory has been
    // passed, beyond the levels the walk holds open at once.
    KeepCurrentDirectory keep;
    DeepTree tree;
    std::string path;
    const std::vector<std::string> expected = MakeLadder(tree.root(), 180, path);
    // Below the closed directory lies a file no run can reach.
    std::ofstream(path + "/g.txt") << "hit\n";
    OpenTreeToOthers(tree.root());
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string summary = "Processed 180 files.  Found 180 matches.  Directories not entered: 1 (first: " +
                                path + ").";

    const std::string failure = RunUnprivilegedChecks([&]() -> std::string {
        Grep g;
        g.engine.scan_ahead = false;
        g.Run("hit", tree.root() + "/*.txt");
        if (g.host.results != expected) return "engine results: " + std::to_string(g.host.results.size());
        if (std::string f = Differs("engine summary", g.host.last_status(), summary); !f.empty()) return f;
        Grep ahead;
        ahead.engine.scan_ahead = true;
        ahead.Run("hit", tree.root() + "/*.txt");
        if (ahead.host.results != expected) return "results scanning ahead: " + std::to_string(ahead.host.results.size());
        // The tool: result lines on standard output, then the status line.
        int exit_code = -1;
        const std::string out = CommandOutput(std::string("'") + TARNWICK_GREP_TOOL + "' --subdirs hit '" +
                                                  tree.root() + "/*.txt' 2>&1",
                                              exit_code);
        std::string listed;
        for (const std::string& line : expected) listed += line + "\n";
        if (std::string f = Differs("tool output", out, listed + summary + "\n"); !f.empty()) return f.substr(0, 400);
        return Differs("tool exit code", exit_code, 0);
    });
    ::chmod(path.c_str(), 0755);
    EXPECT_EQ(failure, "");
}
