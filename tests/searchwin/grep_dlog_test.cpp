#include "searchwin/grep_dlog.h"
#include "settings/profile.h"
#include "support/recording_frame.h"
#include "support/temp_tree.h"
#include "search_window_test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMainWindow>
#include <QPointer>
#include <QTableView>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class GrepWindowTest : public ::testing::Test {
protected:
    std::string Ini(const char* section, const char* key)
    {
        return profile::ReadString(section, key, "<missing>", 511, ini.path());
    }
    void Search(GrepDlog& w, const std::string& pattern, const std::string& path)
    {
        SetField(w.PatternBox(), pattern);
        SetField(w.PathBox(), path);
        w.GoButton()->click();
    }

    ScopedSettingsFile ini;
    TempTree tree;
};

TEST_F(GrepWindowTest, FreshSettingsGiveEmptyFieldsAndTextFilesOnlyDisabled)
{
    GrepDlog w;
    EXPECT_EQ(FieldText(w.PatternBox()), "");
    EXPECT_EQ(FieldText(w.PathBox()), "");
    EXPECT_EQ(FieldText(w.ReplacementBox()), "");
    EXPECT_TRUE(w.TextOnlyCheck()->isChecked());
    EXPECT_FALSE(w.TextOnlyCheck()->isEnabled());
    for (QCheckBox* box : {w.SubDirCheck(), w.CaseCheck(), w.WordsCheck(), w.ReplaceCheck(), w.ShowLinesCheck()})
        EXPECT_FALSE(box->isChecked()) << box->text().toStdString();
    EXPECT_EQ(w.windowTitle().toStdString(), "Grep Options");
    EXPECT_EQ(w.Results()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), "Path");
    EXPECT_EQ(w.Results()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), "Line");
    EXPECT_TRUE(w.GoButton()->isDefault());
}

TEST_F(GrepWindowTest, RunListsHitsAndSummary)
{
    tree.Write("a.txt", "one\ntwo needle\nthree\nNEEDLE four\n");
    tree.Write("b.txt", "nothing here\n");
    tree.Write("c.log", "needle but not listed\n");
    tree.Write("sub/d.txt", "needle below\n");
    GrepDlog w;
    Search(w, "needle", tree.Path("*.txt"));
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("a.txt") + "\t2"}));
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 2 files.  Found 1 matches.");
    EXPECT_EQ(w.Results()->rowCount(), 1);

    w.ShowLinesCheck()->setChecked(true);
    w.SubDirCheck()->setChecked(true);
    w.GoButton()->click();
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("a.txt") + "\t2", tree.Path("a.txt") + "\t4",
                                                        tree.Path("sub/d.txt") + "\t1"}));
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 3 files.  Found 3 matches.");
    EXPECT_EQ(w.Results()->data(w.Results()->index(2, 0), Qt::DisplayRole).toString().toStdString(),
              tree.Path("sub/d.txt"));
    EXPECT_EQ(w.Results()->data(w.Results()->index(2, 1), Qt::DisplayRole).toString().toStdString(), "1");
}

TEST_F(GrepWindowTest, HistoriesFollowTheAppendOnceRule)
{
    tree.Write("a.txt", "x\n");
    {
        GrepDlog w;
        Search(w, "Needle", tree.Path("*.txt"));
        Search(w, "Needle", tree.Path("*.txt"));
        EXPECT_EQ(Ini("search_patterns", "count"), "1");
        Search(w, "needle", tree.Path("*.txt"));
        EXPECT_EQ(Ini("search_patterns", "count"), "2");
        EXPECT_EQ(BoxItems(w.PatternBox()), (std::vector<std::string>{"Needle", "needle"}));
        EXPECT_EQ(FieldText(w.PatternBox()), "needle");
        EXPECT_EQ(Ini("search_paths", "count"), "1");
        EXPECT_EQ(Ini("replace_patterns", "selected"), "");
        EXPECT_EQ(Ini("replace_patterns", "count"), "<missing>");
    }
    GrepDlog again;
    EXPECT_EQ(FieldText(again.PatternBox()), "needle");
    EXPECT_EQ(FieldText(again.PathBox()), tree.Path("*.txt"));
    EXPECT_EQ(FieldText(again.ReplacementBox()), "");
}

