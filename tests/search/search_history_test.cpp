#include "search/search_history.h"
#include "settings/profile.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

std::string Read(const ScopedSettingsFile& ini, const char* section, const char* key)
{
    return profile::ReadString(section, key, "<missing>", 511, ini.path());
}

TEST(SearchHistory, FreshFileGivesEmptyListAndNoSelection)
{
    ScopedSettingsFile ini;
    SearchHistory h(kSearchPatterns);
    h.Load(ini.path());
    EXPECT_TRUE(h.items().empty());
    EXPECT_EQ(h.selected(), -1);
}

TEST(SearchHistory, LoadSkipsEmptyItemsAndStopsAtCount)
{
    ScopedSettingsFile ini(
        "[search_patterns]\ncount=3\npattern_1=alpha\npattern_2=\npattern_3=gamma\npattern_4=delta\n"
        "selected=gamma\n");
    SearchHistory h(kSearchPatterns);
    h.Load(ini.path());
    EXPECT_EQ(h.items(), (std::vector<std::string>{"alpha", "gamma"}));
    EXPECT_EQ(h.selected(), 1);
}

TEST(SearchHistory, ACorruptCountStopsAtTheLastItemStored)
{
    // The count is far beyond the items; gaps and odd spellings of the
    // item keys read as the single reads would.
    ScopedSettingsFile ini(
        "[search_patterns]\ncount=2147483647\nPATTERN_2=beta\npattern_1=alpha\npattern_02=not an item\n"
        "pattern_7=eta\nselected=eta\n[search_paths]\ncount=-4\npath_1=/x\n");
    SearchHistory h(kSearchPatterns);
    h.Load(ini.path());
    EXPECT_EQ(h.items(), (std::vector<std::string>{"alpha", "beta", "eta"}));
    EXPECT_EQ(h.selected(), 2);
    SearchHistory paths(kSearchPaths);
    paths.Load(ini.path());
    EXPECT_TRUE(paths.items().empty());

    // A new item is numbered after the stored count's last item, never
    // over one of them.
    EXPECT_TRUE(h.Remember("new", ini.path()));
    EXPECT_EQ(Read(ini, "search_patterns", "pattern_7"), "eta");
    EXPECT_EQ(Read(ini, "search_patterns", "pattern_8"), "new");
    EXPECT_EQ(Read(ini, "search_patterns", "count"), "8");
}

TEST(SearchHistory, ThousandsOfItemsLoadInOneRead)
{
    std::string contents = "[search_patterns]\ncount=5000\n";
    for (int i = 1; i <= 5000; ++i) contents += "pattern_" + std::to_string(i) + "=item " + std::to_string(i) + "\n";
    contents += "selected=item 4999\n";
    ScopedSettingsFile ini(contents);
    SearchHistory h(kSearchPatterns);
    h.Load(ini.path());
    ASSERT_EQ(h.items().size(), 5000u);
    EXPECT_EQ(h.items()[4999], "item 5000");
    EXPECT_EQ(h.selected(), 4998);
}

TEST(SearchHistory, SelectionStartsAtSecondItemAndWraps)
{
    const std::vector<std::string> items{"abc", "abd", "xyz"};
    EXPECT_EQ(SearchHistory::SelectIndex(items, "ab", true), 1);
    EXPECT_EQ(SearchHistory::SelectIndex(items, "x", true), 2);
    EXPECT_EQ(SearchHistory::SelectIndex(items, "abc", true), 0);  // wraps to the first
    EXPECT_EQ(SearchHistory::SelectIndex(items, "ABD", true), 1);  // texts fold case
    EXPECT_EQ(SearchHistory::SelectIndex(items, "q", true), -1);
    EXPECT_EQ(SearchHistory::SelectIndex(items, "", true), -1);
    EXPECT_EQ(SearchHistory::SelectIndex({"only"}, "on", true), 0);
}

TEST(SearchHistory, SelectionPrefersTheTextItselfOverALongerItem)
{
    // "abc" searched first, then "abcdef", then "abc" again: the field must
    // show "abc", not the longer text that merely begins with it.
    const std::vector<std::string> items{"abc", "abcdef"};
    EXPECT_EQ(SearchHistory::SelectIndex(items, "abc", true), 0);
    EXPECT_EQ(SearchHistory::SelectIndex(items, "abcd", true), 1);
}

TEST(SearchHistory, PathSelectionComparesCase)
{
    const std::vector<std::string> items{"/x", "/Home/a/*.txt", "/home/a/*.txt"};
    EXPECT_EQ(SearchHistory::SelectIndex(items, "/home/a", false), 2);
    EXPECT_EQ(SearchHistory::SelectIndex(items, "/HOME", false), -1);
}

