// Replacing runs through the journal: every file written can be given its
// original bytes back, after a crash at any point as well, and a file the
// journal cannot keep is not written.
#include "search/replacement_journal.h"

#include "base/content_hash.h"
#include "base/file_identity.h"
#include "base/save_faults.h"
#include "search/file_replacement.h"
#include "search/grep_engine.h"
#include "search/replacement_run.h"
#include "support/temp_tree.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
namespace rj = replacement_journal;

namespace {

// The host of a replacing run as the tool and the window are: the run's
// checks, then the replacement through the journal.
class JournalHost : public GrepHost {
public:
    ReplacementRun run;
    rj::Writer journal;

    void ClearResults() override {}
    void AppendHit(const GrepHit&) override {}
    void AppendCount(const CountResult&) override {}
    void SetStatusText(std::string_view) override {}
    void PumpWaitingEvents() override {}
    void ReplacementStarts(const std::string& top_dir) override { run.Start({top_dir}); }
    bool ReplaceInFile(const std::string& path, bool hidden, GrepEngine::Options_t options) override
    {
        if (run.Check(path, hidden) != ReplacementRun::Verdict::kReplace) return false;
        return run.Replace(path, options, {&journal});
    }
};

// Replaces "int x" by "long y" on every line of every file below `dir`.
void ReplaceTree(JournalHost& host, const std::string& dir, const rj::Limits& limits = {})
{
    ASSERT_TRUE(host.journal.Begin("int x", "long y", 0, limits));
    GrepEngine engine(host);
    engine.options.pattern = "int x";
    engine.options.replacement = "long y";
    engine.options.path = dir + "/*.*";
    engine.options.replace = true;
    engine.options.show_lines = true;
    engine.options.sub_dir = true;
    engine.RunSearch();
    host.journal.End();
}

// Everything a user would notice of a file.
struct Seen {
    std::string bytes;
    unsigned mode = 0;
    uid_t uid = 0;
    nlink_t links = 0;
    ino_t inode = 0;
    std::string link_to;  // a symbolic link's target
    bool operator==(const Seen&) const = default;
};

// Every file below `root` except the hidden ones a killed save may leave.
std::map<std::string, Seen> Look(const std::string& root)
{
    std::map<std::string, Seen> seen;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with('.') || entry.is_directory()) continue;
        struct stat st {};
        ::lstat(entry.path().c_str(), &st);
        Seen s;
        s.mode = st.st_mode;
        s.uid = st.st_uid;
        s.links = st.st_nlink;
        s.inode = S_ISREG(st.st_mode) && st.st_nlink > 1 ? st.st_ino : 0;  // only hard links keep theirs
        if (S_ISLNK(st.st_mode)) {
            s.link_to = fs::read_symlink(entry.path()).string();
        } else {
            std::ifstream in(entry.path(), std::ios::binary);
            s.bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        seen[fs::relative(entry.path(), root).string()] = s;
    }
    return seen;
}

// Files of every awkward kind, each holding the search text.
void MakeAwkwardTree(const TempTree& tree, const std::string& dir)
{
    tree.Write(dir + "/lf.txt", "int x\nother\nint x\n");
    tree.Write(dir + "/crlf.txt", "int x\r\nb\r\nint x\r\n");
    tree.Write(dir + "/lone_cr.txt", "a\rint x\rb\n");
    tree.Write(dir + "/no_final_eol.txt", "first\nint x");
    tree.Write(dir + "/utf8.txt", "\xc3\xa9t\xc3\xa9 int x \xe2\x82\xac\n");
    tree.Write(dir + "/latin1.txt", "caf\xe9 int x \xfc\n");
    const std::string ro = tree.Write(dir + "/read_only.txt", "int x\n");
    fs::permissions(ro, fs::perms::owner_read | fs::perms::group_read);
    const std::string owned = tree.Write(dir + "/mode_owner.txt", "int x and int x\n");
    fs::permissions(owned, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    GiveToUnprivilegedUser(owned);
    const std::string one = tree.Write(dir + "/hard_1.txt", "int x\n");
    fs::create_hard_link(one, tree.Path(dir + "/hard_2.txt"));
    tree.Write(dir + "/sub/target.txt", "zint x\n");
    fs::create_symlink("sub/target.txt", tree.Path(dir + "/link.txt"));
    tree.Write(dir + "/none.txt", "nothing here\n");
}

// A few files that take every path of a run: a rename save, a save in
// place (hard links), another owner, no final line end.
void MakeSmallTree(const TempTree& tree, const std::string& dir)
{
    tree.Write(dir + "/crlf.txt", "int x\r\nb\r\nint x");
    const std::string owned = tree.Write(dir + "/owner.txt", "a int x\n");
    GiveToUnprivilegedUser(owned);
    const std::string one = tree.Write(dir + "/hard_1.txt", "int x int x\n");
    fs::create_hard_link(one, tree.Path(dir + "/hard_2.txt"));
}

TEST(ReplacementJournal, AnAwkwardTreeIsReplacedAndUndoneByteForByte)
{
    TempTree tree;
    ScopedStateHome state(tree.MakeDir("state"));
    MakeAwkwardTree(tree, "t");
    const auto before = Look(tree.Path("t"));
    JournalHost host;
    ReplaceTree(host, tree.Path("t"));
    EXPECT_EQ(tree.Read("t/no_final_eol.txt"), "first\nlong y");
    EXPECT_EQ(tree.Read("t/crlf.txt"), "long y\r\nb\r\nlong y\r\n");
    EXPECT_EQ(tree.Read("t/hard_2.txt"), "long y\n");
    EXPECT_EQ(tree.Read("t/sub/target.txt"), "zlong y\n");
    EXPECT_EQ(tree.Read("t/read_only.txt"), "int x\n");
    EXPECT_EQ(host.run.replaced(), 9);

    const std::vector<rj::RunInfo> runs = rj::ListRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].pattern, "int x");
    EXPECT_EQ(runs[0].replacement, "long y");
    EXPECT_EQ(runs[0].files.size(), 9u);
    for (const rj::FileEntry& file : runs[0].files) EXPECT_TRUE(file.written) << file.path;

    const rj::RestoreResult undone = rj::Restore(runs[0].id);
    EXPECT_TRUE(undone.found);
    EXPECT_EQ(undone.restored, 9);
    EXPECT_TRUE(undone.changed.empty());
    EXPECT_TRUE(undone.failed.empty());
    EXPECT_EQ(Look(tree.Path("t")), before);
    EXPECT_TRUE(rj::ListRuns().empty());  // nothing left to undo
}

