// Telling whether another program has changed a file: the identity taken
// of a file and how a later look compares with it.
#include "base/file_identity.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

FileIdentity Present(std::uint64_t inode, std::uint64_t size, std::int64_t seconds, std::int64_t nanoseconds)
{
    FileIdentity identity;
    identity.presence = FileIdentity::Presence::kPresent;
    identity.regular = true;
    identity.device = 7;
    identity.inode = inode;
    identity.size = size;
    identity.mtime_seconds = seconds;
    identity.mtime_nanoseconds = nanoseconds;
    return identity;
}

FileIdentity With(FileIdentity::Presence presence)
{
    FileIdentity identity;
    identity.presence = presence;
    return identity;
}

TEST(FileIdentity, ALaterLookComparesEveryPartOfTheIdentity)
{
    using P = FileIdentity::Presence;
    const FileIdentity recorded = Present(10, 100, 5000, 123456789);
    FileIdentity otherDevice = recorded;
    otherDevice.device = 8;
    FileIdentity pipe = recorded;
    pipe.regular = false;
    const struct {
        const char* what;
        FileIdentity recorded;
        FileIdentity now;
        DiskChange expected;
    } cases[] = {
        {"the same file", recorded, recorded, DiskChange::kNone},
        {"appended or cut", recorded, Present(10, 101, 5000, 123456789), DiskChange::kChanged},
        {"rewritten within one second", recorded, Present(10, 100, 5000, 123456790), DiskChange::kChanged},
        {"a new file renamed over it", recorded, Present(11, 100, 5000, 123456789), DiskChange::kChanged},
        {"another device", recorded, otherDevice, DiskChange::kChanged},
        {"removed", recorded, With(P::kMissing), DiskChange::kDeleted},
        {"not to be looked at", recorded, With(P::kUnknown), DiskChange::kNone},
        {"still not made", With(P::kMissing), With(P::kMissing), DiskChange::kNone},
        {"made where there was none", With(P::kMissing), recorded, DiskChange::kChanged},
        {"a pipe, read once", pipe, Present(10, 0, 1, 1), DiskChange::kNone},
    };
    for (const auto& c : cases) EXPECT_EQ(CompareWithDisk(c.recorded, c.now), c.expected) << c.what;
}

TEST(FileIdentity, FollowsWhatHappensToAFileOnDisk)
{
    TempTree tree;
    const std::string path = tree.Write("f.txt", "one\n");
    const FileIdentity loaded = IdentityOfPath(path);
    ASSERT_TRUE(loaded.Present());
    EXPECT_TRUE(loaded.regular);
    EXPECT_EQ(loaded.size, 4u);
    EXPECT_EQ(CompareWithDisk(loaded, IdentityOfPath(path)), DiskChange::kNone);

    {
        std::ofstream(path, std::ios::app) << "two\n";
    }
    const FileIdentity appended = IdentityOfPath(path);
    EXPECT_EQ(CompareWithDisk(loaded, appended), DiskChange::kChanged);

    // Same size, same second: the inode tells the new file.
    const std::string fresh = tree.Write("new.txt", "one\ntwo\n");
    ASSERT_EQ(std::rename(fresh.c_str(), path.c_str()), 0);
    const FileIdentity renamed = IdentityOfPath(path);
    EXPECT_NE(renamed.inode, appended.inode);
    EXPECT_EQ(CompareWithDisk(appended, renamed), DiskChange::kChanged);

    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_EQ(IdentityOfPath(path).presence, FileIdentity::Presence::kMissing);
    EXPECT_EQ(CompareWithDisk(renamed, IdentityOfPath(path)), DiskChange::kDeleted);
    // A name below a file is missing too, not unknown.
    EXPECT_EQ(IdentityOfPath(tree.Write("plain", "x") + "/below").presence, FileIdentity::Presence::kMissing);
}

}  // namespace
