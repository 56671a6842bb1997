// What a replacing grep run decides before it opens a file, and the one
// summary it shows afterwards.
#include "recording_host.h"
#include "search/grep_engine.h"
#include "search/replacement_run.h"
#include "support/temp_tree.h"
#include "support/unprivileged_checks.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Reason = ReplacementRun::Reason;
using Verdict = ReplacementRun::Verdict;

TEST(ReplacementRun, AFileReachedByAnotherNameIsHandledOnce)
{
    TempTree tree;
    const std::string file = tree.Write("a.txt", "hit\n");
    ASSERT_EQ(::symlink(file.c_str(), tree.Path("soft.txt").c_str()), 0);
    ASSERT_EQ(::link(file.c_str(), tree.Path("hard.txt").c_str()), 0);
    ReplacementRun run;
    run.Start();
    EXPECT_EQ(run.Check(tree.Path("hard.txt"), false), Verdict::kReplace);
    EXPECT_EQ(run.Check(file, false), Verdict::kSeenBefore);
    EXPECT_EQ(run.Check(tree.Path("soft.txt"), false), Verdict::kSeenBefore);
    EXPECT_TRUE(run.left().empty());
    // A save that renamed a new file over the old one: the new inode is the
    // same file of this run.
    const std::string renamed = tree.Write("new.tmp", "replaced\n");
    ASSERT_EQ(::rename(renamed.c_str(), file.c_str()), 0);
    run.CountReplaced(file);
    EXPECT_EQ(run.Check(tree.Path("soft.txt"), false), Verdict::kSeenBefore);
    EXPECT_EQ(run.replaced(), 1);
    // A new run starts afresh.
    run.Start();
    EXPECT_EQ(run.Check(file, false), Verdict::kReplace);
}

TEST(ReplacementRun, BinaryAndHiddenFilesAreLeftWithTheirReason)
{
    TempTree tree;
    const std::string binary = tree.Write("b.dat", std::string("hit\0x", 5));
    // A NUL far past the first block still makes the file binary.
    const std::string late = tree.Write("late.dat", std::string(200000, 'x') + std::string(1, '\0'));
    const std::string text = tree.Write("t.txt", "hit\n");
    ReplacementRun run;
    run.Start();
    EXPECT_EQ(run.Check(binary, false), Verdict::kLeft);
    EXPECT_EQ(run.Check(late, false), Verdict::kLeft);
    EXPECT_EQ(run.Check(text, true), Verdict::kLeft);
    EXPECT_EQ(run.Check(tree.Path("gone.txt"), false), Verdict::kLeft);
    ASSERT_EQ(run.left().size(), 4u);
    EXPECT_EQ(run.left()[0].reason, Reason::kBinary);
    EXPECT_EQ(run.left()[1].reason, Reason::kBinary);
    EXPECT_EQ(run.left()[2].reason, Reason::kHidden);
    EXPECT_EQ(run.left()[3].reason, Reason::kNotOpened);
}

TEST(ReplacementRun, AReadOnlyFileIsLeftAlone)
{
    TempTree tree;
    const std::string locked = tree.Write("locked.txt", "hit\n");
    const std::string mine = tree.Write("mine.txt", "hit\n");
    const std::string theirs = tree.Write("theirs.txt", "hit\n");
    OpenTreeToOthers(tree.root());
    GiveToUnprivilegedUser(locked);
    GiveToUnprivilegedUser(mine);
    ::chmod(locked.c_str(), 0444);
    ::chmod(theirs.c_str(), 0644);  // another user's file, not writable for this one
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand files to another user";
    const std::string failure = RunUnprivilegedChecks([&]() -> std::string {
        ReplacementRun run;
        run.Start();
        if (run.Check(mine, false) != Verdict::kReplace) return "own file refused";
        if (run.Check(locked, false) != Verdict::kLeft) return "0444 file accepted";
        if (run.Check(theirs, false) != Verdict::kLeft) return "another user's file accepted";
        if (run.left().size() != 2 || run.left()[0].reason != Reason::kReadOnly ||
            run.left()[1].reason != Reason::kReadOnly)
            return "wrong reasons";
        return {};
    });
    EXPECT_EQ(failure, "");
    EXPECT_EQ(tree.Read("locked.txt"), "hit\n");
}

