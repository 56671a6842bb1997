// tarnwick-grep's --text and --context forms, run as a user runs them: the
// bytes of each line as in the file, and the context form checked against
// GNU grep's -C output on the same files.

#include "tool_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

namespace {

class HitForms : public testing::Test {
protected:
    void SetUp() override { root = std::filesystem::canonical(tree.root()).string(); }
    ToolRun Grep(const std::string& args) { return RunTool(scratch, TARNWICK_GREP_TOOL, args); }

    TempTree tree, scratch;
    std::string root;
};

TEST_F(HitForms, TextAddsTheLineAsInTheFileWithoutItsLineEnd)
{
    const std::string long_line = std::string(200000, 'z') + "hit";
    struct Case {
        const char* name;
        std::string contents;
        std::vector<std::pair<long, std::string>> hits;  // line number and text
    };
    const std::vector<Case> cases = {
        {"tabs and spaces kept", "\thit  x\t\n", {{1, "\thit  x\t"}}},
        {"NUL and Latin-1 bytes", std::string("a\0hit\xe9\n", 7), {{1, std::string("a\0hit\xe9", 6)}}},
        {"CR LF dropped, lone CR kept", "hit\r\nhit\rx\n", {{1, "hit"}, {2, "hit\rx"}}},
        {"last line without line feed", "x\nlast hit", {{2, "last hit"}}},
        {"a line longer than a read", long_line + "\nhit after\n", {{1, long_line}, {2, "hit after"}}},
        {"UTF-8 kept", "caf\xc3\xa9 hit\n", {{1, "caf\xc3\xa9 hit"}}},
    };
    for (const Case& c : cases) {
        const std::string path = tree.Write("f.txt", c.contents);
        const ToolRun run = Grep("--all-lines --text hit " + Quoted(path));
        std::string expected;
        for (const auto& [number, text] : c.hits) expected += root + "/f.txt\t" + std::to_string(number) + "\t" + text + "\n";
        EXPECT_EQ(run.out, expected) << c.name;
        EXPECT_EQ(run.exit_code, 0) << c.name;
    }
}

TEST_F(HitForms, ContextIsGrepsContextForm)
{
    if (std::system("grep --version 2>/dev/null | grep -q GNU") != 0) GTEST_SKIP() << "no GNU grep";
    std::string numbered;
    for (int i = 1; i <= 30; ++i) numbered += "line " + std::to_string(i) + (i % 7 == 3 ? " hit\n" : "\n");
    tree.Write("a.txt", "hit first\nx\nhit\nhit\ny\nz\nw\nv\nhit\n");
    tree.Write("b.txt", numbered);
    tree.Write("c.txt", "nothing here\n");
    tree.Write("d.txt", std::string(100000, 'q') + "\n" + std::string(70000, 'r') + "\nend hit");
    tree.Write("e.txt", "hit\n");
    const std::string files = Quoted(root + "/a.txt") + " " + Quoted(root + "/b.txt") + " " +
                              Quoted(root + "/c.txt") + " " + Quoted(root + "/d.txt") + " " + Quoted(root + "/e.txt");
    for (const int n : {0, 1, 2, 3, 9}) {
        const ToolRun ours = Grep("--case --all-lines --text --context " + std::to_string(n) + " hit " + Quoted(root));
        const ToolRun grep = RunTool(scratch, "/usr/bin/env", "LC_ALL=C grep -n -F -C " + std::to_string(n) + " hit " + files);
        EXPECT_EQ(ours.out, grep.out) << "context " << n;
        EXPECT_EQ(ours.exit_code, 0);
    }
}

TEST_F(HitForms, FormSwitchesThatDoNotFitAreUsageErrors)
{
    const std::string path = Quoted(tree.Write("f.txt", "hit\n"));
    for (const char* args : {"--context 2", "--text --json", "--text --context", "--text --context x",
                             "--text --context -1", "--text --context=2x"}) {
        const ToolRun run = Grep(std::string(args) + " hit " + path);
        EXPECT_EQ(run.exit_code, 2) << args;
        EXPECT_EQ(run.out, "") << args;
    }
    EXPECT_EQ(Grep("--text --context=1 hit " + path).out, root + "/f.txt:1:hit\n");
}

} // namespace