TEST_F(GrepWindowTest, TypingTheTextInAnotherCaseKeepsTheTypedCase)
{
    tree.Write("a.txt", "x\n");
    GrepDlog w;
    w.show();
    Search(w, "Needle", tree.Path("*.txt"));
    w.PatternBox()->setEditText(QString());
    w.PatternBox()->setFocus();
    QTest::keyClicks(w.PatternBox(), "needle");
    QTest::keyClick(w.PatternBox(), Qt::Key_Return);  // Enter is Go
    EXPECT_EQ(FieldText(w.PatternBox()), "needle");
    EXPECT_EQ(Ini("search_patterns", "count"), "2");
    EXPECT_EQ(w.options.pattern, "needle");
}

// The fields never complete what is typed from their histories: a typed
// prefix of a listed text, or a directory that a listed path begins with,
// is searched as it stands.
TEST_F(GrepWindowTest, TypedTextsAreSearchedAsTypedNotCompleted)
{
    tree.Write("a.txt", "need\nneedle\n");
    tree.Write("b.log", "need\n");
    GrepDlog w;
    w.show();
    Search(w, "needle", tree.Path("*.txt"));
    for (QComboBox* box : {w.PatternBox(), w.PathBox()}) {
        box->setEditText(QString());
        box->setFocus();
        QTest::keyClicks(box, box == w.PatternBox() ? "need" : tree.root().c_str());
    }
    QTest::keyClick(w.PathBox(), Qt::Key_Return);
    EXPECT_EQ(FieldText(w.PatternBox()), "need");
    EXPECT_EQ(FieldText(w.PathBox()), tree.root());
    EXPECT_EQ(w.options.pattern, "need");
    // A directory alone searches every file in it.
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("a.txt") + "\t1", tree.Path("b.log") + "\t1"}));
    EXPECT_EQ(Ini("search_paths", "path_2"), tree.root());
    EXPECT_EQ(Ini("search_patterns", "selected"), "need");
}

// Long paths keep their file names in view; a TAB in a file name stays in
// the path column, the number after the last TAB in the other.
TEST_F(GrepWindowTest, ResultColumnsElideInTheMiddleAndKeepATabInAName)
{
    const std::string name = tree.Write("odd\tname.txt", "hit\n");
    GrepDlog w;
    EXPECT_EQ(w.ResultsView()->textElideMode(), Qt::ElideMiddle);
    Search(w, "hit", tree.Path("*.txt"));
    ASSERT_EQ(ListedLines(w), (std::vector<std::string>{name + "\t1"}));
    EXPECT_EQ(w.Results()->data(w.Results()->index(0, 0), Qt::DisplayRole).toString().toStdString(), name);
    EXPECT_EQ(w.Results()->data(w.Results()->index(0, 1), Qt::DisplayRole).toString().toStdString(), "1");
}

TEST_F(GrepWindowTest, RepeatedGoLeavesTheSettingsFileAlone)
{
    tree.Write("a.txt", "x\n");
    GrepDlog w;
    Search(w, "x", tree.Path("*.txt"));
    struct stat before {};
    ASSERT_EQ(::stat(ini.path().c_str(), &before), 0);
    const std::string contents = ini.Contents();
    w.GoButton()->click();
    struct stat after {};
    ASSERT_EQ(::stat(ini.path().c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);  // every write replaces the file
    EXPECT_EQ(ini.Contents(), contents);
    w.CaseCheck()->setChecked(true);
    w.GoButton()->click();
    EXPECT_EQ(Ini("GrepOpts", "case"), "1");
}

TEST_F(GrepWindowTest, EmptyReplacementOpensEmptyAlthoughHistoryHasItems)
{
    tree.Write("a.txt", "x\n");
    {
        GrepDlog w;
        SetField(w.ReplacementBox(), "first");
        Search(w, "x", tree.Path("*.txt"));
        SetField(w.ReplacementBox(), "second");
        Search(w, "x", tree.Path("*.txt"));
        SetField(w.ReplacementBox(), "");
        Search(w, "x", tree.Path("*.txt"));
    }
    EXPECT_EQ(Ini("replace_patterns", "count"), "2");
    EXPECT_EQ(Ini("replace_patterns", "selected"), "");
    GrepDlog again;
    EXPECT_EQ(again.ReplacementBox()->count(), 2);
    EXPECT_EQ(FieldText(again.ReplacementBox()), "");
}

TEST_F(GrepWindowTest, PathKeepsItsCase)
{
    tree.Write("Src/Main.CPP", "hit\n");
    const std::string path = tree.Path("Src/*.cpp");
    {
        GrepDlog w;
        Search(w, "hit", path);
        EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("Src/Main.CPP") + "\t1"}));
    }
    EXPECT_EQ(Ini("search_paths", "path_1"), path);
    GrepDlog again;
    EXPECT_EQ(FieldText(again.PathBox()), path);
}

