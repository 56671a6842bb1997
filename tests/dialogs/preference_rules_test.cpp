// The rules behind the Preferences dialog: which tab-stop item a stored
// value selects, what the number field keeps of a typed text, the colour
// swatches, and the writes of OK.
#include "dialogs/colour_swatches.h"
#include "dialogs/int_field_rule.h"
#include "dialogs/preference_values.h"
#include "dialogs/tab_stop_choice.h"
#include "settings/profile.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

std::string ItemOf(const std::vector<std::string>& items, std::optional<int> index)
{
    return index ? items[std::size_t(*index)] : "(none)";
}

TEST(TabStops, ItemsAreTheWidthsSortedAsTexts)
{
    EXPECT_EQ(TabStopItems(), (std::vector<std::string>{"10", "11", "12", "13", "14", "15", "16", "2", "3", "4",
                                                        "5", "6", "7", "8", "9"}));
}

TEST(TabStops, AStoredValueSelectsTheFirstItemBeginningWithItAfterTheFirstItem)
{
    const auto items = TabStopItems();
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "4")), "4");
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "16")), "16");
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "1")), "11");  // the search starts after item 0
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "10")), "10");  // found when it wraps round
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "9")), "9");
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "17")), "(none)");
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "abc")), "(none)");
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "")), "(none)");
    EXPECT_EQ(ItemOf(items, SelectTabStopItem(items, "100")), "(none)");
}

TEST(TabStops, NothingSelectedMeansFour)
{
    const auto items = TabStopItems();
    EXPECT_EQ(TabStopsOf(items, std::nullopt), 4);
    EXPECT_EQ(TabStopsOf(items, 99), 4);
    EXPECT_EQ(TabStopsOf(items, SelectTabStopItem(items, "17")), 4);
    EXPECT_EQ(TabStopsOf(items, SelectTabStopItem(items, "1")), 11);
    EXPECT_EQ(TabStopsOf(items, SelectTabStopItem(items, "8")), 8);
}

TEST(IntField, OnlyDigitsStayAndTheCaretKeepsItsPlaceAmongThem)
{
    IntFieldText kept = FilterIntField("5x", 2, 1, 512);
    EXPECT_EQ(kept.text, "5");
    EXPECT_EQ(kept.removed, 1);
    EXPECT_EQ(kept.caret, 1);

    kept = FilterIntField("1a2b3", 4, 1, 512);  // caret after the 'b'
    EXPECT_EQ(kept.text, "123");
    EXPECT_EQ(kept.removed, 2);
    EXPECT_EQ(kept.caret, 2);

    kept = FilterIntField("-5", 2, 1, 512);  // no sign: the minus goes, 5 stays
    EXPECT_EQ(kept.text, "5");
    EXPECT_EQ(kept.removed, 1);

    kept = FilterIntField("007", 3, 1, 512);  // in range: the digits stand as typed
    EXPECT_EQ(kept.text, "007");
    EXPECT_EQ(kept.removed, 0);
}

TEST(IntField, ValuesOutsideTheRangeBecomeItsEnds)
{
    EXPECT_EQ(FilterIntField("999", 3, 1, 512).text, "512");
    EXPECT_EQ(FilterIntField("", 0, 1, 512).text, "1");
    EXPECT_EQ(FilterIntField("0", 1, 1, 512).text, "1");
    EXPECT_EQ(FilterIntField("abc", 3, 1, 512).text, "1");
    EXPECT_EQ(FilterIntField("abc", 3, 1, 512).removed, 3);
    EXPECT_EQ(FilterIntField("99999999999999999999999", 5, 1, 512).text, "512");
    // The caret never stands beyond the text that replaced the typed one.
    const IntFieldText emptied = FilterIntField("abcdef", 6, 1, 512);
    EXPECT_EQ(emptied.caret, 0);
    EXPECT_LE(FilterIntField("1000", 4, 1, 512).caret, 3);
}

TEST(IntField, ValueReadsTheLeadingDigitsOfFifteenCharacters)
{
    EXPECT_EQ(IntFieldValue("512"), 512);
    EXPECT_EQ(IntFieldValue(""), 0);
    EXPECT_EQ(IntFieldValue("12x4"), 12);
    EXPECT_EQ(IntFieldValue("0000000000000042"), 4);  // the 16th character is cut off
}

