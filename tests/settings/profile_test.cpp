#include "base/atomic_file.h"
#include "settings/profile.h"
#include "settings/profile_snapshot.h"
#include "support/temp_tree.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace {

struct ProfileTest : ::testing::Test {
    TempTree tree;
    std::string ini = tree.Path("TARNWICK.INI");
    void Given(std::string_view contents) { tree.Write("TARNWICK.INI", contents); }
    std::string Contents() const { return tree.Read("TARNWICK.INI"); }
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(profile::ReadInt("MainWin", "X", 5, ini), 5);
    EXPECT_EQ(profile::ReadString("Font", "font_name", "Courier New", 127, ini), "Courier New");
    Given("[MainWin]\nY=7\n");
    EXPECT_EQ(profile::ReadInt("MainWin", "X", 5, ini), 5);
    EXPECT_EQ(profile::ReadInt("Other", "Y", 3, ini), 3);
    EXPECT_EQ(profile::ReadInt("MainWin", "Y", 5, ini), 7);
}

TEST_F(ProfileTest, IntegersTakeTheSignedNumberAtTheStart)
{
    Given("[Font]\nfont_size=-12\nplus=+4\nword=abc\nmixed=42px\nempty=\nhuge=99999999999\n");
    EXPECT_EQ(profile::ReadInt("Font", "font_size", 12, ini), -12);
    EXPECT_EQ(profile::ReadInt("Font", "plus", 0, ini), 4);
    EXPECT_EQ(profile::ReadInt("Font", "word", 9, ini), 0);
    EXPECT_EQ(profile::ReadInt("Font", "mixed", 0, ini), 42);
    EXPECT_EQ(profile::ReadInt("Font", "empty", 9, ini), 0);
    EXPECT_EQ(profile::ReadInt("Font", "huge", 0, ini), 2147483647);
}

TEST_F(ProfileTest, NamesMatchWithoutCaseAndSpacesAreTrimmed)
{
    Given("[mainwin]\n  x  =  17  \nCTRL_LOC=2\n");
    EXPECT_EQ(profile::ReadInt("MainWin", "X", 5, ini), 17);
    EXPECT_EQ(profile::ReadInt("MAINWIN", "ctrl_loc", 0, ini), 2);
    EXPECT_EQ(profile::ReadString("MainWin", "x", "", 511, ini), "17");
}

TEST_F(ProfileTest, StringsAreCutToTheLimit)
{
    Given("[S]\nk=abcdefgh\n");
    EXPECT_EQ(profile::ReadString("S", "k", "", 3, ini), "abc");
    EXPECT_EQ(profile::ReadString("S", "missing", "defaultvalue", 7, ini), "default");
}

TEST_F(ProfileTest, MalformedFilesAreReadAsFarAsTheyMakeSense)
{
    std::string junk = "key=before any section\r\n";
    junk += std::string("\0\x01\xff garbage", 11) + "\n";
    junk += "[A]\r\nk=1\r\n;k=commented\n[B]\nk=2\n[a]\nk=3\nj=4\n";
    junk += "[Long]\nv=" + std::string(100000, 'x') + "\n";
    junk += "no equals sign here\n[Unclosed\nu=5\n";
    Given(junk);
    EXPECT_EQ(profile::ReadInt("A", "k", 0, ini), 1);        // first of duplicate sections
    EXPECT_EQ(profile::ReadInt("A", "j", 0, ini), 0);        // later duplicate is not read
    EXPECT_EQ(profile::ReadInt("B", "k", 0, ini), 2);
    EXPECT_EQ(profile::ReadString("Long", "v", "", 511, ini).size(), 511u);
    EXPECT_EQ(profile::ReadInt("Long", "u", 0, ini), 5);     // "[Unclosed" is not a section
}

TEST_F(ProfileTest, WriteReplacesInPlaceAndKeepsEverythingElse)
{
    Given("; my settings\n[MainWin]\nX=5\nY=6\n\n[Font]\nfont_name=Mono\n");
    ASSERT_TRUE(profile::WriteString("mainwin", "x", "40", ini));
    EXPECT_EQ(Contents(), "; my settings\n[MainWin]\nX=40\nY=6\n\n[Font]\nfont_name=Mono\n");
}

TEST_F(ProfileTest, WriteAddsKeyAfterTheSectionsLastLineOrAppendsTheSection)
{
    Given("[MainWin]\nX=5\n\n[Font]\nfont_name=Mono\n");
    ASSERT_TRUE(profile::WriteInt("MainWin", "W", 600, ini));
    ASSERT_TRUE(profile::WriteString("SchOpts", "down", "1", ini));
    EXPECT_EQ(Contents(), "[MainWin]\nX=5\nW=600\n\n[Font]\nfont_name=Mono\n[SchOpts]\ndown=1\n");
}

