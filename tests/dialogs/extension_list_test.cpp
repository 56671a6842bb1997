// The file-type list: reading it (and its default), deleting an entry, and
// what OK writes for a typed new or existing extension.
#include "dialogs/extension_list.h"
#include "settings/profile.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

struct ExtensionListTest : ::testing::Test {
    std::string Ini(std::string_view contents) { return tree.Write("TARNWICK.INI", contents); }
    std::string Entry(int number) { return profile::ReadString("Extensions", "ext_" + std::to_string(number), "", 255, ini); }
    int Stored(const char* key) { return profile::ReadInt("Extensions", key, -99, ini); }

    TempTree tree;
    std::string ini;
};

TEST_F(ExtensionListTest, AMissingOrEmptyListIsWrittenAsTheDefaultWithTextFilesSelected)
{
    for (const char* contents : {"[MainWin]\nX=3\n", "[Extensions]\nCount=0\nPath=/tmp\n", "[Extensions]\nCount=-4\n"}) {
        ini = Ini(contents);
        const ExtensionList list = ExtensionList::Load(ini);
        EXPECT_EQ(list.Entries(), (std::vector<FileType>{{"Text Files", "TXT"}, {"All Files", "*"}})) << contents;
        EXPECT_EQ(list.Selected(), 0);
        EXPECT_EQ(Stored("Count"), 2);
        EXPECT_EQ(Entry(1), "Text Files,TXT");
        EXPECT_EQ(Entry(2), "All Files,*");
    }
    EXPECT_EQ(profile::ReadString("Extensions", "Path", "", 99, ini), "");  // the last file had none
    ini = Ini("[MainWin]\nX=3\n[Extensions]\nPath=/tmp\n");
    ExtensionList::Load(ini);
    EXPECT_EQ(profile::ReadInt("MainWin", "X", 0, ini), 3);
    EXPECT_EQ(profile::ReadString("Extensions", "Path", "", 99, ini), "/tmp");
}

TEST_F(ExtensionListTest, EntriesSplitAtTheirFirstCommaAndThoseWithoutOneAreSkipped)
{
    ini = Ini("[Extensions]\nCount=5\nSelected=2\next_1=Text Files,TXT\next_2=no comma\n"
              "ext_3=Sources, C or H,c,h\next_4=,\next_5=Makefiles,mk\n");
    const ExtensionList list = ExtensionList::Load(ini);
    EXPECT_EQ(list.Entries(), (std::vector<FileType>{{"Text Files", "TXT"}, {"Sources", " C or H,c,h"}, {"", ""},
                                                     {"Makefiles", "mk"}}));
    EXPECT_EQ(list.Selected(), 2);
    EXPECT_EQ(Stored("Count"), 5);  // reading writes nothing back
}

TEST_F(ExtensionListTest, ACorruptCountStopsAtTheLastEntryStored)
{
    // Visiting every number up to the count would keep the dialog busy for hours.
    ini = Ini("[Extensions]\nCount=2147483647\nSelected=1\next_1=A,a\next_2=B,b\next_9=C,c\n");
    const ExtensionList list = ExtensionList::Load(ini);
    EXPECT_EQ(list.Entries(), (std::vector<FileType>{{"A", "a"}, {"B", "b"}, {"C", "c"}}));
    EXPECT_EQ(list.Selected(), 1);
}

TEST_F(ExtensionListTest, ASelectedIndexBeyondTheListSelectsNothing)
{
    ini = Ini("[Extensions]\nCount=2\nSelected=7\next_1=A,a\next_2=B,b\n");
    EXPECT_EQ(ExtensionList::Load(ini).Selected(), -1);
    ini = Ini("[Extensions]\nCount=2\nSelected=-1\next_1=A,a\next_2=B,b\n");
    EXPECT_EQ(ExtensionList::Load(ini).Selected(), -1);
    ini = Ini("[Extensions]\nCount=2\nSelected=1\next_1=no comma\next_2=B,b\n");
    EXPECT_EQ(ExtensionList::Load(ini).Selected(), -1);  // only one entry was read
}

TEST_F(ExtensionListTest, ANewExtensionIsAppendedAsTypedAndBecomesPreferred)
{
    ini = Ini("[Extensions]\nCount=2\nSelected=0\next_1=Text Files,TXT\next_2=All Files,*\n");
    ExtensionList list = ExtensionList::Load(ini);
    EXPECT_EQ(list.Accept("Cpp", "C++ Sources", ini), 2);
    EXPECT_EQ(Stored("Count"), 3);
    EXPECT_EQ(Entry(3), "C++ Sources,Cpp");
    EXPECT_EQ(Stored("Selected"), 2);
    EXPECT_EQ(ExtensionList::Load(ini).Entries().back(), (FileType{"C++ Sources", "Cpp"}));
}

