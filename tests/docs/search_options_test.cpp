#include <gtest/gtest.h>

#include "docs/search_options.h"
#include "support/temp_tree.h"

TEST(SearchOptions, DefaultsWithoutASection)
{
    ScopedSettingsFile settings("[Other]\nkey=1\n");
    SearchOptions options;
    options.search_patt = "stale";
    options.down = 0;
    options.Load(settings.path());
    EXPECT_EQ(options.search_patt, "");
    EXPECT_EQ(options.replace_patt, "");
    EXPECT_EQ(options.whole_words, 0);
    EXPECT_EQ(options.case_sensitive, 1);
    EXPECT_EQ(options.replace, 0);
    EXPECT_EQ(options.down, 1);
}

TEST(SearchOptions, SaveThenLoadAndTheLengthLimit)
{
    ScopedSettingsFile settings;
    SearchOptions options;
    options.search_patt = std::string(200, 'p');
    options.replace_patt = "with spaces";
    options.whole_words = 1;
    options.case_sensitive = 0;
    options.replace = 1;
    options.down = 0;
    options.Save();  // the file TARNWICK_INI names
    EXPECT_EQ(settings.Contents(), "[SchOpts]\nsearch_patt=" + std::string(200, 'p') +
                                       "\nreplace_patt=with spaces\nwhole_words=1\ncase_sensitive=0\nreplace=1\ndown=0\n");

    SearchOptions loaded;
    loaded.Load();
    EXPECT_EQ(loaded.search_patt, std::string(127, 'p'));
    EXPECT_EQ(loaded.replace_patt, "with spaces");
    EXPECT_EQ(loaded.whole_words, 1);
    EXPECT_EQ(loaded.case_sensitive, 0);
    EXPECT_EQ(loaded.replace, 1);
    EXPECT_EQ(loaded.down, 0);
}
