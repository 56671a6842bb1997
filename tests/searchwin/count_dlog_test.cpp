#include "searchwin/count_dlog.h"
#include "searchwin/grep_dlog.h"
#include "settings/profile.h"
#include "support/temp_tree.h"
#include "search_window_test_support.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

class CountWindowTest : public ::testing::Test {
protected:
    void Count(CountDlog& w, const std::string& path)
    {
        SetField(w.PathBox(), path);
        w.GoButton()->click();
    }
    ScopedSettingsFile ini;
    TempTree tree;
};

TEST_F(CountWindowTest, TheSearchPathButtonSitsAsInTheGrepWindow)
{
    CountDlog count;
    GrepDlog grep;
    for (QWidget* w : {static_cast<QWidget*>(&count), static_cast<QWidget*>(&grep)}) {
        w->resize(540, 408);
        w->show();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(count.SearchPathButton()->size(), grep.SearchPathButton()->size());
    EXPECT_EQ(count.SearchPathButton()->x(), grep.SearchPathButton()->x());
    EXPECT_EQ(count.PathBox()->geometry().left(), grep.PathBox()->geometry().left());
    EXPECT_EQ(count.PathBox()->width(), grep.PathBox()->width());
}

TEST_F(CountWindowTest, CountsEveryFileAndTotals)
{
    tree.Write("a/three.txt", "1\n2\n3\n");
    tree.Write("a/five.txt", "1\n2\n3\n4\nno line feed");
    tree.Write("a/empty.txt", "");
    CountDlog w;
    EXPECT_EQ(w.windowTitle().toStdString(), "Line Count Options");
    EXPECT_EQ(w.Results()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), "Lines");
    EXPECT_FALSE(w.ResetCheck()->isChecked());
    Count(w, tree.Path("a/*.txt"));
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("a/empty.txt") + "\t0",
                                                        tree.Path("a/five.txt") + "\t5",
                                                        tree.Path("a/three.txt") + "\t3"}));
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 3 files.  Total line count is 8 lines.");
}

TEST_F(CountWindowTest, RunsAddUpUntilResetIsTicked)
{
    tree.Write("a/x.txt", "1\n2\n3\n");
    tree.Write("b/y.txt", "1\n2\n3\n4\n5\n");
    CountDlog w;
    Count(w, tree.Path("a/*.txt"));
    Count(w, tree.Path("b/*.txt"));
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("a/x.txt") + "\t3", tree.Path("b/y.txt") + "\t5"}));
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 2 files.  Total line count is 8 lines.");
    w.ResetCheck()->setChecked(true);
    Count(w, tree.Path("b/*.txt"));
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("b/y.txt") + "\t5"}));
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 1 files.  Total line count is 5 lines.");
}

TEST_F(CountWindowTest, SharesThePathHistoryAndKeepsItsOwnOption)
{
    profile::WriteString("search_paths", "count", "1", ini.path());
    profile::WriteString("search_paths", "path_1", "/from/grep/*.c", ini.path());
    profile::WriteString("search_paths", "selected", "/from/grep/*.c", ini.path());
    tree.Write("x.txt", "1\n");
    {
        CountDlog w;
        EXPECT_EQ(FieldText(w.PathBox()), "/from/grep/*.c");
        w.SubDirCheck()->setChecked(true);
        w.ResetCheck()->setChecked(true);
        Count(w, tree.Path("*.txt"));
    }
    EXPECT_EQ(profile::ReadString("search_paths", "path_2", "", 511, ini.path()), tree.Path("*.txt"));
    EXPECT_EQ(profile::ReadString("CountOpts", "sub_dir", "", 511, ini.path()), "1");
    CountDlog again;
    EXPECT_TRUE(again.SubDirCheck()->isChecked());
    EXPECT_FALSE(again.ResetCheck()->isChecked());  // never stored
    EXPECT_EQ(FieldText(again.PathBox()), tree.Path("*.txt"));
}

TEST_F(CountWindowTest, ExclusionsAreStoredTheExcludeHistorySharedTheGitignoreBoxPerWindow)
{
    tree.Write("keep.txt", "1\n");
    tree.Write("x.log", "1\n");
    tree.Write("skip/a.txt", "1\n");
    {
        CountDlog w;
        EXPECT_EQ(FieldText(w.ExcludeBox()), "");  // off in a fresh settings file
        EXPECT_FALSE(w.GitignoreCheck()->isChecked());
        w.SubDirCheck()->setChecked(true);
        w.ResetCheck()->setChecked(true);
        SetField(w.ExcludeBox(), "*.log;skip/");
        w.GitignoreCheck()->setChecked(true);
        Count(w, tree.Path("*.*"));
        EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("keep.txt") + "\t1"}));
        EXPECT_EQ(w.StatusText().toStdString(),
                  "Processed 1 files.  Total line count is 1 lines.  Excluded: 1 files, 1 folders.");
    }
    EXPECT_EQ(profile::ReadString("exclude_patterns", "pattern_1", "", 511, ini.path()), "*.log;skip/");
    EXPECT_EQ(profile::ReadString("CountOpts", "gitignore", "", 511, ini.path()), "1");
    CountDlog count;
    EXPECT_EQ(FieldText(count.ExcludeBox()), "*.log;skip/");
    EXPECT_TRUE(count.GitignoreCheck()->isChecked());
    GrepDlog grep;
    EXPECT_EQ(BoxItems(grep.ExcludeBox()), (std::vector<std::string>{"*.log;skip/"}));
    EXPECT_FALSE(grep.GitignoreCheck()->isChecked());
    grep.SubDirCheck()->setChecked(true);
    grep.GitignoreCheck()->setChecked(true);
    SetField(grep.PatternBox(), "1");
    SetField(grep.PathBox(), tree.Path("*.*"));
    SetField(grep.ExcludeBox(), "skip/");
    grep.GoButton()->click();
    EXPECT_EQ(grep.StatusText().toStdString(), "Processed 2 files.  Found 2 matches.  Excluded: 0 files, 1 folders.");
    EXPECT_EQ(profile::ReadString("GrepOpts", "gitignore", "", 511, ini.path()), "1");
    EXPECT_EQ(profile::ReadString("exclude_patterns", "pattern_2", "", 511, ini.path()), "skip/");
}

TEST_F(CountWindowTest, EmptyPathDoesNothingAndMissingDirectorySaysSo)
{
    CountDlog w;
    Count(w, "");
    EXPECT_EQ(ini.Contents(), "");
    Count(w, tree.Path("gone/*.txt"));
    EXPECT_EQ(w.StatusText().toStdString(), "Invalid path: " + tree.Path("gone") + ".");
}

TEST_F(CountWindowTest, StopAndCloseDuringRun)
{
    for (int i = 0; i < 20; ++i) tree.Write("f" + std::to_string(10 + i) + ".txt", "1\n");
    QMdiArea area;
    area.show();
    auto* w = new CountDlog;
    QPointer<QMdiSubWindow> child = area.addSubWindow(w);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->show();
    DuringRun([&] { child->close(); }, [&] { Count(*w, tree.Path("*.txt")); });
    EXPECT_EQ(w->files, 1);
    EXPECT_EQ(w->lines, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
}

} // namespace