TEST(ReplacementRun, AFileReachedThroughALinkOutOfTheTreeIsLeftAlone)
{
    TempTree tree;
    const std::string outside = tree.Write("etc/x", "hit\n");
    tree.Write("top/b/x", "hit\n");
    tree.Write("top/a/real.txt", "hit\n");
    tree.MakeDir("top/a");
    ASSERT_EQ(::symlink("../../etc/x", tree.Path("top/a/out.txt").c_str()), 0);
    ASSERT_EQ(::symlink("../b/x", tree.Path("top/a/in.txt").c_str()), 0);
    ASSERT_EQ(::symlink(outside.c_str(), tree.Path("top/a/absolute.txt").c_str()), 0);
    // A hard link is the file itself, wherever its other name lies.
    const std::string hard_outside = tree.Write("etc/y", "hit\n");
    ASSERT_EQ(::link(hard_outside.c_str(), tree.Path("top/a/hard.txt").c_str()), 0);
    // A top directory named through a link is the tree it leads to.
    ASSERT_EQ(::symlink("top", tree.Path("alias").c_str()), 0);
    // A sibling whose name begins with the top's is no part of it.
    tree.Write("top2/z", "hit\n");
    ASSERT_EQ(::symlink("../../top2/z", tree.Path("top/a/prefix.txt").c_str()), 0);

    ReplacementRun run;
    run.Start({tree.Path("alias")});
    const struct {
        const char* name;
        Verdict verdict;
    } cases[] = {
        {"top/a/real.txt", Verdict::kReplace},   {"top/a/in.txt", Verdict::kReplace},
        {"top/a/out.txt", Verdict::kLeft},       {"top/a/absolute.txt", Verdict::kSeenBefore},
        {"top/a/hard.txt", Verdict::kReplace},   {"top/a/prefix.txt", Verdict::kLeft},
    };
    for (const auto& c : cases) EXPECT_EQ(run.Check(tree.Path(c.name), false), c.verdict) << c.name;
    ASSERT_EQ(run.left().size(), 2u);
    EXPECT_EQ(run.left()[0].reason, Reason::kOutside);
    EXPECT_EQ(run.left()[0].path, tree.Path("top/a/out.txt"));
    EXPECT_EQ(run.left()[1].reason, Reason::kOutside);
    EXPECT_NE(run.SummaryText(10).find("Reached through links that lead out of the searched tree:\r    " +
                                       tree.Path("top/a/out.txt")),
              std::string::npos);
}

TEST(ReplacementRun, TheSummaryGroupsTheFilesByReasonAndCutsALongList)
{
    ReplacementRun run;
    run.Start();
    run.CountReplaced("/t/a.txt");
    run.CountReplaced("/t/b.txt");
    run.Leave(Reason::kNoOccurrence, "/t/gone.txt");
    run.Leave(Reason::kUnsaved, "/t/open.txt");
    run.Leave(Reason::kBinary, "/t/b.dat");
    run.Leave(Reason::kUnsaved, "/t/open2.txt");
    EXPECT_EQ(run.SummaryText(10),
              "Replaced in 2 files; 4 files with hits were left as they are.\r"
              "\rOpen in a window with unsaved changes (window and file kept):\r    /t/open.txt\r    /t/open2.txt\r"
              "\rBinary files (they hold a NUL byte):\r    /t/b.dat\r"
              "\rNo occurrence any more:\r    /t/gone.txt");
    EXPECT_EQ(run.SummaryText(2),
              "Replaced in 2 files; 4 files with hits were left as they are.\r"
              "\rOpen in a window with unsaved changes (window and file kept):\r    /t/open.txt\r    /t/open2.txt\r"
              "\r... and 2 more.");
}

TEST(ReplacementRun, TheWalkSaysWhichFilesLieInHiddenSubDirectoriesButNotOfAHiddenTop)
{
    TempTree tree;
    tree.Write(".top/a.txt", "hit\n");
    tree.Write(".top/.git/b.txt", "hit\n");
    tree.Write(".top/.git/deeper/c.txt", "hit\n");
    tree.Write(".top/src/d.txt", "hit\n");
    RecordingHost host;
    GrepEngine engine(host);
    engine.options.pattern = "hit";
    engine.options.replacement = "new";
    engine.options.path = tree.Path(".top/*.txt");
    engine.options.sub_dir = true;
    engine.options.replace = true;
    engine.RunSearch();
    ASSERT_EQ(host.replaced.size(), 4u);
    EXPECT_EQ(host.replaced_hidden, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(host.last_status(), "Processed 4 files.  Found 4 matches.  Files replaced: 4.");
}

} // namespace
