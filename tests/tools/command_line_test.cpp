// The command-line tools as a user runs them: output streams and exit codes.

#include "tool_run.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    ToolRun Grep(const std::string& args) { return RunTool(scratch, TARNWICK_GREP_TOOL, args); }
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
