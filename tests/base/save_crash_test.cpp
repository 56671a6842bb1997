// A save killed at any point leaves the old file or the new one, byte for
// byte: a rename-style save by itself, a save in place once the next start
// has put back what its recovery record kept.
#include "base/atomic_file.h"
#include "base/save_faults.h"
#include "base/save_recovery.h"
#include "base/state_folder.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kCrashed = 99;
int g_crash_at = 0;
int g_steps = 0;
const char* g_fail_call = nullptr;

// Ends the process at system call number g_crash_at, as a kill would.
bool CrashAtStep(const char*)
{
    if (++g_steps == g_crash_at) ::_exit(kCrashed);
    return false;
}

bool FailCall(const char* call)
{
    return g_fail_call && std::string_view(call) == g_fail_call;
}

std::size_t RecordCount()
{
    const std::string folder = StateFolder("unfinished-saves");
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

struct Change {
    const char* what;
    std::string old_text;
    std::string new_text;
};

std::vector<Change> Changes()
{
    return {
        {"grows", "short old text\n", "a much longer new text that runs past the old end\n"},
        {"shrinks", std::string(300, 'o') + "\n", "tiny\n"},
        {"same length", "aaaaaaaaaaaaaaaa", "bbbbbbbbbbbbbbbb"},
        {"from empty", "", "now there is text\n"},
        {"to empty", "all of this goes\n", ""},
    };
}

// Saves `change` over `path` in a child killed at step `step`; true when
// the child was killed (false: the save ran to its end).
bool SaveKilledAt(const std::string& path, const Change& change, int step)
{
    const pid_t child = ::fork();
    if (child == 0) {
        g_crash_at = step;
        g_steps = 0;
        save_faults::SetHook(CrashAtStep, 5);  // writes in pieces, so a kill can fall inside one
        ::_exit(ReplaceFileContents(path, change.new_text) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    return WEXITSTATUS(status) == kCrashed;
}

} // namespace

TEST(SaveCrash, ASaveInPlaceKilledAtAnyStepIsTheOldOrTheNewFileAfterTheNextStart)
{
    TempTree tree;
    ScopedStateHome state(tree.MakeDir("state"));
    int trials = 0, torn_then_put_back = 0;
    for (const Change& change : Changes()) {
        for (int step = 1;; ++step) {
            const std::string path = tree.Write("doc.txt", change.old_text);
            fs::remove(tree.Path("twin.txt"));
            fs::create_hard_link(path, tree.Path("twin.txt"));  // a save in place
            const bool killed = SaveKilledAt(path, change, step);
            ++trials;
            std::string found = tree.Read("doc.txt");
            if (found != change.old_text && found != change.new_text) {
                ++torn_then_put_back;
                save_recovery::RecoverAll();  // the next start
                found = tree.Read("doc.txt");
            }
            EXPECT_TRUE(found == change.old_text || found == change.new_text)
                << change.what << ", killed at step " << step << ": <" << found << ">";
            EXPECT_EQ(tree.Read("twin.txt"), found);
            save_recovery::RecoverAll();
            EXPECT_EQ(RecordCount(), 0u) << change.what << ", step " << step;
            if (!killed) {
                EXPECT_EQ(found, change.new_text) << change.what;
                break;
            }
            ASSERT_LT(step, 1000) << "a save that never ends";
        }
    }
    std::printf("in-place save killed at every step: %d trials, %d torn files put back\n", trials, torn_then_put_back);
    EXPECT_GE(trials, 100);
    EXPECT_GT(torn_then_put_back, 0);  // the kills did fall inside the write
}

TEST(SaveCrash, ARenamingSaveKilledAtAnyStepIsTheOldOrTheNewFile)
{
    TempTree tree;
    ScopedStateHome state(tree.MakeDir("state"));
    int trials = 0;
    for (const Change& change : Changes()) {
        for (int step = 1;; ++step) {
            const std::string path = tree.Write("dir/doc.txt", change.old_text);
            const bool killed = SaveKilledAt(path, change, step);
            ++trials;
            const std::string found = tree.Read("dir/doc.txt");
            EXPECT_TRUE(found == change.old_text || found == change.new_text)
                << change.what << ", killed at step " << step << ": <" << found << ">";
            if (!killed) break;
            ASSERT_LT(step, 1000);
        }
        // The next save clears what the killed ones left.
        ASSERT_TRUE(ReplaceFileContents(tree.Path("dir/doc.txt"), "final"));
        EXPECT_EQ(std::distance(fs::directory_iterator(tree.Path("dir")), fs::directory_iterator()), 1);
    }
    std::printf("renaming save killed at every step: %d trials\n", trials);
}

TEST(SaveCrash, TheNextSaveOfATornFileKeepsItsRealOldBytes)
{
    TempTree tree;
    ScopedStateHome state(tree.MakeDir("state"));
    const Change change{"grows", "the old text\n", "a new text, longer than the old one\n"};
    const std::string path = tree.Write("doc.txt", change.old_text);
    fs::create_hard_link(path, tree.Path("twin.txt"));
    // Killed half-way through the write of the new bytes: the file is torn.
    int step = 1;
    while (SaveKilledAt(path, change, step) &&
           (tree.Read("doc.txt") == change.old_text || tree.Read("doc.txt") == change.new_text)) {
        tree.Write("doc.txt", change.old_text);
        ++step;
    }
    ASSERT_NE(tree.Read("doc.txt"), change.old_text);
    ASSERT_NE(tree.Read("doc.txt"), change.new_text);

    // A save that then fails puts back what it found, which is the real
    // old text, not the torn one.
    g_fail_call = "ftruncate";
    save_faults::SetHook(FailCall);
    EXPECT_FALSE(ReplaceFileContents(path, "third text"));
    save_faults::SetHook(nullptr);
    EXPECT_EQ(tree.Read("doc.txt"), change.old_text);
    EXPECT_EQ(RecordCount(), 0u);
}

TEST(SaveCrash, AFileChangedOrReplacedSinceTheCrashIsLeftAlone)
{
    TempTree tree;
    ScopedStateHome state(tree.MakeDir("state"));
    const Change change{"grows", "the old text\n", "a new text, longer than the old one\n"};
    enum class Since { kSavedAgain, kReplaced, kEditedInPlace };
    for (const Since since : {Since::kSavedAgain, Since::kReplaced, Since::kEditedInPlace}) {
        const std::string path = tree.Write("doc.txt", change.old_text);
        fs::remove(tree.Path("twin.txt"));
        fs::create_hard_link(path, tree.Path("twin.txt"));
        int step = 1;
        while (SaveKilledAt(path, change, step) && tree.Read("doc.txt") == change.old_text) {
            tree.Write("doc.txt", change.old_text);
            ++step;
        }
        // Another file under the name now (a new inode), the user's own
        // save of the new text, or the same file edited by another program
        // since: nothing to put back.
        if (since == Since::kReplaced) {
            fs::remove(path);
            tree.Write("doc.txt", "someone else's file");
        } else if (since == Since::kSavedAgain) {
            tree.Write("doc.txt", change.new_text);
        } else {
            tree.Write("doc.txt", "a line another editor wrote after the crash\n");
            ASSERT_EQ(tree.Read("twin.txt"), tree.Read("doc.txt"));  // the same inode
        }
        const std::string before = tree.Read("doc.txt");
        save_recovery::RecoverAll();
        EXPECT_EQ(tree.Read("doc.txt"), before);
        EXPECT_EQ(RecordCount(), 0u);
    }
}