TEST(Swatches, AColourOutsideTheSixteenIsBlack)
{
    EXPECT_EQ(SwatchIndex({0, 0, 0}), 0);
    EXPECT_EQ(SwatchIndex({192, 192, 192}), 8);
    EXPECT_EQ(SwatchIndex({255, 255, 255}), 15);
    EXPECT_EQ(SwatchIndex({1, 2, 3}), 0);
    EXPECT_EQ(SwatchIndex({255, 255, 256}), 0);
    EXPECT_EQ(ParseRgb("255 0 255"), (Rgb{255, 0, 255}));
    EXPECT_EQ(ParseRgb("12"), (Rgb{12, 0, 0}));
    EXPECT_EQ(ParseRgb("white"), (Rgb{0, 0, 0}));
    EXPECT_EQ(FormatRgb({128, 0, 128}), "128 0 128");
}

ChosenPreferences Chosen()
{
    ChosenPreferences chosen;
    chosen.background = {255, 255, 0};
    chosen.text = {0, 0, 128};
    chosen.font = {"DejaVu Sans Mono", 15, 700};
    chosen.tab_stops = 8;
    chosen.auto_indent = false;
    chosen.undo_limit = 40;
    return chosen;
}

TEST(PreferenceWrites, AreMadeInTheirOrderWithTheUndoLimitLastAndOnlyWhenChanged)
{
    const std::vector<SettingWrite> expected{
        {"Display", "bk_color", "255 255 0"},  {"Display", "fg_color", "0 0 128"},
        {"Font", "font_name", "DejaVu Sans Mono"}, {"Font", "font_size", "15"},
        {"Font", "font_weight", "700"},        {"Display", "tab_stops", "8"},
        {"Options", "auto_indent", "0"},
    };
    EXPECT_EQ(PreferenceWrites(Chosen(), 40), expected);

    auto with_undo = expected;
    with_undo.push_back({"Options", "undo_limit", "40"});
    EXPECT_EQ(PreferenceWrites(Chosen(), 16), with_undo);
}

TEST(PreferenceWrites, ApplyingThemKeepsEveryOtherKeyAndTellsWhetherAnythingChanged)
{
    TempTree tree;
    const std::string ini = tree.Write("TARNWICK.INI", "[MainWin]\nX=7\n[Font]\nfont_name=Old\nkeep=me\n"
                                                       "[Extensions]\nCount=1\next_1=C,c\n");
    const auto writes = PreferenceWrites(Chosen(), 16);
    EXPECT_TRUE(ApplyWrites(writes, ini));
    EXPECT_EQ(profile::ReadInt("MainWin", "X", 0, ini), 7);
    EXPECT_EQ(profile::ReadString("Font", "keep", "", 9, ini), "me");
    EXPECT_EQ(profile::ReadString("Extensions", "ext_1", "", 9, ini), "C,c");
    EXPECT_EQ(profile::ReadString("Font", "font_name", "", 99, ini), "DejaVu Sans Mono");
    EXPECT_EQ(profile::ReadInt("Options", "undo_limit", 0, ini), 40);

    EXPECT_FALSE(ApplyWrites(writes, ini));  // the same values again change nothing
}

TEST(StoredPreferences, DefaultsAndBadValuesReadAsTheViewsTakeThem)
{
    TempTree tree;
    const std::string empty = tree.Path("none.ini");
    StoredPreferences stored = ReadPreferences(empty);
    EXPECT_EQ(stored.tab_stops, "4");
    EXPECT_TRUE(stored.auto_indent);
    EXPECT_EQ(stored.undo_limit, 16);
    EXPECT_EQ(stored.font.face, "Courier New");
    EXPECT_EQ(stored.font.size, 12);
    EXPECT_EQ(stored.font.weight, 0);
    EXPECT_EQ(stored.background, (Rgb{255, 255, 255}));
    EXPECT_EQ(stored.text, (Rgb{0, 0, 0}));

    struct Case {
        const char* undo;
        int expected;
    };
    for (const Case& c : {Case{"999", 512}, Case{"0", 1}, Case{"-5", 1}, Case{"lots", 1}, Case{"300", 300}}) {
        const std::string ini = tree.Write("undo.ini", std::string("[Options]\nundo_limit=") + c.undo + "\n");
        EXPECT_EQ(ReadPreferences(ini).undo_limit, c.expected) << c.undo;
    }
    const std::string odd = tree.Write("odd.ini", "[Font]\nfont_size=-13\nfont_name=No Such Face\n");
    EXPECT_EQ(ReadPreferences(odd).font.size, 12);
    EXPECT_EQ(ReadPreferences(odd).font.face, "No Such Face");
}

} // namespace
