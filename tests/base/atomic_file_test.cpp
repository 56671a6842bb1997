#include "base/atomic_file.h"
#include "base/save_faults.h"
#include "support/temp_tree.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct stat Stat(const std::string& path)
{
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

std::size_t EntryCount(const std::string& dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// Cases that hand files to other users need root to set them up.
#define NEEDS_ROOT_TO_SET_UP()                                            \
    if (::geteuid() != 0) GTEST_SKIP() << "setting up other owners needs root"

} // namespace

TEST(AtomicFile, ReplacesContentsAndKeepsPermissionBits)
{
    TempTree tree;
    const std::string path = tree.Write("a.txt", "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(ReplaceFileContents(path, "new contents"));
    EXPECT_EQ(tree.Read("a.txt"), "new contents");
    EXPECT_EQ(Stat(path).st_mode & 07777, 0640u);
    // no temporary file is left behind
    EXPECT_EQ(EntryCount(tree.root()), 1u);
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
    EXPECT_EQ(EntryCount(tree.root()), 1u);

    EXPECT_FALSE(ReplaceFileContents(tree.Path("missing-dir/a.txt"), "x"));
}

TEST(AtomicFile, OnlyRegularFilesAreReplaced)
{
    TempTree tree;
    const std::string dir = tree.MakeDir("dir");
    const std::string fifo = tree.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(ReplaceFileContents(dir, "x"));
    EXPECT_FALSE(ReplaceFileContents(fifo, "x"));
    EXPECT_TRUE(S_ISFIFO(Stat(fifo).st_mode));
    EXPECT_TRUE(fs::is_directory(dir));
}

TEST(AtomicFile, AFileWithoutWriteBitsIsNeverReplaced)
{
    TempTree tree;
    const std::string path = tree.Write("ro.txt", "frozen");
    ::chmod(path.c_str(), 0444);
    const ino_t inode = Stat(path).st_ino;
    EXPECT_FALSE(ReplaceFileContents(path, "changed"));  // not even by root
    EXPECT_EQ(tree.Read("ro.txt"), "frozen");
    EXPECT_EQ(Stat(path).st_ino, inode);
    EXPECT_EQ(EntryCount(tree.root()), 1u);
}

TEST(AtomicFile, AFileOfAnotherOwnerThatTheUserMayNotWriteIsNotReplaced)
{
    NEEDS_ROOT_TO_SET_UP();
    TempTree tree;
    // The directory is the user's, so a rename would be allowed: only the
    // file's own permissions may stop the save.
    const std::string path = tree.Write("dir/roots.txt", "root's words");
    ::chmod(path.c_str(), 0644);
    GiveToUnprivilegedUser(tree.Path("dir"));
    OpenTreeToOthers(tree.root());
    const int result = RunUnprivileged([&] { return ReplaceFileContents(path, "mine now") ? 1 : 0; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tree.Read("dir/roots.txt"), "root's words");
    EXPECT_EQ(Stat(path).st_uid, 0u);
    EXPECT_EQ(EntryCount(tree.Path("dir")), 1u);
}

TEST(AtomicFile, AWritableFileOfAnotherOwnerIsWrittenInPlaceAndKeepsItsOwner)
{
    NEEDS_ROOT_TO_SET_UP();
    TempTree tree;
    const std::string path = tree.Write("dir/shared.txt", "old shared text");
    ::chown(path.c_str(), 65533, 65533);
    ::chmod(path.c_str(), 0666);
    GiveToUnprivilegedUser(tree.Path("dir"));
    OpenTreeToOthers(tree.root());
    const ino_t inode = Stat(path).st_ino;
    const int result = RunUnprivileged([&] {
        AtomicFileWriter writer;
        if (!writer.Open(path) || !writer.InPlace()) return 1;
        return writer.Write("new") && writer.Commit() ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tree.Read("dir/shared.txt"), "new");
    const struct stat st = Stat(path);
    EXPECT_EQ(st.st_ino, inode);
    EXPECT_EQ(st.st_uid, 65533u);
    EXPECT_EQ(st.st_gid, 65533u);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    EXPECT_EQ(EntryCount(tree.Path("dir")), 1u);
}

TEST(AtomicFile, RootSavingAUsersFileKeepsOwnerGroupModeAndAttributes)
{
    NEEDS_ROOT_TO_SET_UP();
    TempTree tree;
    const std::string path = tree.Write("users.txt", "old");
    ::chown(path.c_str(), 65534, 65533);
    ::chmod(path.c_str(), 0640);
    const bool xattrs = ::setxattr(path.c_str(), "user.origin", "kept", 4, 0) == 0;
    ASSERT_TRUE(ReplaceFileContents(path, "new"));
    EXPECT_EQ(tree.Read("users.txt"), "new");
    const struct stat st = Stat(path);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65533u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (xattrs) {
        char value[16] = {};
        EXPECT_EQ(::getxattr(path.c_str(), "user.origin", value, sizeof value), 4);
        EXPECT_STREQ(value, "kept");
    }
}

TEST(AtomicFile, ASaveThatCannotKeepThePermissionBitsFails)
{
    NEEDS_ROOT_TO_SET_UP();
    TempTree tree;
    // A set-group-id file of a group the user is not in: neither a new file
    // nor a write in place could keep that bit.
    const std::string dir = tree.MakeDir("dir");
    const std::string path = tree.Write("dir/tool.sh", "echo old\n");
    GiveToUnprivilegedUser(dir);
    GiveToUnprivilegedUser(path);
    ::chown(dir.c_str(), 65534, 0);
    ::chown(path.c_str(), 65534, 0);
    ::chmod(dir.c_str(), 02775);
    ::chmod(path.c_str(), 02764);
    OpenTreeToOthers(tree.root());
    const int result = RunUnprivileged([&] { return ReplaceFileContents(path, "echo new\n") ? 1 : 0; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tree.Read("dir/tool.sh"), "echo old\n");
    EXPECT_EQ(Stat(path).st_mode & 07777, 02764u);
    EXPECT_EQ(EntryCount(dir), 1u);
}

TEST(AtomicFile, HardLinksStayLinked)
{
    TempTree tree;
    const std::string path = tree.Write("a.txt", "old");
    ASSERT_EQ(::link(path.c_str(), tree.Path("b.txt").c_str()), 0);
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(path));
    EXPECT_TRUE(writer.InPlace());
    ASSERT_TRUE(writer.Write("a longer new text"));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(tree.Read("b.txt"), "a longer new text");
    EXPECT_EQ(Stat(path).st_nlink, 2u);
    ASSERT_TRUE(ReplaceFileContents(tree.Path("b.txt"), "short"));
    EXPECT_EQ(tree.Read("a.txt"), "short");
    EXPECT_EQ(EntryCount(tree.root()), 2u);
}

TEST(AtomicFile, AWritableFileInAReadOnlyDirectoryIsWrittenInPlace)
{
    TempTree tree;
    const std::string dir = tree.MakeDir("locked");
    const std::string path = tree.Write("locked/notes.txt", "old notes");
    GiveToUnprivilegedUser(dir);
    GiveToUnprivilegedUser(path);
    ::chmod(dir.c_str(), 0555);
    OpenTreeToOthers(tree.root());
    const int result = RunUnprivileged([&] {
        const bool saved = ReplaceFileContents(path, "new notes, longer than before");
        const bool created = ReplaceFileContents(dir + "/new.txt", "x");
        return (saved ? 0 : 1) + (created ? 2 : 0);
    });
    EXPECT_EQ(result, 0);  // the file was saved; no new file could be made
    EXPECT_EQ(tree.Read("locked/notes.txt"), "new notes, longer than before");
    EXPECT_EQ(EntryCount(dir), 1u);
}

TEST(AtomicFile, TemporaryNamesFitTheNameLimit)
{
    TempTree tree;
    const std::string name(255, 'n');
    const std::string path = tree.Write(name, "old");
    EXPECT_LE(atomic_file::TemporaryName(name, 15).size(), 255u);
    EXPECT_NE(atomic_file::TemporaryName(name, 0), atomic_file::TemporaryName(std::string(254, 'n') + "m", 0));
    ASSERT_TRUE(ReplaceFileContents(path, "saved"));
    EXPECT_EQ(tree.Read(name), "saved");
}

TEST(AtomicFile, AKilledSaveLeavesTheOldFileWholeAndTheNextSaveClearsUp)
{
    TempTree tree;
    const std::string path = tree.Write("doc.txt", "the original");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFileWriter writer;
        if (writer.Open(path)) writer.Write(std::string(4 << 20, 'x'));
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(tree.Read("doc.txt"), "the original");
    EXPECT_EQ(EntryCount(tree.root()), 2u);  // the killed save's temporary file

    ASSERT_TRUE(ReplaceFileContents(path, "saved"));
    EXPECT_EQ(tree.Read("doc.txt"), "saved");
    EXPECT_EQ(EntryCount(tree.root()), 1u);
}

TEST(AtomicFile, OnlyTrueLeftoversAreRemoved)
{
    TempTree tree;
    const std::string path = tree.Write("doc.txt", "text");
    const std::string leftover = tree.Write(atomic_file::TemporaryName("doc.txt", 3), "dead save");
    const std::string live = tree.Write(atomic_file::TemporaryName("doc.txt", 0), "live save");
    const std::string others = tree.Write(atomic_file::TemporaryName("other.txt", 1), "another file's save");
    const std::string users = tree.Write(".doc.txt.a1b2c3", "the user's own file");
    const int held = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);  // a save in progress holds its file

    ASSERT_TRUE(ReplaceFileContents(path, "saved"));
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(others));
    EXPECT_TRUE(fs::exists(users));
    EXPECT_EQ(tree.Read("doc.txt"), "saved");
    ::close(held);
}

TEST(AtomicFile, SetIdBitsOfTheUsersOwnFileAreKeptEvenWhenWrittenInPlace)
{
    TempTree tree;
    const std::string dir = tree.MakeDir("dir");
    const std::string path = tree.Write("dir/tool", "old");
    const std::string linked = tree.Path("dir/tool-link");
    ASSERT_EQ(::link(path.c_str(), linked.c_str()), 0);  // forces a write in place
    const std::string single = tree.Write("dir/single", "old");
    for (const std::string& p : {dir, path, single}) GiveToUnprivilegedUser(p);
    ::chmod(path.c_str(), 04755);
    ::chmod(single.c_str(), 04750);
    OpenTreeToOthers(tree.root());
    const int result = RunUnprivileged([&] {
        return (ReplaceFileContents(path, "new") ? 0 : 1) + (ReplaceFileContents(single, "new") ? 0 : 2);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tree.Read("dir/tool-link"), "new");
    EXPECT_EQ(Stat(path).st_mode & 07777, 04755u);
    EXPECT_EQ(tree.Read("dir/single"), "new");
    EXPECT_EQ(Stat(single).st_mode & 07777, 04750u);
}

namespace {

const char* g_failing_call = nullptr;

bool FailNamedCall(const char* call)
{
    return std::string_view(call) == g_failing_call;
}

} // namespace

TEST(AtomicFile, AFailingCloseAfterTheFileWasReplacedIsAWarningNotAFailure)
{
    TempTree tree;
    const std::string single = tree.Write("single.txt", "old");
    const std::string linked = tree.Write("linked.txt", "old");
    ASSERT_EQ(::link(linked.c_str(), tree.Path("twin.txt").c_str()), 0);  // written in place
    // Saves both files with `call` failing: the result and the warning.
    const auto save_failing = [&](const char* call, const char* text, bool saved, bool warned) {
        g_failing_call = call;
        save_faults::SetHook(FailNamedCall);
        for (const std::string& path : {single, linked}) {
            AtomicFileWriter writer;
            ASSERT_TRUE(writer.Open(path));
            ASSERT_TRUE(writer.Write(text));
            EXPECT_EQ(writer.Commit(), saved) << call << ", " << path;
            EXPECT_EQ(writer.SavedWithWarning(), warned) << call << ", " << path;
        }
        save_faults::SetHook(nullptr);
    };
    save_failing("close", "new text", true, true);
    EXPECT_EQ(tree.Read("single.txt"), "new text");
    EXPECT_EQ(tree.Read("twin.txt"), "new text");
    // A failure before the file was replaced stays a failure.
    save_failing("fsync", "newer text", false, false);
    EXPECT_EQ(tree.Read("single.txt"), "new text");
    EXPECT_EQ(tree.Read("twin.txt"), "new text");
    EXPECT_EQ(EntryCount(tree.root()), 3u);
}

TEST(AtomicFile, RootFollowsAnotherUsersLinkInAStickyDirectoryOnlyWhereTheKernelWould)
{
    NEEDS_ROOT_TO_SET_UP();
    TempTree tree;
    const std::string secret = tree.Write("private/shadow", "root's own text");
    ::chmod(secret.c_str(), 0600);
    const std::string shared = tree.MakeDir("shared");
    ::chmod(shared.c_str(), 01777);  // like /tmp
    // A link another user planted there, a link of root's own, and one of
    // the directory's owner in a sticky directory that user owns.
    const std::string planted = tree.Path("shared/planted");
    const std::string own = tree.Path("shared/own");
    ASSERT_EQ(::symlink(secret.c_str(), planted.c_str()), 0);
    ASSERT_EQ(::symlink(tree.Write("private/mine", "mine").c_str(), own.c_str()), 0);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    const std::string users = tree.MakeDir("users");
    ::chmod(users.c_str(), 01777);
    ASSERT_EQ(::chown(users.c_str(), 65534, 65534), 0);
    const std::string owners = tree.Path("users/link");
    ASSERT_EQ(::symlink(tree.Write("private/theirs", "theirs").c_str(), owners.c_str()), 0);
    ASSERT_EQ(::lchown(owners.c_str(), 65534, 65534), 0);

    EXPECT_FALSE(ReplaceFileContents(planted, "overwritten"));
    EXPECT_EQ(tree.Read("private/shadow"), "root's own text");
    EXPECT_TRUE(fs::is_symlink(planted));
    EXPECT_TRUE(ReplaceFileContents(own, "saved"));
    EXPECT_EQ(tree.Read("private/mine"), "saved");
    EXPECT_TRUE(ReplaceFileContents(owners, "saved"));
    EXPECT_EQ(tree.Read("private/theirs"), "saved");
    // Outside a sticky directory another user's link is followed as before.
    ::chmod(shared.c_str(), 0777);
    EXPECT_TRUE(ReplaceFileContents(planted, "allowed"));
    EXPECT_EQ(tree.Read("private/shadow"), "allowed");
}

TEST(AtomicFile, RootLeavesAnotherUsersFilesUnderTemporaryNames)
{
    NEEDS_ROOT_TO_SET_UP();
    TempTree tree;
    const std::string path = tree.Write("doc.txt", "text");
    const std::string theirs = tree.Write(atomic_file::TemporaryName("doc.txt", 2), "another user's file");
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    const std::string own = tree.Write(atomic_file::TemporaryName("doc.txt", 5), "root's dead save");
    ASSERT_TRUE(ReplaceFileContents(path, "saved"));
    EXPECT_EQ(tree.Read(atomic_file::TemporaryName("doc.txt", 2)), "another user's file");
    EXPECT_FALSE(fs::exists(own));
    EXPECT_EQ(tree.Read("doc.txt"), "saved");
}

TEST(AtomicFile, EveryTemporaryNameTakenDoesNotStopASave)
{
    TempTree tree;
    const std::string dir = tree.MakeDir("dir");
    ::chmod(dir.c_str(), 01777);
    const std::string path = tree.Write("dir/doc.txt", "old");
    GiveToUnprivilegedUser(path);
    // Every slot is a link another user made, pointing at a file of the
    // saving user's (or a regular file of another user's).
    const std::string bait = tree.Write("bait.txt", "bait");
    for (int slot = 0; slot < atomic_file::kTemporarySlots; ++slot) {
        const std::string name = dir + "/" + atomic_file::TemporaryName("doc.txt", slot);
        if (slot % 2 == 0) {
            ASSERT_EQ(::symlink(bait.c_str(), name.c_str()), 0);
            if (::geteuid() == 0) ::lchown(name.c_str(), 65533, 65533);
        } else {
            tree.Write("dir/" + atomic_file::TemporaryName("doc.txt", slot), "squatter");
            if (::geteuid() == 0) ::chown(name.c_str(), 65533, 65533);
        }
    }
    OpenTreeToOthers(tree.root());
    const std::size_t before = EntryCount(dir);
    const auto save = [&] { return ReplaceFileContents(path, "saved anyway") ? 0 : 1; };
    // As root (the squatters are another user's) and as an ordinary user.
    EXPECT_EQ(save(), 0);
    EXPECT_EQ(tree.Read("dir/doc.txt"), "saved anyway");
    EXPECT_EQ(RunUnprivileged([&] { return ReplaceFileContents(path, "saved again") ? 0 : 1; }), 0);
    EXPECT_EQ(tree.Read("dir/doc.txt"), "saved again");
    EXPECT_EQ(tree.Read("bait.txt"), "bait");
    EXPECT_EQ(EntryCount(dir), before);
    EXPECT_EQ(EntryCount(tree.root()), 2u);
}
