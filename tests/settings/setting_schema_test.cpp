#include "settings/setting_schema.h"

#include "settings/profile_snapshot.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace setting;

struct SchemaTest : ::testing::Test {
    TempTree tree;
    std::string ini = tree.Path("TARNWICK.INI");

    // The file holding `value` under the setting's key, or no file at all.
    template <class Setting>
    profile::Snapshot Stored(const Setting& s, const std::optional<std::string>& value)
    {
        if (value)
            tree.Write("TARNWICK.INI", "[" + std::string(s.section) + "]\n" + std::string(s.key) + "=" + *value + "\n");
        return profile::Snapshot(ini);
    }
};

// Every key of the settings file, as files written before name them.
TEST(SchemaKeys, DeclarationsNameTheKeysOfTheSettingsFile)
{
    struct Key {
        std::string_view section, key;
    };
    const std::vector<std::pair<Key, Key>> declared{
        {{kFrameX.section, kFrameX.key}, {"MainWin", "X"}},
        {{kFrameY.section, kFrameY.key}, {"MainWin", "Y"}},
        {{kFrameWidth.section, kFrameWidth.key}, {"MainWin", "W"}},
        {{kFrameHeight.section, kFrameHeight.key}, {"MainWin", "H"}},
        {{kFrameMaximised.section, kFrameMaximised.key}, {"MainWin", "max"}},
        {{kToolBarPlace.section, kToolBarPlace.key}, {"MainWin", "ctrl_loc"}},
        {{kRecentFiles.count.section, kRecentFiles.count.key}, {"FileMenu", "count"}},
        {{kFileTypes.count.section, kFileTypes.count.key}, {"Extensions", "Count"}},
        {{kSelectedFileType.section, kSelectedFileType.key}, {"Extensions", "Selected"}},
        {{kOpenFolder.section, kOpenFolder.key}, {"Extensions", "Path"}},
        {{kSearchPatterns.count.section, kSearchPatterns.count.key}, {"search_patterns", "count"}},
        {{kReplacePatterns.count.section, kReplacePatterns.count.key}, {"replace_patterns", "count"}},
        {{kSearchPaths.count.section, kSearchPaths.count.key}, {"search_paths", "count"}},
        {{kGrepTextOnly.section, kGrepTextOnly.key}, {"GrepOpts", "text_only"}},
        {{kGrepSubDir.section, kGrepSubDir.key}, {"GrepOpts", "sub_dir"}},
        {{kGrepCase.section, kGrepCase.key}, {"GrepOpts", "case"}},
        {{kGrepWords.section, kGrepWords.key}, {"GrepOpts", "words"}},
        {{kGrepReplace.section, kGrepReplace.key}, {"GrepOpts", "replace"}},
        {{kGrepShowLines.section, kGrepShowLines.key}, {"GrepOpts", "show_lines"}},
        {{kGrepWindowWidth.section, kGrepWindowWidth.key}, {"GrepWin", "Width"}},
        {{kGrepWindowHeight.section, kGrepWindowHeight.key}, {"GrepWin", "Height"}},
        {{kCountSubDir.section, kCountSubDir.key}, {"CountOpts", "sub_dir"}},
        {{kFont.face.section, kFont.face.key}, {"Font", "font_name"}},
        {{kFont.size.section, kFont.size.key}, {"Font", "font_size"}},
        {{kFont.weight.section, kFont.weight.key}, {"Font", "font_weight"}},
        {{kTabStops.section, kTabStops.key}, {"Display", "tab_stops"}},
        {{kTabStopsText.section, kTabStopsText.key}, {"Display", "tab_stops"}},
        {{kBackground.section, kBackground.key}, {"Display", "bk_color"}},
        {{kForeground.section, kForeground.key}, {"Display", "fg_color"}},
        {{kAutoIndent.section, kAutoIndent.key}, {"Options", "auto_indent"}},
        {{kUndoLimit.section, kUndoLimit.key}, {"Options", "undo_limit"}},
        {{kFindText.section, kFindText.key}, {"SchOpts", "search_patt"}},
        {{kReplaceText.section, kReplaceText.key}, {"SchOpts", "replace_patt"}},
        {{kFindWholeWords.section, kFindWholeWords.key}, {"SchOpts", "whole_words"}},
        {{kFindCaseSensitive.section, kFindCaseSensitive.key}, {"SchOpts", "case_sensitive"}},
        {{kFindReplace.section, kFindReplace.key}, {"SchOpts", "replace"}},
        {{kFindDown.section, kFindDown.key}, {"SchOpts", "down"}},
    };
    for (const auto& [got, want] : declared) {
        EXPECT_EQ(got.section, want.section) << want.key;
        EXPECT_EQ(got.key, want.key) << want.section;
    }
    const std::vector<std::pair<const ListSetting*, std::string>> items{
        {&kRecentFiles, "file_3"},        {&kFileTypes, "ext_3"},    {&kSearchPatterns, "pattern_3"},
        {&kReplacePatterns, "pattern_3"}, {&kSearchPaths, "path_3"},
    };
    for (const auto& [list, key] : items) EXPECT_EQ(list->ItemKey(3), key);
    for (const ListSetting* history : {&kSearchPatterns, &kReplacePatterns, &kSearchPaths})
        EXPECT_EQ(history->selected_key, "selected") << history->section;
}