TEST_F(ProfileTest, WriteCreatesTheFileAndKeepsCrLfFiles)
{
    ASSERT_TRUE(profile::WriteString("FileMenu", "count", "1", ini));
    EXPECT_EQ(Contents(), "[FileMenu]\ncount=1\n");

    Given("[A]\r\nk=1\r\n");
    ASSERT_TRUE(profile::WriteString("A", "j", "2", ini));
    EXPECT_EQ(Contents(), "[A]\r\nk=1\r\nj=2\r\n");
}

TEST_F(ProfileTest, ShorterListLeavesOlderEntriesInTheFile)
{
    for (int i = 1; i <= 5; ++i)
        profile::WriteString("search_patterns", "pattern_" + std::to_string(i), "old" + std::to_string(i), ini);
    profile::WriteInt("search_patterns", "count", 5, ini);
    for (int i = 1; i <= 3; ++i)
        profile::WriteString("search_patterns", "pattern_" + std::to_string(i), "new" + std::to_string(i), ini);
    profile::WriteInt("search_patterns", "count", 3, ini);
    EXPECT_EQ(profile::ReadInt("search_patterns", "count", 0, ini), 3);
    EXPECT_EQ(profile::ReadString("search_patterns", "pattern_3", "", 511, ini), "new3");
    EXPECT_EQ(profile::ReadString("search_patterns", "pattern_5", "", 511, ini), "old5");
}

TEST_F(ProfileTest, ValueWithALineBreakCannotForgeOtherKeys)
{
    ASSERT_TRUE(profile::WriteString("A", "k", "x\n[B]\ny=1", ini));
    EXPECT_EQ(profile::ReadString("B", "y", "none", 511, ini), "none");
    EXPECT_EQ(profile::ReadString("A", "k", "", 511, ini), "x [B] y=1");
}