TEST_F(GrepWindowTest, OptionsRoundTrip)
{
    tree.Write("a.txt", "x\n");
    {
        GrepDlog w;
        w.SubDirCheck()->setChecked(true);
        w.WordsCheck()->setChecked(true);
        w.ShowLinesCheck()->setChecked(true);
        Search(w, "x", tree.Path("*.txt"));
    }
    EXPECT_EQ(Ini("GrepOpts", "text_only"), "1");
    EXPECT_EQ(Ini("GrepOpts", "sub_dir"), "1");
    EXPECT_EQ(Ini("GrepOpts", "words"), "1");
    EXPECT_EQ(Ini("GrepOpts", "case"), "0");
    EXPECT_EQ(Ini("GrepOpts", "replace"), "0");
    EXPECT_EQ(Ini("GrepOpts", "show_lines"), "1");
    GrepDlog again;
    EXPECT_TRUE(again.SubDirCheck()->isChecked());
    EXPECT_TRUE(again.WordsCheck()->isChecked());
    EXPECT_TRUE(again.ShowLinesCheck()->isChecked());
    EXPECT_FALSE(again.CaseCheck()->isChecked());
    EXPECT_FALSE(again.ReplaceCheck()->isChecked());
}

TEST_F(GrepWindowTest, EmptyTextOrPathDoesNothing)
{
    tree.Write("a.txt", "x\n");
    GrepDlog w;
    Search(w, "", tree.Path("*.txt"));
    Search(w, "x", "");
    EXPECT_EQ(ini.Contents(), "");
    EXPECT_EQ(w.StatusText().toStdString(), "");
    EXPECT_EQ(w.Results()->LineCount(), 0u);
}

TEST_F(GrepWindowTest, BadPaths)
{
    tree.Write("only.txt", "x here\n");
    GrepDlog w;
    Search(w, "x", tree.Path("missing/*.txt"));
    EXPECT_EQ(w.StatusText().toStdString(), "Invalid path: " + tree.Path("missing") + ".");
    EXPECT_EQ(w.Results()->LineCount(), 0u);
    // A path that names a file searches just that file.
    Search(w, "x", tree.Path("only.txt"));
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("only.txt") + "\t1"}));
    // A file used as the directory part is no directory.
    Search(w, "x", tree.Path("only.txt/*.txt"));
    EXPECT_EQ(w.StatusText().toStdString(), "Invalid path: " + tree.Path("only.txt") + ".");
}

TEST_F(GrepWindowTest, FifosAndLinkLoopsNeitherHangNorRepeat)
{
    tree.Write("d/a.txt", "x\n");
    ASSERT_EQ(::mkfifo(tree.Path("d/pipe.txt").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(tree.Path("d").c_str(), tree.Path("d/loop").c_str()), 0);
    GrepDlog w;
    w.SubDirCheck()->setChecked(true);
    Search(w, "x", tree.Path("d/*.txt"));
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("d/a.txt") + "\t1"}));
}

TEST_F(GrepWindowTest, StopDuringRunKeepsWhatWasFound)
{
    for (int i = 0; i < 40; ++i) tree.Write("f" + std::to_string(100 + i) + ".txt", "x\n");
    GrepDlog w;
    bool go_enabled_during_run = true;
    DuringRun(
        [&] {
            go_enabled_during_run = w.GoButton()->isEnabled();
            w.Go();  // ignored: a nested run would corrupt the counts
            w.StopButton()->click();
        },
        [&] { Search(w, "x", tree.Path("*.txt")); });
    EXPECT_FALSE(go_enabled_during_run);
    EXPECT_TRUE(w.GoButton()->isEnabled());
    EXPECT_FALSE(w.IsRunning());
    EXPECT_TRUE(w.stop);
    EXPECT_EQ(w.files, 1);
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{tree.Path("f100.txt") + "\t1"}));
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 1 files.  Found 1 matches.");
    // The next Go clears the flag and runs to the end.
    w.GoButton()->click();
    EXPECT_EQ(w.files, 40);
}