TEST(ReplacementJournal, AFileChangedSinceTheRunIsLeftAndListed)
{
    TempTree tree;
    ScopedStateHome state(tree.MakeDir("state"));
    tree.Write("t/a.txt", "int x\n");
    tree.Write("t/b.txt", "int x\n");
    JournalHost host;
    ReplaceTree(host, tree.Path("t"));
    tree.Write("t/b.txt", "long y, then mine\n");
    const std::string id = rj::ListRuns().at(0).id;
    rj::RestoreResult undone = rj::Restore(id);
    EXPECT_EQ(undone.restored, 1);
    ASSERT_EQ(undone.changed.size(), 1u);
    EXPECT_EQ(fs::path(undone.changed[0]).filename(), "b.txt");
    EXPECT_EQ(tree.Read("t/a.txt"), "int x\n");
    EXPECT_EQ(tree.Read("t/b.txt"), "long y, then mine\n");
    // The run stays; undoing it again touches only what is still the run's.
    undone = rj::Restore(id);
    EXPECT_EQ(undone.restored, 0);
    EXPECT_EQ(undone.untouched, 1);
    EXPECT_EQ(undone.changed.size(), 1u);
    EXPECT_TRUE(rj::Delete(id));
    EXPECT_FALSE(rj::Restore(id).found);
}

TEST(ReplacementJournal, AFileChangedBetweenTheSearchAndTheWriteIsNotWritten)
{
    TempTree tree;
    ScopedStateHome state(tree.MakeDir("state"));
    const std::string path = tree.Write("a.txt", "int x\n");
    const FileIdentity searched = IdentityOfPath(path);
    tree.Write("a.txt", "int x, int x\n");
    rj::Writer journal;
    ASSERT_TRUE(journal.Begin("int x", "long y"));
    EXPECT_EQ(
        ReplaceInTextFile(path, TextMatcher("int x", false, false), "long y", true, nullptr, {&journal, &searched}),
        FileReplacementOutcome::kChangedSince);
    EXPECT_EQ(tree.Read("a.txt"), "int x, int x\n");
    EXPECT_EQ(journal.files(), 0);
}

TEST(ReplacementJournal, AFileWhoseOriginalCannotBeKeptIsNotWritten)
{
    TempTree tree;
    OpenTreeToOthers(tree.root());
    const std::string path = tree.Write("t/a.txt", std::string(300, 'a') + "int x\n");
    GiveToUnprivilegedUser(tree.Path("t"));
    GiveToUnprivilegedUser(path);
    // No room: the journal's file may not grow past what its header takes.
    EXPECT_EQ(RunUnprivileged([&] {
                  rj::Writer journal;
                  if (!journal.Begin("int x", "long y")) return 1;
                  ::signal(SIGXFSZ, SIG_IGN);
                  const rlimit small{200, 200};
                  ::setrlimit(RLIMIT_FSIZE, &small);
                  ReplacementRun run;
                  GrepOptions o;
                  o.pattern = "int x";
                  o.replacement = "long y";
                  if (run.Replace(path, o, {&journal})) return 2;
                  if (run.left().size() != 1 || run.left()[0].reason != ReplacementRun::Reason::kNotKept) return 3;
                  journal.End();
                  return rj::ListRuns().empty() ? 0 : 4;  // a run that kept nothing leaves nothing
              }),
              0);
    // No folder: the state folder may not be written.
    EXPECT_EQ(RunUnprivileged([&] {
                  fs::permissions(std::getenv("XDG_STATE_HOME"), fs::perms::owner_read | fs::perms::owner_exec);
                  rj::Writer journal;
                  return journal.Begin("int x", "long y") ? 1 : 0;
              }),
              0);
    EXPECT_EQ(tree.Read("t/a.txt"), std::string(300, 'a') + "int x\n");
}