TEST_F(ProfileTest, FailedWriteLeavesTheFileUntouched)
{
    // As the unprivileged user: a writable file in a directory the user
    // cannot write is updated in place; a read-only file is not rewritten.
    Given("[A]\nk=1\n");
    const std::string frozen = tree.Write("frozen/TARNWICK.INI", "[A]\nk=1\n");
    GiveToUnprivilegedUser(tree.root());
    GiveToUnprivilegedUser(ini);
    GiveToUnprivilegedUser(tree.Path("frozen"));
    GiveToUnprivilegedUser(frozen);
    ::chmod(frozen.c_str(), 0444);
    ::chmod(tree.root().c_str(), 0555);
    OpenTreeToOthers(tree.root());
    const int result = RunUnprivileged([&] {
        const bool in_place = profile::WriteString("A", "k", "2", ini);
        const bool read_only = profile::WriteString("A", "k", "2", frozen);
        return (in_place ? 0 : 1) + (read_only ? 2 : 0);
    });
    ::chmod(tree.root().c_str(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Contents(), "[A]\nk=2\n");
    EXPECT_EQ(tree.Read("frozen/TARNWICK.INI"), "[A]\nk=1\n");
    EXPECT_FALSE(profile::WriteString("A", "k", "3", frozen));  // nor by root: it has no write bit
    EXPECT_EQ(tree.Read("frozen/TARNWICK.INI"), "[A]\nk=1\n");
}

TEST_F(ProfileTest, AFileThatCannotBeReadIsNeverReplaced)
{
    // The user's own file without read permission, and root's private file.
    const std::string own = tree.Write("own.ini", "[A]\nk=1\nkeep=me\n");
    const std::string roots = tree.Write("roots.ini", "[A]\nk=1\n");
    GiveToUnprivilegedUser(tree.root());
    GiveToUnprivilegedUser(own);
    ::chmod(own.c_str(), 0200);
    ::chmod(roots.c_str(), 0600);
    OpenTreeToOthers(tree.root());
    const int result = RunUnprivileged([&] {
        int faults = 0;
        for (const std::string& path : {own, roots}) {
            if (profile::ReadInt("A", "k", 7, path) != 7) faults += 1;
            if (profile::WriteString("A", "k", "2", path)) faults += 10;
        }
        return faults;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tree.Read("own.ini"), "[A]\nk=1\nkeep=me\n");
    EXPECT_EQ(tree.Read("roots.ini"), "[A]\nk=1\n");
}

TEST_F(ProfileTest, ADirectoryPipeOrDeviceReadsAsEmptyAndIsNeverWritten)
{
    const std::string dir = tree.MakeDir("dir.ini");
    const std::string fifo = tree.Path("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {dir, fifo, std::string("/dev/null")}) {
        EXPECT_EQ(profile::ReadInt("MainWin", "X", 5, path), 5) << path;
        EXPECT_EQ(profile::ReadString("Font", "font_name", "Courier New", 127, path), "Courier New") << path;
        EXPECT_EQ(profile::Snapshot(path).ReadInt("MainWin", "W", 600), 600) << path;
        EXPECT_FALSE(profile::WriteString("MainWin", "X", "1", path)) << path;
    }
    struct stat st {};
    EXPECT_TRUE(::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
    EXPECT_TRUE(::stat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_TRUE(::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
}

TEST_F(ProfileTest, AByteOrderMarkIsSkippedOnReadingAndKeptOnWriting)
{
    Given("\xEF\xBB\xBF[MainWin]\r\nX=17\r\n");
    EXPECT_EQ(profile::ReadInt("MainWin", "X", 5, ini), 17);
    ASSERT_TRUE(profile::WriteInt("MainWin", "Y", 9, ini));
    ASSERT_TRUE(profile::WriteInt("MainWin", "X", 18, ini));
    EXPECT_EQ(Contents(), "\xEF\xBB\xBF[MainWin]\r\nX=18\r\nY=9\r\n");
    EXPECT_EQ(profile::Snapshot(ini).ReadInt("MainWin", "Y", 0), 9);
}

TEST_F(ProfileTest, LinesNobodyChangesKeepEveryByte)
{
    // Values that end in CR bytes, an LF file with one CR LF line, and a
    // last line without a line end.
    const std::string before = "[A]\nk=v\r\r\nmixed=1\r\nplain=2\n[B]\nlast=w\r";
    Given(before);
    ASSERT_TRUE(profile::WriteString("C", "n", "1", ini));
    EXPECT_EQ(Contents(), before + "\n[C]\nn=1\n");
    ASSERT_TRUE(profile::WriteString("A", "new", "x", ini));
    EXPECT_EQ(Contents(), "[A]\nk=v\r\r\nmixed=1\r\nplain=2\nnew=x\n[B]\nlast=w\r\n[C]\nn=1\n");
    ASSERT_TRUE(profile::WriteString("A", "plain", "3", ini));
    EXPECT_EQ(profile::ReadString("A", "k", "", 511, ini), "v\r");
    EXPECT_EQ(Contents(), "[A]\nk=v\r\r\nmixed=1\r\nplain=3\nnew=x\n[B]\nlast=w\r\n[C]\nn=1\n");

    Given("[A]\nk=1");  // no line end at all
    ASSERT_TRUE(profile::WriteString("A", "j", "2", ini));
    EXPECT_EQ(Contents(), "[A]\nk=1\nj=2\n");
}

TEST_F(ProfileTest, ASnapshotAnswersAsTheSingleReadsDo)
{
    std::string junk = "key=before any section\r\n[A]\r\nk=1\r\n;k=commented\n[B]\nk=2\ns= spaced \n";
    junk += "[a]\nk=3\nj=4\n[Long]\nv=" + std::string(1000, 'x') + "\n[Unclosed\nu=-5\n";
    Given(junk);
    const profile::Snapshot snapshot(ini);
    for (const auto& [section, key] : std::vector<std::pair<std::string, std::string>>{
             {"A", "k"}, {"a", "K"}, {"A", "j"}, {"B", "k"}, {"B", "s"}, {"Long", "v"}, {"Long", "u"},
             {"none", "k"}, {"", "key"}}) {
        EXPECT_EQ(snapshot.ReadInt(section, key, 99), profile::ReadInt(section, key, 99, ini)) << section << key;
        EXPECT_EQ(snapshot.ReadString(section, key, "dflt", 511), profile::ReadString(section, key, "dflt", 511, ini))
            << section << key;
    }
    EXPECT_EQ(snapshot.ReadInt("Long", "u", 0), -5);
    EXPECT_EQ(snapshot.ReadString("B", "s", "", 511), "spaced");
    EXPECT_EQ(snapshot.ReadString("Long", "v", "", 10), "xxxxxxxxxx");
    EXPECT_EQ(profile::Snapshot(tree.Path("missing.ini")).ReadString("A", "k", "default", 3), "def");
}

TEST_F(ProfileTest, NumberedKeysAreTheItemsActuallyStored)
{
    Given("[L]\ncount=2147483647\npattern_3=c\nPATTERN_1=a\npattern_01=no\npattern_x=no\n"
          "pattern_99999999999=no\npattern_2147483647=last\nother_2=no\n");
    const profile::Snapshot snapshot(ini);
    EXPECT_EQ(snapshot.NumberedKeys("l", "pattern_", 2147483647), (std::vector<int>{1, 3, 2147483647}));
    EXPECT_EQ(snapshot.NumberedKeys("L", "pattern_", 2), (std::vector<int>{1}));
    EXPECT_TRUE(snapshot.NumberedKeys("L", "pattern_", 0).empty());
    EXPECT_TRUE(snapshot.NumberedKeys("M", "pattern_", 5).empty());
}

TEST_F(ProfileTest, TheNextWriteRemovesWhatKilledWritesLeftBehind)
{
    Given("[A]\nk=1\n");
    for (int slot : {0, 5, 15}) tree.Write(atomic_file::TemporaryName("TARNWICK.INI", slot), "[A]\nk=half");
    ASSERT_TRUE(profile::WriteString("A", "k", "2", ini));
    EXPECT_EQ(Contents(), "[A]\nk=2\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.root()), std::filesystem::directory_iterator()), 1);
}

TEST_F(ProfileTest, WriteIntoAMissingDirectoryFailsQuietly)
{
    EXPECT_FALSE(profile::WriteString("A", "k", "2", tree.Path("no/such/dir/TARNWICK.INI")));
}

TEST(ProfileDefaultFile, OperationsUseTheFileThatTarnwickIniNames)
{
    ScopedSettingsFile settings("[Options]\nundo_limit=32\n");
    EXPECT_EQ(profile::ReadInt("Options", "undo_limit", 16), 32);
    ASSERT_TRUE(profile::WriteInt("Options", "auto_indent", 0));
    EXPECT_EQ(settings.Contents(), "[Options]\nundo_limit=32\nauto_indent=0\n");
}

} // namespace

TEST_F(ProfileTest, ALoneCarriageReturnAtTheEndStaysOutOfTheValues)
{
    const struct {
        const char* file;
        const char* section;  // where the new key goes
        const char* expected;
    } cases[] = {
        {"[A]\r\nk=v\r", "A", "[A]\r\nk=v\r\nj=2\r\n"},
        {"[A]\r\nk=v\r", "B", "[A]\r\nk=v\r\n[B]\r\nj=2\r\n"},
        {"[A]\nk=v\r", "A", "[A]\nk=v\r\nj=2\n"},
    };
    for (const auto& c : cases) {
        Given(c.file);
        ASSERT_TRUE(profile::WriteString(c.section, "j", "2", ini));
        EXPECT_EQ(Contents(), c.expected) << c.file;
        EXPECT_EQ(profile::ReadString("A", "k", "", 63, ini), "v") << c.file;
        ASSERT_TRUE(profile::WriteString(c.section, "j", "3", ini));
        EXPECT_EQ(profile::ReadString("A", "k", "", 63, ini), "v") << c.file;
    }
}

TEST_F(ProfileTest, TwoProgramsWritingAtOnceLoseNoKey)
{
    // Each writes its own keys; every write reads the file anew, so
    // without a lock one would write back a file without the other's
    // latest key. Once renamed over, once written in place (a hard link).
    const int keys = 1000;
    for (const bool in_place : {false, true}) {
        std::filesystem::remove(ini);
        std::filesystem::remove(tree.Path("twin.ini"));
        if (in_place) {
            Given("[Start]\nk=1\n");
            std::filesystem::create_hard_link(ini, tree.Path("twin.ini"));
        }
        const int count = in_place ? keys / 10 : keys;
        pid_t writers[2];
        for (int w = 0; w < 2; ++w) {
            writers[w] = ::fork();
            if (writers[w] == 0) {
                int failed = 0;
                for (int i = 0; i < count; ++i)
                    failed += !profile::WriteInt(w == 0 ? "First" : "Second", "key_" + std::to_string(i), i, ini);
                ::_exit(failed == 0 ? 0 : 1);
            }
        }
        for (const pid_t writer : writers) {
            int status = 0;
            ::waitpid(writer, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write reported a failure";
        }
        const profile::Snapshot file(ini);
        int lost = 0;
        for (const char* section : {"First", "Second"})
            for (int i = 0; i < count; ++i) lost += file.ReadInt(section, "key_" + std::to_string(i), -1) != i;
        EXPECT_EQ(lost, 0) << (in_place ? "in place" : "renamed");
        if (in_place) {
            EXPECT_EQ(tree.Read("twin.ini"), Contents());
        }
    }
}