// What a number setting gives for a stored value (nullopt: no key).
struct IntCase {
    const IntSetting* setting;
    std::optional<std::string> stored;
    int expected;
};

TEST_F(SchemaTest, NumbersReadTheirDefaultWhenMissingAndKeepTheirLimits)
{
    const std::vector<IntCase> cases{
        {&kFrameX, std::nullopt, 5},
        {&kFrameX, "-12", -12},
        {&kFrameX, "abc", 0},
        {&kFrameY, std::nullopt, 5},
        {&kFrameWidth, std::nullopt, 600},
        {&kFrameHeight, std::nullopt, 400},
        {&kFrameWidth, "100000", 100000},
        // The tool bar's place is kept as stored; the next move counts on from it.
        {&kToolBarPlace, std::nullopt, 0},
        {&kToolBarPlace, "2", 2},
        {&kToolBarPlace, "7", 7},
        {&kToolBarPlace, "abc", 0},
        // Eight recent files at most; a negative count loads none.
        {&kRecentFiles.count, std::nullopt, 0},
        {&kRecentFiles.count, "12", 8},
        {&kRecentFiles.count, "-3", 0},
        {&kRecentFiles.count, "5", 5},
        {&kFileTypes.count, std::nullopt, 0},
        {&kFileTypes.count, "300", 300},
        {&kFileTypes.count, "-12", -12},
        {&kSelectedFileType, std::nullopt, 0},
        {&kSelectedFileType, "-1", -1},
        {&kSearchPaths.count, std::nullopt, 0},
        // Views read a tab width outside 1..16 as 4.
        {&kTabStops, std::nullopt, 4},
        {&kTabStops, "0", 4},
        {&kTabStops, "17", 4},
        {&kTabStops, "-12", 4},
        {&kTabStops, "abc", 4},
        {&kTabStops, "1", 1},
        {&kTabStops, "16", 16},
        {&kTabStops, "8 spaces", 8},
        // The undo limit is brought into 1..512.
        {&kUndoLimit, std::nullopt, 16},
        {&kUndoLimit, "999", 512},
        {&kUndoLimit, "0", 1},
        {&kUndoLimit, "-12", 1},
        {&kUndoLimit, "abc", 1},
        {&kUndoLimit, "300", 300},
        // A font size no view can make reads as 12.
        {&kFont.size, std::nullopt, 12},
        {&kFont.size, "0", 12},
        {&kFont.size, "-12", 12},
        {&kFont.size, "abc", 12},
        {&kFont.size, "300", 300},
        {&kFont.weight, std::nullopt, 0},
        {&kFont.weight, "700", 700},
        {&kFont.weight, "-12", -12},
        // The find flags are kept as stored.
        {&kFindWholeWords, std::nullopt, 0},
        {&kFindCaseSensitive, std::nullopt, 1},
        {&kFindReplace, std::nullopt, 0},
        {&kFindDown, std::nullopt, 1},
        {&kFindDown, "2", 2},
        {&kFindCaseSensitive, "abc", 0},
    };
    for (const IntCase& c : cases) {
        EXPECT_EQ(c.setting->Read(Stored(*c.setting, c.stored)), c.expected)
            << c.setting->section << "/" << c.setting->key << "=" << c.stored.value_or("(missing)");
        EXPECT_EQ(c.setting->Read(ini), c.expected) << c.setting->key << " read from the path";
    }
}

struct FlagCase {
    const FlagSetting* setting;
    std::optional<std::string> stored;
    bool expected;
};

TEST_F(SchemaTest, FlagsReadOnForAnyNumberButZero)
{
    const std::vector<FlagCase> cases{
        {&kFrameMaximised, std::nullopt, false},
        {&kFrameMaximised, "1", true},
        {&kGrepTextOnly, std::nullopt, true},
        {&kGrepTextOnly, "0", false},
        {&kGrepTextOnly, "abc", false},
        {&kGrepSubDir, std::nullopt, false},
        {&kGrepSubDir, "-12", true},
        {&kGrepCase, std::nullopt, false},
        {&kGrepWords, std::nullopt, false},
        {&kGrepReplace, std::nullopt, false},
        {&kGrepShowLines, std::nullopt, false},
        {&kCountSubDir, std::nullopt, false},
        {&kCountSubDir, "300", true},
        {&kAutoIndent, std::nullopt, true},
        {&kAutoIndent, "0", false},
        {&kAutoIndent, "abc", false},
    };
    for (const FlagCase& c : cases)
        EXPECT_EQ(c.setting->Read(Stored(*c.setting, c.stored)), c.expected)
            << c.setting->section << "/" << c.setting->key << "=" << c.stored.value_or("(missing)");
}

