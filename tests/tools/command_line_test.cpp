// The command-line tools as a user runs them: output streams and exit codes.

#include "tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class CommandLine : public testing::Test {
protected:
    void SetUp() override
    {
        tree.Write("src/a.c", "int Main;\nmain();\n");
        tree.Write("src/b.h", "nothing\n");
        tree.Write("src/sub/c.c", "main\n");
        root = std::filesystem::canonical(tree.root()).string();
    }
    ToolRun Grep(const std::string& args, const std::string& cwd = {})
    {
        return RunTool(scratch, TARNWICK_GREP_TOOL, args, cwd);
    }
    ToolRun Count(const std::string& args) { return RunTool(scratch, TARNWICK_COUNT_TOOL, args); }

    TempTree tree, scratch;
    std::string root;
};

} // namespace

TEST_F(CommandLine, GrepListsHitsOnStdoutAndTheStatusOnStderr)
{
    ToolRun run = Grep("main " + Quoted(tree.root() + "/src/*.c"));
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, root + "/src/a.c\t1\n");
    EXPECT_EQ(run.err, "Processed 1 files.  Found 1 matches.\n");

    run = Grep("--case --all-lines --subdirs main " + Quoted(tree.root() + "/src/*.c"));
    EXPECT_EQ(run.out, root + "/src/a.c\t2\n" + root + "/src/sub/c.c\t1\n");

    run = Grep("--words --all-lines Mai " + Quoted(tree.root() + "/src"));  // a bare directory: every file
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Processed 2 files.  Found 0 matches.\n");
}

TEST_F(CommandLine, ExitCodesForUsageErrorsAndInvalidDirectories)
{
    EXPECT_EQ(Grep("").exit_code, 2);
    EXPECT_EQ(Grep("--bogus x " + Quoted(tree.root())).exit_code, 2);
    EXPECT_EQ(Grep("'' " + Quoted(tree.root())).exit_code, 2);
    const ToolRun invalid = Grep("x " + Quoted(tree.root() + "/none/*.c"));
    EXPECT_EQ(invalid.exit_code, 2);
    EXPECT_EQ(invalid.err, "Invalid path: " + tree.root() + "/none.\n");
    const ToolRun help = Grep("--help");
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("Usage: tarnwick-grep"), std::string::npos);
    EXPECT_EQ(Count("").exit_code, 2);
    EXPECT_EQ(Count(Quoted(tree.root() + "/none/*.c")).exit_code, 2);
    EXPECT_EQ(Count("--help").exit_code, 0);
}

TEST_F(CommandLine, CountListsEveryFileAndTheTotal)
{
    ToolRun run = Count("--subdirs " + Quoted(tree.root() + "/src/*.c"));
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, root + "/src/a.c\t2\n" + root + "/src/sub/c.c\t1\n");
    EXPECT_EQ(run.err, "Processed 2 files.  Total line count is 3 lines.\n");
    EXPECT_EQ(Count(Quoted(tree.root() + "/src/*.none")).exit_code, 1);
}

TEST_F(CommandLine, ExcludeIsRepeatableAndGitignoreReadsTheTreesRules)
{
    tree.Write("src/x.min.c", "main\n");
    tree.Write("src/.gitignore", "sub/\n");
    tree.MakeDir("src/.git");  // the folder itself is skipped with the rules
    tree.Write("src/.git/hit.c", "main\n");
    const std::string src = Quoted(tree.root() + "/src/*.c");
    ToolRun run = Count("--subdirs --exclude '*.min.c' --exclude=sub/ " + src);
    EXPECT_EQ(run.out, root + "/src/a.c\t2\n" + root + "/src/.git/hit.c\t1\n");
    EXPECT_EQ(run.err, "Processed 2 files.  Total line count is 3 lines.  Excluded: 1 files, 1 folders.\n");
    // Default: the hidden folder is searched, as always.
    run = Grep("--subdirs main " + src);
    EXPECT_EQ(run.err, "Processed 4 files.  Found 4 matches.\n");
    run = Grep("--subdirs --gitignore main " + src);
    EXPECT_EQ(run.out, root + "/src/a.c\t1\n" + root + "/src/x.min.c\t1\n");
    EXPECT_EQ(run.err, "Processed 2 files.  Found 2 matches.  Excluded: 0 files, 2 folders.\n");
    EXPECT_EQ(Grep("main " + src + " --exclude").exit_code, 2);  // the option without its pattern
}

namespace {

// Files whose line ends and encodings a replacement must keep.
void MakeReplacementTree(const TempTree& tree, const std::string& dir)
{
    tree.Write(dir + "/lf.c", "int x;\nint y;\nint x = 2;\n");
    tree.Write(dir + "/crlf.c", "int x;\r\none\r\n");
    tree.Write(dir + "/lone_cr.c", "a\rint x\rb\n");
    tree.Write(dir + "/no_eol.c", "first\nint x");
    tree.Write(dir + "/latin1.c", "caf\xe9 int x\n");
    tree.Write(dir + "/sub/utf8.c", "\xc3\xa9 int x \xe2\x82\xac\n");
    std::string far = "int x\n";
    for (int i = 0; i < 20; ++i) far += "line " + std::to_string(i) + "\n";
    tree.Write(dir + "/far.c", far + "int x\nend");
    tree.Write(dir + "/none.c", "nothing\n");
}

std::string Snapshot(const std::string& root)
{
    std::string all;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        all += std::filesystem::relative(file, root).string() + ":" +
               std::string(std::istreambuf_iterator<char>(in), {}) + "\n";
    }
    return all;
}

} // namespace

