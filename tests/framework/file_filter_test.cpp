// The file-type filter of the file dialogs, from the settings file.
#include "framework/file_filter.h"
#include "settings/profile.h"
#include "support/temp_tree.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(BuildFilter, EmptyListGivesTheDefaultFilter)
{
    ScopedSettingsFile ini;
    EXPECT_EQ(BuildFilter(), "Text files (*.TXT)|*.TXT|All Files (*.*)|*.*|");
}

TEST(BuildFilter, EntriesWithACommaBecomePairsAndOthersAreSkipped)
{
    ScopedSettingsFile ini("[Extensions]\nCount=4\next_1=Text Files,TXT\next_2=broken\n"
                           "ext_3=C sources,c,h\next_4=All Files,*\n");
    EXPECT_EQ(BuildFilterText(ini.path()),
              "Text Files (*.TXT)|*.TXT|C sources (*.c,h)|*.c,h|All Files (*.*)|*.*|");
}

TEST(BuildFilter, ACorruptCountEndsAtTheLastEntryStored)
{
    ScopedSettingsFile ini("[Extensions]\nCount=2147483647\next_2=All Files,*\next_1=Text Files,TXT\n");
    EXPECT_EQ(BuildFilterText(ini.path()), "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*|");
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

TEST(QtFileFilters, PairsBecomeQtFiltersMatchingEitherCase)
{
    EXPECT_EQ(QtFileFilters("Text files (*.TXT)|*.TXT|All Files (*.*)|*.*|"),
              QStringList({"Text files (*.TXT *.txt)", "All Files (*)"}));
    EXPECT_EQ(QtFileFilters("Sources|*.Cpp|"), QStringList({"Sources (*.Cpp *.cpp *.CPP)"}));
    EXPECT_TRUE(QtFileFilters("").isEmpty());
    EXPECT_TRUE(QtFileFilters("dangling|").isEmpty());
}

} // namespace