TEST_F(SchemaTest, TextsReadTheirDefaultWhenMissingAndAreCutToTheirLimit)
{
    struct TextCase {
        const TextSetting* setting;
        std::string fallback;
        std::size_t limit;
    };
    const std::vector<TextCase> cases{
        {&kFont.face, "Courier New", 127}, {&kTabStopsText, "4", 63}, {&kOpenFolder, "", 255}, {&kFindText, "", 127},
        {&kReplaceText, "", 127},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(c.setting->Read(Stored(*c.setting, std::nullopt)), c.fallback) << c.setting->key;
        const std::string long_value(c.limit + 20, 'x');
        EXPECT_EQ(c.setting->Read(Stored(*c.setting, long_value)), long_value.substr(0, c.limit)) << c.setting->key;
        EXPECT_TRUE(c.setting->Write("abc def", ini));
        EXPECT_EQ(c.setting->Read(profile::Snapshot(ini)), "abc def") << c.setting->key;
    }
}

TEST_F(SchemaTest, ColoursParseThreeNumbersAsStored)
{
    struct ColourCase {
        const ColourSetting* setting;
        std::optional<std::string> stored;
        Rgb expected;
    };
    const std::vector<ColourCase> cases{
        {&kBackground, std::nullopt, {255, 255, 255}},
        {&kForeground, std::nullopt, {0, 0, 0}},
        {&kBackground, "128 0 128", {128, 0, 128}},
        {&kBackground, "300 0 0", {300, 0, 0}},
        {&kBackground, "12", {12, 0, 0}},
        {&kBackground, "abc", {0, 0, 0}},
        {&kForeground, "-12 5 6", {-12, 5, 6}},
        {&kForeground, "1  2\t3", {1, 2, 3}},
        // Only the first 63 characters are parsed.
        {&kForeground, "7" + std::string(62, ' ') + "8 9", {7, 0, 0}},
    };
    for (const ColourCase& c : cases) {
        const Rgb got = c.setting->Read(Stored(*c.setting, c.stored));
        EXPECT_EQ(got, c.expected) << c.setting->key << "=" << c.stored.value_or("(missing)");
    }
    EXPECT_EQ(LowBytes({300, 256, -1}), (Rgb{44, 0, 255}));
    tree.Write("TARNWICK.INI", "");
    EXPECT_TRUE(kBackground.Write({1, 2, 3}, ini));
    EXPECT_EQ(tree.Read("TARNWICK.INI"), "[Display]\nbk_color=1 2 3\n");
    EXPECT_EQ(kBackground.Read(profile::Snapshot(ini)), (Rgb{1, 2, 3}));
}

TEST_F(SchemaTest, NumbersAndFlagsRoundTripInTheirTextForm)
{
    EXPECT_TRUE(kUndoLimit.Write(300, ini));
    EXPECT_TRUE(kGrepSubDir.Write(true, ini));
    EXPECT_TRUE(kAutoIndent.Write(false, ini));
    EXPECT_EQ(tree.Read("TARNWICK.INI"), "[Options]\nundo_limit=300\nauto_indent=0\n[GrepOpts]\nsub_dir=1\n");
    const profile::Snapshot settings(ini);
    EXPECT_EQ(kUndoLimit.Read(settings), 300);
    EXPECT_TRUE(kGrepSubDir.Read(settings));
    EXPECT_FALSE(kAutoIndent.Read(settings));
}

TEST_F(SchemaTest, ListItemsAreReadUpToTheirLimit)
{
    const std::string long_path = "/" + std::string(600, 'p');
    EXPECT_TRUE(kRecentFiles.WriteItem(2, long_path, ini));
    EXPECT_TRUE(kSearchPaths.WriteItem(1, "/tmp", ini));
    tree.Write("TARNWICK.INI", tree.Read("TARNWICK.INI") + "selected=/tm\n");
    const profile::Snapshot settings(ini);
    EXPECT_EQ(kRecentFiles.ReadItem(settings, 2), long_path.substr(0, 511));
    EXPECT_EQ(kRecentFiles.ReadItem(settings, 1), "");
    EXPECT_EQ(kRecentFiles.StoredNumbers(settings, 8), std::vector<int>{2});
    EXPECT_EQ(kSearchPaths.ReadItem(settings, 1), "/tmp");
    EXPECT_EQ(kSearchPaths.ReadSelected(settings), "/tm");
}

TEST_F(SchemaTest, FontReadsFaceSizeAndWeightTogether)
{
    tree.Write("TARNWICK.INI", "[font]\nFONT_NAME=DejaVu Sans Mono\nfont_size=-3\nfont_weight=700\n");
    const Font font = kFont.Read(profile::Snapshot(ini));
    EXPECT_EQ(font.face, "DejaVu Sans Mono");
    EXPECT_EQ(font.size, 12);
    EXPECT_EQ(font.weight, 700);
}

}  // namespace