TEST_F(CommandLine, ADryRunsDiffAppliedWithPatchGivesTheRealRunsBytes)
{
    if (std::system("patch --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "patch is not installed";
    ScopedStateHome state(scratch.MakeDir("state"));
    for (const char* replacement : {"long y", "two\nlines"}) {
        TempTree work;
        MakeReplacementTree(work, "t");
        const std::string args = "--replace '" + std::string(replacement) + "' --all-lines --subdirs 'int x' t";
        const ToolRun dry = Grep("--dry-run " + args, work.root());
        EXPECT_EQ(dry.exit_code, 0) << dry.err;
        EXPECT_NE(dry.out.find("--- t/sub/utf8.c\n+++ t/sub/utf8.c\n"), std::string::npos);  // relative names
        EXPECT_NE(dry.out.find("\\ No newline at end of file"), std::string::npos);
        EXPECT_EQ(Snapshot(work.Path("t")).find("long y"), std::string::npos);  // nothing written
        // and the summary does not say otherwise
        EXPECT_NE(dry.err.find("  Files that would be replaced: "), std::string::npos) << dry.err;
        EXPECT_EQ(dry.err.find("  Files replaced: "), std::string::npos) << dry.err;
        work.Write("t.diff", dry.out);
        std::filesystem::copy(work.Path("t"), work.Path("orig"), std::filesystem::copy_options::recursive);
        ASSERT_EQ(std::system(("cd '" + work.root() + "' && patch -s -p0 <t.diff").c_str()), 0);
        const std::string patched = Snapshot(work.Path("t"));
        std::filesystem::remove_all(work.Path("t"));
        std::filesystem::rename(work.Path("orig"), work.Path("t"));
        const ToolRun real = Grep(args, work.root());
        EXPECT_EQ(real.exit_code, 0) << real.err;
        EXPECT_EQ(Snapshot(work.Path("t")), patched) << replacement;
    }
}

TEST_F(CommandLine, AReplacementIsListedAndUndone)
{
    ScopedStateHome state(scratch.MakeDir("state"));
    MakeReplacementTree(tree, "t");
    const std::string before = Snapshot(tree.Path("t"));
    EXPECT_EQ(Grep("--list-replacements").exit_code, 1);
    const ToolRun real = Grep("--replace 'long y' --all-lines --subdirs 'int x' " + Quoted(tree.Path("t")));
    EXPECT_EQ(real.exit_code, 0);
    EXPECT_NE(real.err.find("Files replaced: 7."), std::string::npos) << real.err;
    EXPECT_NE(real.err.find("--undo-replacement "), std::string::npos);
    const ToolRun list = Grep("--list-replacements");
    EXPECT_EQ(list.exit_code, 0);
    EXPECT_NE(list.out.find("\"int x\" -> \"long y\"  7 files\n"), std::string::npos) << list.out;
    tree.Write("t/lf.c", "mine now\n");
    const std::string id = list.out.substr(0, list.out.find('\t'));
    const ToolRun undo = Grep("--undo-replacement " + Quoted(id));
    EXPECT_EQ(undo.exit_code, 0);
    EXPECT_NE(undo.err.find("Restored 6 files"), std::string::npos) << undo.err;
    EXPECT_NE(undo.err.find("changed since: " + std::filesystem::canonical(tree.Path("t/lf.c")).string()),
              std::string::npos)
        << undo.err;
    tree.Write("t/lf.c", "int x;\nint y;\nint x = 2;\n");
    EXPECT_EQ(Snapshot(tree.Path("t")), before);
    EXPECT_EQ(Grep("--undo-replacement no-such-run").exit_code, 1);
}

TEST_F(CommandLine, AReplacementLargerThanTheJournalIsRefusedUnlessAgreed)
{
    ScopedStateHome state(scratch.MakeDir("state"));
    // A sparse file of more than 2 GB; only its start is ever read.
    const std::string big = tree.Write("big/huge.c", "int x\n");
    ASSERT_EQ(::truncate(big.c_str(), (2ll << 30) + 1), 0);
    const ToolRun run = Grep("--replace 'long y' 'int x' " + Quoted(tree.Path("big")));
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("nothing was replaced"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--yes"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(big), (2ull << 30) + 1);
    EXPECT_EQ(Grep("--list-replacements").exit_code, 1);
    EXPECT_EQ(Grep("--dry-run 'int x' " + Quoted(tree.Path("big"))).exit_code, 2);  // only with --replace
}
