// A document's file read again after another program changed it, the rule
// that decides between reloading and asking, and a document that holds
// none of its file's text.
#include "base/save_faults.h"
#include "doc_test_util.h"
#include "docs/alloc_gate.h"
#include "docs/disk_check.h"
#include "docs/doc_errors.h"
#include "docs/hex_doc.h"
#include "docs/text_doc.h"
#include "support/temp_tree.h"
#include "support/unprivileged_checks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using Lines = std::vector<std::string>;
using Action = DiskCheck::Action;

namespace {

FileIdentity Version(std::uint64_t inode)
{
    FileIdentity identity;
    identity.presence = FileIdentity::Presence::kPresent;
    identity.regular = true;
    identity.inode = inode;
    return identity;
}

TEST(DiskCheck, ReloadsAWindowWithoutChangesAndAsksAWindowWithChangesOncePerVersion)
{
    DiskCheck check;
    const FileIdentity loaded = Version(1), second = Version(2), third = Version(3);
    EXPECT_EQ(check.Look(loaded, loaded, true), Action::kNone);
    EXPECT_EQ(check.Look(loaded, second, false), Action::kReload);
    EXPECT_EQ(check.Look(loaded, second, true), Action::kAsk);
    check.Settle(second);  // Keep Mine
    EXPECT_EQ(check.Look(loaded, second, true), Action::kNone);
    EXPECT_EQ(check.Look(loaded, third, true), Action::kAsk);
    check.Reset();  // saved or reloaded
    EXPECT_EQ(check.Look(loaded, second, true), Action::kAsk);
}

TEST(DiskCheck, AFileThatIsGoneIsShownSoUntilItIsBack)
{
    DiskCheck check;
    const FileIdentity loaded = Version(1);
    FileIdentity missing, unknown;
    unknown.presence = FileIdentity::Presence::kUnknown;
    EXPECT_EQ(check.Look(loaded, missing, false), Action::kNone);
    EXPECT_TRUE(check.Deleted());
    // A look that could not see anything changes nothing.
    EXPECT_EQ(check.Look(loaded, unknown, false), Action::kNone);
    EXPECT_TRUE(check.Deleted());
    // Renamed back: the same file, nothing to reload.
    EXPECT_EQ(check.Look(loaded, loaded, false), Action::kNone);
    EXPECT_FALSE(check.Deleted());
    EXPECT_EQ(check.Look(loaded, missing, true), Action::kNone);
    EXPECT_EQ(check.Look(loaded, Version(2), true), Action::kAsk);
    EXPECT_FALSE(check.Deleted());
    // Save asks over a changed file, not over a file that is gone.
    EXPECT_TRUE(DiskCheck::SaveMustAsk(loaded, Version(2)));
    EXPECT_FALSE(DiskCheck::SaveMustAsk(loaded, missing));
    EXPECT_FALSE(DiskCheck::SaveMustAsk(loaded, loaded));
}

TEST(TextReload, TheNewTextReplacesTheOldOnlyWhenItIsWhole)
{
    TempTree tree;
    const std::string path = tree.Write("f.txt", "one\ntwo\n");
    TextDoc doc(path);
    ASSERT_TRUE(doc.Load());
    const FileIdentity loaded = doc.DiskIdentity();
    EXPECT_EQ(CompareWithDisk(loaded, IdentityOfPath(path)), DiskChange::kNone);

    // A new file three read steps long, renamed over the old one.
    std::string bytes;
    while (bytes.size() < 3 * TextDoc::kLoadStepBytes) bytes += "a line of the new text\r\n";
    const int lines = static_cast<int>(bytes.size() / 24);
    ASSERT_EQ(std::rename(tree.Write("new.txt", bytes).c_str(), path.c_str()), 0);

    ASSERT_EQ(doc.BeginReload(), LinesDoc::LoadState::kMore);
    EXPECT_TRUE(doc.Reloading());
    EXPECT_EQ(LinesOf(doc), (Lines{"one", "two"}));
    EXPECT_GT(doc.LoadedBytes(), 0u);
    EXPECT_EQ(doc.FileBytes(), bytes.size());
    LinesDoc::LoadState state = LinesDoc::LoadState::kMore;
    while (state == LinesDoc::LoadState::kMore) {
        EXPECT_EQ(doc.LineCount(), 2);
        state = doc.ReloadStep();
    }
    ASSERT_EQ(state, LinesDoc::LoadState::kDone);
    EXPECT_FALSE(doc.Reloading());
    EXPECT_EQ(doc.LineCount(), lines);
    EXPECT_EQ(doc.GetLine(0)->View(), "a line of the new text");
    EXPECT_EQ(doc.GetLineEnd(), LinesDoc::LineEnd::kCrLf);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(CompareWithDisk(doc.DiskIdentity(), IdentityOfPath(path)), DiskChange::kNone);
    EXPECT_NE(doc.DiskIdentity(), loaded);
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(tree.Read("f.txt"), bytes);
}

TEST(TextReload, AnEditDuringAReloadIsMadeToTheNewText)
{
    TempTree tree;
    const std::string path = tree.Write("f.txt", "old\n");
    TextDoc doc(path);
    ASSERT_TRUE(doc.Load());
    std::string bytes;
    while (bytes.size() < 2 * TextDoc::kLoadStepBytes) bytes += "new\n";
    tree.Write("f.txt", bytes);
    ASSERT_EQ(doc.BeginReload(), LinesDoc::LoadState::kMore);
    ASSERT_TRUE(doc.InsertChars(0, "typed ", 0));
    EXPECT_FALSE(doc.Reloading());
    EXPECT_EQ(doc.GetLine(0)->View(), "typed new");
    EXPECT_TRUE(doc.Modified());
}

// A reload that cannot read the file leaves everything the window had:
// text, changes, recorded identity (so Save still knows the file changed).
TEST(TextReload, AFailedReloadLeavesTheTextAsItWas)
{
    using docs::AllocSite;
    const struct {
        const char* what;
        AllocSite site;  // kEdit: no allocation fails, the file is gone
        int error;
    } cases[] = {
        {"file removed", AllocSite::kEdit, doc_error::kOpen},
        {"no memory for the text", AllocSite::kLineText, doc_error::kLineBuffer},
        {"no memory for the table", AllocSite::kLineTable, doc_error::kLineTable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempTree tree;
        const std::string path = tree.Write("f.txt", "one\ntwo\n");
        TextDoc doc(path);
        ASSERT_TRUE(doc.Load());
        ASSERT_TRUE(doc.InsertChars(1, "my ", 0));
        const FileIdentity loaded = doc.DiskIdentity();
        if (c.site == AllocSite::kEdit) {
            ASSERT_EQ(::unlink(path.c_str()), 0);
        } else {
            tree.Write("f.txt", "other text\n");
        }
        LinesDoc::LoadState state;
        {
            std::optional<docs::ScopedAllocationFailure> failure;
            if (c.site != AllocSite::kEdit) failure.emplace(c.site);
            state = doc.BeginReload();
            while (state == LinesDoc::LoadState::kMore) state = doc.ReloadStep();
        }
        EXPECT_EQ(state, LinesDoc::LoadState::kFailed);
        EXPECT_EQ(doc.Error(), c.error);
        EXPECT_EQ(LinesOf(doc), (Lines{"one", "my two"}));
        EXPECT_TRUE(doc.Modified());
        EXPECT_EQ(doc.DiskIdentity(), loaded);
        EXPECT_FALSE(doc.Reloading());
        EXPECT_FALSE(doc.Unread());
    }
}

TEST(TextReload, TheProgramsOwnSaveIsRecordedAsTheFileOnDisk)
{
    TempTree tree;
    const std::string path = tree.Write("f.txt", "one\n");
    TextDoc doc(path);
    ASSERT_TRUE(doc.Load());
    ASSERT_TRUE(doc.InsertChars(0, "longer ", 0));
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(CompareWithDisk(doc.DiskIdentity(), IdentityOfPath(path)), DiskChange::kNone);
    ASSERT_TRUE(doc.Save(tree.Path("other.txt")));
    EXPECT_EQ(CompareWithDisk(doc.DiskIdentity(), IdentityOfPath(tree.Path("other.txt"))), DiskChange::kNone);
}

TEST(HexReload, ReadsTheRowsOfTheFileNowUnderTheName)
{
    TempTree tree;
    const std::string path = tree.Write("f.bin", std::string(16, 'a'));
    HexDoc doc(path);
    ASSERT_TRUE(doc.Load());
    ASSERT_EQ(doc.LineCount(), 1);
    ASSERT_EQ(std::rename(tree.Write("new.bin", std::string(40, 'b')).c_str(), path.c_str()), 0);
    EXPECT_EQ(CompareWithDisk(doc.DiskIdentity(), IdentityOfPath(path)), DiskChange::kChanged);
    ASSERT_EQ(doc.BeginReload(), LinesDoc::LoadState::kDone);
    EXPECT_EQ(doc.LineCount(), 3);
    EXPECT_EQ(CompareWithDisk(doc.DiskIdentity(), IdentityOfPath(path)), DiskChange::kNone);
}

// --- a document that holds none of its file ---

// Save over the file refused, Save As elsewhere allowed; "" when it held.
std::string SavesOnlyElsewhere(TextDoc& doc, const std::string& elsewhere)
{
    if (!doc.Unread()) return "the document should know it holds none of the file";
    // The window holds one empty line, or none after a read that failed.
    if (!(doc.LineCount() == 0 ? doc.InsertLine(0, "typed") : doc.InsertChars(0, "typed", 0))) return "typing failed";
    if (doc.Save()) return "Save wrote over the file it could not read";
    if (!doc.Save(elsewhere)) return "Save As another name failed";
    if (doc.Unread()) return "after Save As the document holds its file's text";
    return {};
}

TEST(UnreadFile, AFileTheUserMayNotReadIsNeverSavedOver)
{
    TempTree tree;
    const std::string dir = tree.MakeDir("dir");
    const std::string path = tree.Write("dir/secret.txt", "what only its owner reads\n");
    if (::geteuid() == 0) {
        GiveToUnprivilegedUser(dir);
        GiveToUnprivilegedUser(path);
    }
    ::chmod(path.c_str(), 0200);  // written, never read
    OpenTreeToOthers(tree.root());
    const std::string failure = RunUnprivilegedChecks([&]() -> std::string {
        TextDoc doc(path);
        doc.Load();
        if (doc.Error() != doc_error::kOpen) return "the load should fail with error 1";
        return SavesOnlyElsewhere(doc, dir + "/copy.txt");
    });
    EXPECT_EQ(failure, "");
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(tree.Read("dir/secret.txt"), "what only its owner reads\n");
    EXPECT_EQ(tree.Read("dir/copy.txt"), "typed\r\n");
}

TEST(UnreadFile, ALoadStoppedByAFailureIsNeverSavedOver)
{
    TempTree tree;
    std::string bytes;
    while (bytes.size() < 2 * TextDoc::kLoadStepBytes) bytes += "a line of the file\n";
    const std::string path = tree.Write("big.txt", bytes);
    TextDoc doc(path);
    doc.BeginLoad();
    ASSERT_EQ(doc.LoadStep(), LinesDoc::LoadState::kMore);
    {
        docs::ScopedAllocationFailure failure(docs::AllocSite::kLineText);
        doc.FinishLoad();
    }
    EXPECT_EQ(doc.Error(), doc_error::kLineBuffer);
    EXPECT_EQ(SavesOnlyElsewhere(doc, tree.Path("copy.txt")), "");
    EXPECT_EQ(tree.Read("big.txt"), bytes);
}

TEST(UnreadFile, AFileThatDoesNotExistYetIsNew)
{
    TempTree tree;
    TextDoc doc(tree.Path("new.txt"));
    doc.Load();
    EXPECT_FALSE(doc.Unread());
    ASSERT_TRUE(doc.InsertChars(0, "first words", 0));
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(tree.Read("new.txt"), "first words\r\n");
}

}  // namespace

namespace {

// Another program appends to the file in the instant between the save's
// last flush and its close.
std::string g_appended_path;
bool AppendOnClose(const char* call)
{
    if (std::string_view(call) == "close" && !g_appended_path.empty()) {
        std::FILE* file = std::fopen(g_appended_path.c_str(), "ab");
        if (file) {
            std::fputs("appended by another program\n", file);
            std::fclose(file);
        }
        g_appended_path.clear();
    }
    return false;
}

} // namespace

TEST(TextReload, AChangeRightAfterTheProgramsOwnSaveIsStillAChange)
{
    for (const bool in_place : {false, true}) {
        TempTree tree;
        const std::string path = tree.Write("f.txt", "one\n");
        if (in_place) {
            ASSERT_EQ(::link(path.c_str(), tree.Path("twin.txt").c_str()), 0);
        }
        TextDoc doc(path);
        ASSERT_TRUE(doc.Load());
        ASSERT_TRUE(doc.InsertChars(0, "longer ", 0));
        g_appended_path = path;
        save_faults::SetHook(AppendOnClose);
        const bool saved = doc.Save();
        save_faults::SetHook(nullptr);
        ASSERT_TRUE(saved) << "in place: " << in_place;
        ASSERT_TRUE(g_appended_path.empty()) << "the hook never ran; in place: " << in_place;
        EXPECT_EQ(CompareWithDisk(doc.DiskIdentity(), IdentityOfPath(path)), DiskChange::kChanged)
            << "in place: " << in_place;
    }
}