TEST(SearchHistory, SameTextTwiceIsStoredOnce)
{
    ScopedSettingsFile ini;
    SearchHistory h(kSearchPatterns);
    h.Load(ini.path());
    EXPECT_TRUE(h.Remember("needle", ini.path()));
    EXPECT_FALSE(h.Remember("needle", ini.path()));
    EXPECT_EQ(Read(ini, "search_patterns", "count"), "1");
    EXPECT_EQ(Read(ini, "search_patterns", "pattern_1"), "needle");
    EXPECT_EQ(Read(ini, "search_patterns", "pattern_2"), "<missing>");
    EXPECT_EQ(Read(ini, "search_patterns", "selected"), "needle");
}

TEST(SearchHistory, SameTextInAnotherCaseIsAppended)
{
    ScopedSettingsFile ini;
    SearchHistory h(kSearchPatterns);
    h.Load(ini.path());
    h.Remember("Needle", ini.path());
    EXPECT_TRUE(h.Remember("needle", ini.path()));
    EXPECT_EQ(Read(ini, "search_patterns", "count"), "2");
    EXPECT_EQ(Read(ini, "search_patterns", "pattern_2"), "needle");
    SearchHistory again(kSearchPatterns);
    again.Load(ini.path());
    EXPECT_EQ(again.items(), (std::vector<std::string>{"Needle", "needle"}));
    EXPECT_EQ(again.selected(), 1);
}

TEST(SearchHistory, EmptyTextWritesOnlySelected)
{
    ScopedSettingsFile ini("[replace_patterns]\ncount=2\npattern_1=one\npattern_2=two\nselected=two\n");
    SearchHistory h(kReplacePatterns);
    h.Load(ini.path());
    EXPECT_FALSE(h.Remember("", ini.path()));
    EXPECT_EQ(Read(ini, "replace_patterns", "count"), "2");
    EXPECT_EQ(Read(ini, "replace_patterns", "selected"), "");
    SearchHistory again(kReplacePatterns);
    again.Load(ini.path());
    EXPECT_EQ(again.items().size(), 2u);
    EXPECT_EQ(again.selected(), -1);  // the replacement field opens empty
}

TEST(SearchHistory, PathsAreStoredAsTyped)
{
    ScopedSettingsFile ini;
    SearchHistory h(kSearchPaths);
    h.Load(ini.path());
    h.Remember("/Data/Src/*.CPP", ini.path());
    EXPECT_EQ(Read(ini, "search_paths", "path_1"), "/Data/Src/*.CPP");
    EXPECT_EQ(Read(ini, "search_paths", "selected"), "/Data/Src/*.CPP");
    SearchHistory again(kSearchPaths);
    again.Load(ini.path());
    ASSERT_EQ(again.selected(), 0);
    EXPECT_EQ(again.items()[0], "/Data/Src/*.CPP");
}

TEST(SearchHistory, TwoWindowsNeverOverwriteEachOthersItems)
{
    ScopedSettingsFile ini("[search_paths]\ncount=1\npath_1=/a/*.c\n");
    SearchHistory grep(kSearchPaths), count(kSearchPaths);
    grep.Load(ini.path());
    count.Load(ini.path());
    grep.Remember("/b/*.c", ini.path());
    count.Remember("/c/*.c", ini.path());
    EXPECT_EQ(Read(ini, "search_paths", "count"), "3");
    EXPECT_EQ(Read(ini, "search_paths", "path_2"), "/b/*.c");
    EXPECT_EQ(Read(ini, "search_paths", "path_3"), "/c/*.c");
}

TEST(SearchHistory, EmptyStoredItemsKeepTheirNumbers)
{
    ScopedSettingsFile ini("[search_patterns]\ncount=3\npattern_1=a\npattern_2=\npattern_3=c\n");
    SearchHistory h(kSearchPatterns);
    h.Load(ini.path());
    h.Remember("d", ini.path());
    EXPECT_EQ(Read(ini, "search_patterns", "pattern_3"), "c");
    EXPECT_EQ(Read(ini, "search_patterns", "pattern_4"), "d");
    EXPECT_EQ(Read(ini, "search_patterns", "count"), "4");
}

TEST(SearchHistory, MalformedCountReadsAsEmptyList)
{
    ScopedSettingsFile ini("[search_patterns]\ncount=abc\npattern_1=a\n");
    SearchHistory h(kSearchPatterns);
    h.Load(ini.path());
    EXPECT_TRUE(h.items().empty());
    ScopedSettingsFile negative("[search_patterns]\ncount=-5\n");
    h.Load(negative.path());
    EXPECT_TRUE(h.items().empty());
}

} // namespace