TEST(ReplacementJournal, KeepsTheLastRunsWithinItsBudget)
{
    TempTree tree;
    ScopedStateHome state(tree.MakeDir("state"));
    const rj::Limits limits{3, 64};
    const auto run_over = [&](const std::string& text) {
        rj::Writer journal;
        tree.Write("f.txt", text);
        EXPECT_TRUE(journal.Begin(text, "x", 0, limits));
        const FileIdentity id = IdentityOfPath(tree.Path("f.txt"));
        const rj::Writer::Keep kept = journal.KeepOriginal(tree.Path("f.txt"), id, text, 0, 0);
        return kept;
    };
    for (const char* text : {"run 1", "run 2", "run 3", "run 4"}) EXPECT_EQ(run_over(text), rj::Writer::Keep::kKept);
    std::vector<std::string> patterns;
    for (const rj::RunInfo& run : rj::ListRuns()) patterns.push_back(run.pattern);
    EXPECT_EQ(patterns, (std::vector<std::string>{"run 4", "run 3", "run 2"}));
    // A run of 58 bytes leaves room for one of the older ones only.
    EXPECT_EQ(run_over(std::string(58, 'b')), rj::Writer::Keep::kKept);
    EXPECT_EQ(rj::ListRuns().size(), 2u);
    // One larger than the whole budget is refused unless allowed.
    EXPECT_EQ(run_over(std::string(65, 'c')), rj::Writer::Keep::kOverBudget);
    rj::Writer journal;
    ASSERT_TRUE(journal.Begin("big", "x", 65, limits));
    journal.AllowOverBudget();
    EXPECT_EQ(journal.KeepOriginal(tree.Path("f.txt"), {}, std::string(65, 'c'), 0, 0), rj::Writer::Keep::kKept);
    journal.End();
    EXPECT_EQ(rj::ListRuns().size(), 1u);
}

// Kills the run at system call number `step` of its journal and saves.
int g_kill_at = 0;
int g_steps = 0;
bool KillAtStep(const char*)
{
    if (++g_steps == g_kill_at) ::raise(SIGKILL);
    return false;
}

TEST(ReplacementJournal, ARunKilledAtAnyPointIsUndoneWithoutLosingAByte)
{
    TempTree tree;
    // How many steps a whole run takes.
    {
        ScopedStateHome state(tree.MakeDir("count/state"));
        MakeSmallTree(tree, "count/t");
        g_kill_at = 0;
        g_steps = 0;
        save_faults::SetHook(KillAtStep, 7);
        JournalHost host;
        ReplaceTree(host, tree.Path("count/t"));
        save_faults::SetHook(nullptr);
    }
    const int steps = g_steps;
    ASSERT_GT(steps, 10);
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> any_step(1, steps);
    int killed = 0, undone_files = 0;
    for (int trial = 0; trial < 120; ++trial) {
        const std::string dir = "trial" + std::to_string(trial);
        ScopedStateHome state(tree.MakeDir(dir + "/state"));
        MakeSmallTree(tree, dir + "/t");
        const auto before = Look(tree.Path(dir + "/t"));
        const int step = any_step(random);
        const pid_t child = ::fork();
        if (child == 0) {
            g_kill_at = step;
            g_steps = 0;
            save_faults::SetHook(KillAtStep, 7);  // writes in pieces, so a kill can fall inside one
            JournalHost host;
            ReplaceTree(host, tree.Path(dir + "/t"));
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        killed += WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? 1 : 0;
        // The next start: the run, if it had begun, is undone.
        for (const rj::RunInfo& run : rj::ListRuns()) undone_files += rj::Restore(run.id).restored;
        EXPECT_EQ(Look(tree.Path(dir + "/t")), before) << "killed at step " << step << " of " << steps;
        EXPECT_TRUE(rj::ListRuns().empty()) << "step " << step;
        fs::remove_all(tree.Path(dir));
    }
    std::printf("replacing run killed at random steps: %d of 120 trials killed, %d files undone\n", killed,
                undone_files);
    EXPECT_GE(killed, 100);
    EXPECT_GT(undone_files, 0);
}

}  // namespace
