#include "settings/profile.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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
    if (::geteuid() == 0) GTEST_SKIP() << "root can write into read-only directories";
    Given("[A]\nk=1\n");
    ::chmod(tree.root().c_str(), 0555);
    EXPECT_FALSE(profile::WriteString("A", "k", "2", ini));
    ::chmod(tree.root().c_str(), 0755);
    EXPECT_EQ(Contents(), "[A]\nk=1\n");
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