TEST_F(GrepWindowTest, EscapeStopsARun)
{
    for (int i = 0; i < 10; ++i) tree.Write("f" + std::to_string(i) + ".txt", "x\n");
    GrepDlog w;
    DuringRun([&] { QTest::keyClick(&w, Qt::Key_Escape); }, [&] { Search(w, "x", tree.Path("*.txt")); });
    EXPECT_EQ(w.files, 1);
}

struct Frame {
    Frame()
    {
        main.setCentralWidget(area);
        main.resize(900, 700);
        main.show();
    }
    QMainWindow main;
    QMdiArea* area = new QMdiArea;
};

TEST_F(GrepWindowTest, CloseBoxDuringRunStopsThenCloses)
{
    for (int i = 0; i < 20; ++i) tree.Write("f" + std::to_string(i) + ".txt", "x\n");
    Frame frame;
    auto* w = new GrepDlog;
    QPointer<QMdiSubWindow> child = frame.area->addSubWindow(w);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->show();
    bool closed_at_once = true;
    DuringRun([&] { closed_at_once = child->close(); }, [&] { Search(*w, "x", tree.Path("*.txt")); });
    EXPECT_FALSE(closed_at_once);
    EXPECT_EQ(w->files, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
}

TEST_F(GrepWindowTest, DoneDuringRunStopsThenRecordsSizeAndCloses)
{
    for (int i = 0; i < 20; ++i) tree.Write("f" + std::to_string(i) + ".txt", "x\n");
    Frame frame;
    auto* w = new GrepDlog;
    QPointer<QMdiSubWindow> child = frame.area->addSubWindow(w);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->resize(540, 408);
    child->show();
    DuringRun([&] { w->DoneButton()->click(); }, [&] { Search(*w, "x", tree.Path("*.txt")); });
    EXPECT_EQ(Ini("GrepWin", "Width"), "540");
    EXPECT_EQ(Ini("GrepWin", "Height"), "408");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
}

TEST_F(GrepWindowTest, ClosingTheFrameDuringRunWaitsForTheRun)
{
    for (int i = 0; i < 20; ++i) tree.Write("f" + std::to_string(i) + ".txt", "x\n");
    Frame frame;
    auto* w = new GrepDlog;
    QMdiSubWindow* child = frame.area->addSubWindow(w);
    child->show();
    bool closed_at_once = true;
    DuringRun([&] { closed_at_once = frame.main.close(); }, [&] { Search(*w, "x", tree.Path("*.txt")); });
    EXPECT_FALSE(closed_at_once);
    EXPECT_EQ(w->files, 1);
    EXPECT_TRUE(frame.main.isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame.main.isVisible());
}

TEST_F(GrepWindowTest, DoneRecordsTheWindowSize)
{
    Frame frame;
    auto* w = new GrepDlog;
    QPointer<QMdiSubWindow> child = frame.area->addSubWindow(w);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->resize(600, 450);
    child->show();
    w->Results()->Append("/x\t1");
    w->DoneButton()->click();
    EXPECT_EQ(Ini("GrepWin", "Width"), "600");
    EXPECT_EQ(Ini("GrepWin", "Height"), "450");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
}

TEST_F(GrepWindowTest, ClickTogglesSelectionAndEditTakesSelectedInOrder)
{
    GrepDlog w;
    w.resize(540, 408);
    w.show();
    w.Results()->Append("/a\t1");
    w.Results()->Append("/b\t2");
    w.Results()->Append("/c\t3");
    w.Results()->Flush();
    QTableView* view = w.ResultsView();
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::MultiSelection);
    const auto click = [&](int row) {
        const QRect r = view->visualRect(w.Results()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    };
    click(2);
    click(0);
    click(1);
    click(1);
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), 2);
}

