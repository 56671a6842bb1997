#include "search/result_line.h"
#include "search/search_path_rule.h"
#include "search/search_window_options.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

TEST(GrepFlags, FreshFileSetsOnlyTextFilesOnly)
{
    ScopedSettingsFile ini;
    const GrepFlags f = LoadGrepFlags(ini.path());
    EXPECT_TRUE(f.text_only);
    EXPECT_FALSE(f.sub_dir || f.whole_words || f.case_sensitive || f.replace || f.show_lines);
}

TEST(GrepFlags, RoundTripUsesTheStoredKeyNames)
{
    ScopedSettingsFile ini;
    GrepFlags f;
    f.text_only = false;
    f.sub_dir = true;
    f.case_sensitive = true;
    f.show_lines = true;
    f.use_gitignore = true;
    f.context = 5;
    SaveGrepFlags(f, ini.path());
    EXPECT_EQ(ini.Contents(),
              "[GrepOpts]\ntext_only=0\nsub_dir=1\nwords=0\ncase=1\nreplace=0\nshow_lines=1\ngitignore=1\ncontext=5\n");
    const GrepFlags g = LoadGrepFlags(ini.path());
    EXPECT_EQ(g.context, 5);
    EXPECT_FALSE(g.text_only);
    EXPECT_TRUE(g.sub_dir && g.case_sensitive && g.show_lines && g.use_gitignore);
    EXPECT_FALSE(g.whole_words || g.replace);
}

TEST(GrepFlags, AnyNonZeroValueSetsTheBox)
{
    ScopedSettingsFile ini("[GrepOpts]\nwords=7\nreplace=-1\ncase=x\n");
    const GrepFlags f = LoadGrepFlags(ini.path());
    EXPECT_TRUE(f.whole_words);
    EXPECT_TRUE(f.replace);
    EXPECT_FALSE(f.case_sensitive);
    EXPECT_FALSE(f.use_gitignore);  // a settings file from before it was kept
    // The preview's context keeps to 0..9.
    EXPECT_EQ(LoadGrepFlags(ScopedSettingsFile("[GrepOpts]\ncontext=15\n").path()).context, 9);
    EXPECT_EQ(LoadGrepFlags(ScopedSettingsFile("[GrepOpts]\ncontext=-3\n").path()).context, 0);
}

TEST(CountOptions, SubDirRoundTrip)
{
    ScopedSettingsFile ini;
    EXPECT_FALSE(LoadCountSubDir(ini.path()));
    SaveCountSubDir(true, ini.path());
    EXPECT_EQ(ini.Contents(), "[CountOpts]\nsub_dir=1\n");
    EXPECT_TRUE(LoadCountSubDir(ini.path()));
}

TEST(SearchPathRule, ExtensionParts)
{
    EXPECT_EQ(SearchPathFromFile("/home/u/src/main.cpp"), "/home/u/src/*.cpp");
    EXPECT_EQ(SearchPathFromFile("/home/u/dist/pkg.tar.gz"), "/home/u/dist/*.tar.gz");
    EXPECT_EQ(SearchPathFromFile("/home/u/Makefile"), "/home/u/*.*");
    // A dot in a directory name is not the file's extension.
    EXPECT_EQ(SearchPathFromFile("/home/u/v1.2/README"), "/home/u/v1.2/*.*");
    EXPECT_EQ(SearchPathFromFile("/Data/Notes.TXT"), "/Data/*.TXT");
    EXPECT_EQ(SearchPathFromFile("/top.txt"), "/*.txt");
    EXPECT_EQ(SearchPathFromFile("/home/u/.bashrc"), "/home/u/*.bashrc");
}

TEST(ResultLine, SplitsAtTheLastTabSoAFileNameMayHoldOne)
{
    const ResultLine r = ParseResultLine("/a/b c.txt\t42");
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.path, "/a/b c.txt");
    EXPECT_EQ(r.number, 42);
    const ResultLine two = ParseResultLine("/a\tb\t7");
    EXPECT_EQ(two.path, "/a\tb");
    EXPECT_EQ(two.number, 7);
    EXPECT_FALSE(ParseResultLine("/no/tab 12").valid);
    EXPECT_EQ(ParseResultLine("/x\t").number, 0);
}

} // namespace

namespace {

// A directory alone stands for every file in it; anything else is a
// pattern and stays as typed.
TEST(SearchPathArgument, ADirectoryMeansEveryFileInIt)
{
    TempTree tree;
    tree.Write("d/a.txt", "x");
    const std::string dir = tree.root() + "/d";
    EXPECT_EQ(SearchPathArgument(dir), dir + "/*.*");
    EXPECT_EQ(SearchPathArgument(dir + "//"), dir + "/*.*");
    EXPECT_EQ(SearchPathArgument("/"), "/*.*");
    EXPECT_EQ(SearchPathArgument(dir + "/*.txt"), dir + "/*.txt");
    EXPECT_EQ(SearchPathArgument(dir + "/a.txt"), dir + "/a.txt");  // a file names itself
    EXPECT_EQ(SearchPathArgument(dir + "/none"), dir + "/none");
    EXPECT_EQ(SearchPathArgument(""), "");
}

} // namespace
