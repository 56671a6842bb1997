// The file-type filter of the file dialogs, from the settings file, and the
// filters Qt's file dialog reads from it.
#include "framework/file_filter.h"
#include "settings/profile.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <gtest/gtest.h>

namespace {

const FilterList kDefault{{"Text files (*.TXT)", "*.TXT"}, {"All Files (*.*)", "*.*"}};

TEST(BuildFilter, EmptyListGivesTheDefaultFilter)
{
    ScopedSettingsFile ini;
    EXPECT_EQ(BuildFilter(), kDefault);
    EXPECT_EQ(SplitFilterText("A|a|dangling|"), (FilterList{{"A", "a"}}));
    EXPECT_TRUE(SplitFilterText("").empty());
}

TEST(BuildFilter, EveryEntryWithACommaIsOnePairWhateverItsDescriptionHolds)
{
    const std::string long_description(255, 'd');
    const std::string long_extension(63, 'e');
    ScopedSettingsFile ini("[Extensions]\nCount=6\next_1=Text Files,TXT\next_2=broken\n"
                           "ext_3=C sources,c,h\next_4=Notes | drafts,md\next_5=" +
                           long_description + "," + long_extension + "\next_6=All Files,*\n");
    EXPECT_EQ(BuildFilterList(ini.path()), (FilterList{{"Text Files (*.TXT)", "*.TXT"},
                                                       {"C sources (*.c,h)", "*.c,h"},
                                                       {"Notes | drafts (*.md)", "*.md"},
                                                       {long_description + " (*." + long_extension + ")", "*." + long_extension},
                                                       {"All Files (*.*)", "*.*"}}));
}

TEST(BuildFilter, ACorruptCountEndsAtTheLastEntryStored)
{
    ScopedSettingsFile ini("[Extensions]\nCount=2147483647\next_2=All Files,*\next_1=Text Files,TXT\n");
    EXPECT_EQ(BuildFilterList(ini.path()), (FilterList{{"Text Files (*.TXT)", "*.TXT"}, {"All Files (*.*)", "*.*"}}));
}

TEST(BuildFilter, StoredPathBecomesTheCurrentDirectory)
{
    TempTree tree;
    const std::string dir = tree.MakeDir("start here");
    ScopedSettingsFile ini;
    profile::WriteString("Extensions", "Path", dir);
    const QString old = QDir::currentPath();
    BuildFilter();
    const QString now = QDir::currentPath();
    QDir::setCurrent(old);
    EXPECT_EQ(QDir(now).canonicalPath(), QDir(QString::fromStdString(dir)).canonicalPath());

    profile::WriteString("Extensions", "Path", tree.Path("missing"));
    BuildFilter();  // a failed change leaves the directory as it was
    EXPECT_EQ(QDir::currentPath(), old);
}

// Each pair becomes one Qt filter, and Qt's file dialog matches the names
// with the patterns meant, whatever the description holds.
TEST(QtFileFilters, EachPairIsOneFilterWhosePatternsQtReads)
{
    struct Case {
        NameFilter pair;
        QString filter;
        QStringList patterns;  // as the dialog's file list applies them
    } cases[] = {
        {{"Text files (*.TXT)", "*.TXT"}, "Text files (*.TXT *.txt)", {"*.TXT", "*.txt"}},
        {{"All Files (*.*)", "*.*"}, "All Files (*)", {"*"}},
        {{"Sources", "*.Cpp"}, "Sources (*.Cpp *.cpp *.CPP)", {"*.Cpp", "*.cpp", "*.CPP"}},
        {{"Notes | drafts (*.md)", "*.md"}, "Notes | drafts (*.md *.MD)", {"*.md", "*.MD"}},
        {{"Data (v2) (*.dat)", "*.dat"}, "Data (v2) (*.dat *.DAT)", {"*.dat", "*.DAT"}},
        {{"a;;b; c (*.x)", "*.x"}, "a;;b; c (*.x *.X)", {"*.x", "*.X"}},
        {{"Sources  and\theaders", "*.c;*.h"}, "Sources and headers (*.c *.C *.h *.H)", {"*.c", "*.C", "*.h", "*.H"}},
        // A character Qt cannot read between the parentheses stands as '?'.
        {{"Odd (*.\xC3\xA9t)", "*.\xC3\xA9t"}, "Odd (*.?t *.?T)", {"*.?t", "*.?T"}},
    };
    FilterList pairs;
    QStringList expected;
    for (const Case& c : cases) {
        pairs.push_back(c.pair);
        expected << c.filter;
    }
    pairs.push_back({"dangling", ""});  // no pattern: no filter
    const QStringList filters = QtFileFilters(pairs);
    EXPECT_EQ(filters, expected);

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(filters);
    EXPECT_EQ(dialog.nameFilters(), expected);
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    for (const Case& c : cases) {
        dialog.selectNameFilter(c.filter);
        EXPECT_EQ(dialog.selectedNameFilter(), c.filter);
        EXPECT_EQ(model->nameFilters(), c.patterns) << c.filter.toStdString();
    }
}

} // namespace