TEST_F(GrepWindowTest, OnlyAResultLineWithATabOpensItsFile)
{
    RecordingFrame frame;
    GrepDlog w;
    w.Results()->Append("no tab here");
    w.Results()->Append(tree.Path("a.txt") + "\t3");
    w.Results()->Flush();
    w.ResultsView()->setCurrentIndex(w.Results()->index(0, 0));
    w.OpenHit();
    EXPECT_TRUE(frame.opened.empty());
    w.ResultsView()->setCurrentIndex(w.Results()->index(1, 0));
    w.OpenHit();
    EXPECT_EQ(frame.opened, (std::vector<RecordingFrame::Opened>{{tree.Path("a.txt"), true, false}}));
}

class ChosenFileGrepDlog : public GrepDlog {
public:
    std::optional<std::string> chosen;
    FilterList filter_seen;

protected:
    std::optional<std::string> ChooseFile(const FilterList& filter) override
    {
        filter_seen = filter;
        return chosen;
    }
};

TEST_F(GrepWindowTest, SearchPathTakesDirectoryAndExtensionPart)
{
    ChosenFileGrepDlog w;
    w.chosen = "/data/pkg/release.tar.gz";
    w.SearchPathButton()->click();
    EXPECT_EQ(FieldText(w.PathBox()), "/data/pkg/*.tar.gz");
    EXPECT_EQ(w.filter_seen, (FilterList{{"Text files (*.TXT)", "*.TXT"}, {"All Files (*.*)", "*.*"}}));
    w.chosen = "/data/Makefile";
    w.SearchPathButton()->click();
    EXPECT_EQ(FieldText(w.PathBox()), "/data/*.*");
    w.chosen.reset();  // cancelled: the field stays
    w.SearchPathButton()->click();
    EXPECT_EQ(FieldText(w.PathBox()), "/data/*.*");
}

TEST_F(GrepWindowTest, SearchPathSelectsAMatchingHistoryItem)
{
    ScopedSettingsFile with_history(
        "[search_paths]\ncount=3\npath_1=/src/*.cpp.orig\npath_2=/src/*.cpp\npath_3=/other/*.h\n");
    ChosenFileGrepDlog w;
    w.chosen = "/src/main.cpp";
    w.SearchPathButton()->click();
    EXPECT_EQ(w.PathBox()->currentIndex(), 1);
    EXPECT_EQ(FieldText(w.PathBox()), "/src/*.cpp");
}

TEST(ResultListModel, HoldsManyLinesAndAnnouncesThemInBatches)
{
    ResultListModel model(QStringLiteral("Line"));
    int inserts = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    for (int i = 0; i < 300000; ++i) model.Append("/some/rather/long/path/file" + std::to_string(i) + ".txt\t" + std::to_string(i));
    EXPECT_EQ(model.rowCount(), 0);
    model.Flush();
    model.Flush();
    EXPECT_EQ(inserts, 1);
    EXPECT_EQ(model.rowCount(), 300000);
    EXPECT_EQ(model.Line(299999), "/some/rather/long/path/file299999.txt\t299999");
    EXPECT_EQ(model.data(model.index(7, 1), Qt::DisplayRole).toString().toStdString(), "7");
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.LineCount(), 0u);
}

} // namespace

namespace {

// The real chooser: a name typed without a dot is taken as typed (no
// ".txt" added), though the "Text files" filter does not list it.
TEST(SearchPathChooser, ATypedNameWithoutADotIsTakenAsTyped)
{
    TempTree tree;
    tree.Write("Makefile", "all:\n");
    ScopedSettingsFile ini("[Extensions]\nPath=" + tree.root() + "\n");  // where the chooser starts
    const QString cwd = QDir::currentPath();
    GrepDlog w;
    bool typed = false;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) return dialog->reject();
        typed = true;
        QTest::keyClicks(name, QStringLiteral("Makefile"));
        QTest::keyClick(name, Qt::Key_Return);
        if (dialog->isVisible()) dialog->reject();
    });
    w.SearchPathButton()->click();
    QDir::setCurrent(cwd);
    EXPECT_TRUE(typed);
    EXPECT_EQ(FieldText(w.PathBox()), tree.root() + "/*.*");
}

} // namespace