TEST_F(ExtensionListTest, AnExistingExtensionInAnyCaseAddsNothingAndKeepsTheSelection)
{
    ini = Ini("[Extensions]\nCount=3\nSelected=0\next_1=Text Files,TXT\next_2=All Files,*\next_3=C,c\n");
    ExtensionList list = ExtensionList::Load(ini);
    EXPECT_EQ(list.Accept("C", "Another description", ini), 0);  // names entry 3, selection stays
    EXPECT_EQ(Stored("Count"), 3);
    EXPECT_EQ(Stored("Selected"), 0);
    EXPECT_EQ(Entry(3), "C,c");

    list.Select(1);
    EXPECT_EQ(list.Accept("*", "All Files", ini), 1);  // the selected entry's own text
    EXPECT_EQ(Stored("Selected"), 1);
    EXPECT_EQ(list.Accept("txt", "", ini), 1);
    EXPECT_EQ(Stored("Count"), 3);
}

TEST_F(ExtensionListTest, DeletingSelectsThePreviousEntryAndOkStoresTheShorterList)
{
    ini = Ini("[Extensions]\nCount=3\nSelected=2\next_1=A,a\next_2=B,b\next_3=C,c\n");
    ExtensionList list = ExtensionList::Load(ini);
    list.DeleteSelected();
    EXPECT_EQ(list.Entries(), (std::vector<FileType>{{"A", "a"}, {"B", "b"}}));
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(Stored("Count"), 3);  // nothing is written before OK

    list.Select(0);
    list.DeleteSelected();
    EXPECT_EQ(list.Selected(), 0);  // the entry before the first is the first
    EXPECT_EQ(list.Entries(), (std::vector<FileType>{{"B", "b"}}));
    list.Accept("b", "B", ini);
    EXPECT_EQ(Stored("Count"), 1);
    EXPECT_EQ(Entry(1), "B,b");
    EXPECT_EQ(Stored("Selected"), 0);
}

TEST_F(ExtensionListTest, DeletingWithoutSelectionOrFromAnEmptyListIsHarmless)
{
    ini = Ini("[Extensions]\nCount=1\nSelected=5\next_1=A,a\n");
    ExtensionList list = ExtensionList::Load(ini);
    list.DeleteSelected();
    EXPECT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Selected(), 0);
    list.DeleteSelected();
    list.DeleteSelected();
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(list.Selected(), -1);
    list.Accept("", "", ini);  // an empty field names the missing selection: nothing is added
    EXPECT_EQ(Stored("Count"), 0);
    // The next opening writes the default list again.
    EXPECT_EQ(ExtensionList::Load(ini).Entries().size(), 2u);
}

// What OK stores for texts at (or over) the fields' limits reads back as
// it was stored, and a second OK stores the same again.
TEST_F(ExtensionListTest, AnEntryAtTheTypedLimitsReadsBackWhole)
{
    auto repeat = [](std::string_view unit, std::size_t n) {
        std::string text;
        for (std::size_t i = 0; i < n; ++i) text += unit;
        return text;
    };
    const std::string smile = "\xF0\x9F\x98\x80";  // four bytes, one character
    struct Case {
        std::string description, extension;  // typed
        FileType stored;
    } cases[] = {
        {repeat("d", 255), repeat("e", 63), {repeat("d", 255), repeat("e", 63)}},
        {repeat("\xC3\xA9", 255), repeat("\xE4\xB8\xAD", 63), {repeat("\xC3\xA9", 255), repeat("\xE4\xB8\xAD", 63)}},
        {repeat(smile, 300), repeat(smile, 70), {repeat(smile, 255), repeat(smile, 63)}},
        {repeat("d", 254) + smile + "tail", repeat("e", 62) + smile + "x", {repeat("d", 254) + smile, repeat("e", 62) + smile}},
    };
    for (const Case& c : cases) {
        ini = Ini("[Extensions]\nCount=1\nSelected=0\next_1=A,a\n");
        ExtensionList list = ExtensionList::Load(ini);
        EXPECT_EQ(list.Accept(c.extension, c.description, ini), 1);
        const std::string written = tree.Read("TARNWICK.INI");
        ExtensionList again = ExtensionList::Load(ini);
        ASSERT_EQ(again.Entries().size(), 2u);
        EXPECT_EQ(again.Entries().back(), c.stored) << c.stored.description.size();
        again.Accept(c.stored.extension, "", ini);
        EXPECT_EQ(tree.Read("TARNWICK.INI"), written);
    }
}

TEST_F(ExtensionListTest, ADescriptionWithACommaIsSplitThereWhenReadBack)
{
    ini = Ini("[Extensions]\nCount=1\nSelected=0\next_1=A,a\n");
    ExtensionList list = ExtensionList::Load(ini);
    list.Accept("x", "One, two", ini);
    EXPECT_EQ(Entry(2), "One, two,x");
    EXPECT_EQ(ExtensionList::Load(ini).Entries().back(), (FileType{"One", " two,x"}));
}

} // namespace
