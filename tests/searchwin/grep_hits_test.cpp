// The Grep window inside the running frame: hits opened in text windows,
// Edit, the replacement hand-off, and closing the frame during a run.
#include "app/main_win.h"
#include "app/tw_app.h"
#include "app/install_windows.h"
#include "framework/window_factories.h"
#include "docs/lines_doc.h"
#include "docs/search_options.h"
#include "docs/text_doc.h"
#include "framework/message_box.h"
#include "searchwin/count_dlog.h"
#include "searchwin/grep_dlog.h"
#include "support/temp_tree.h"
#include "support/unprivileged_checks.h"
#include "views/text_view.h"
#include "search_window_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class GrepInFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fw::SetMessageHook([this](const fw::MessageRequest& r) {
            messages.push_back(r.text.toStdString());
            return fw::kIdNo;
        });
        InstallWindowFactories();
        SetViewFactory([](ViewKind kind, const std::string& path) -> QWidget* {
            return kind == ViewKind::Text ? new TextView(path) : nullptr;
        });
        app = std::make_unique<TWApp>("Tarnwick", 0, argv);
        app->InitMainWindow();
        app->InitInstance();
    }
    void TearDown() override
    {
        app.reset();
        fw::SetMessageHook({});
    }

    QMdiArea* Client() { return app->Frame()->Client(); }
    int Children() { return static_cast<int>(Client()->subWindowList().size()); }
    void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    TextView* ActiveText() { return qobject_cast<TextView*>(Client()->activeSubWindow()->widget()); }

    GrepDlog& OpenGrep()
    {
        app->CmGrep();
        auto* w = qobject_cast<GrepDlog*>(Client()->activeSubWindow()->widget());
        EXPECT_NE(w, nullptr);
        return *w;
    }
    // A Grep window with Replace With ticked and `replacement` in its field.
    GrepDlog& OpenReplacingGrep(const std::string& replacement)
    {
        GrepDlog& w = OpenGrep();
        w.ReplaceCheck()->setChecked(true);
        SetField(w.ReplacementBox(), replacement);
        return w;
    }
    void Search(GrepDlog& w, const std::string& pattern, const std::string& path)
    {
        SetField(w.PatternBox(), pattern);
        SetField(w.PathBox(), path);
        w.GoButton()->click();
    }
    // As a user opens a hit: the row becomes current, then is double-clicked.
    void DoubleClickRow(GrepDlog& w, int row)
    {
        w.ResultsView()->setCurrentIndex(w.Results()->index(row, 0));
        emit w.ResultsView()->doubleClicked(w.Results()->index(row, 0));
    }
    void SelectRow(GrepDlog& w, int row)
    {
        w.ResultsView()->selectionModel()->select(w.Results()->index(row, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    char* argv[2] = {const_cast<char*>("tarnwick"), nullptr};
    ScopedSettingsFile ini;
    TempTree tree;
    std::vector<std::string> messages;
    std::unique_ptr<TWApp> app;
};

TEST_F(GrepInFrameTest, CommandsMakeTheSearchWindows)
{
    app->Frame()->resize(800, 600);  // room for the whole 540 by 408 window
    Settle();
    app->CmGrep();
    QMdiSubWindow* grep = Client()->activeSubWindow();
    EXPECT_NE(qobject_cast<GrepDlog*>(grep->widget()), nullptr);
    EXPECT_EQ(grep->windowTitle().toStdString(), "Grep Options");
    // 540 by 408, larger only where their controls need more.
    EXPECT_EQ(grep->size(), QSize(540, 408).expandedTo(grep->minimumSizeHint()));
    app->CmLineCount();
    QMdiSubWindow* count = Client()->activeSubWindow();
    EXPECT_NE(qobject_cast<CountDlog*>(count->widget()), nullptr);
    EXPECT_EQ(count->size(), QSize(540, 408).expandedTo(count->minimumSizeHint()));
    EXPECT_EQ(count->windowTitle().toStdString(), "Line Count Options");
}

TEST_F(GrepInFrameTest, DoubleClickActivatesTheOpenWindowAtTheHit)
{
    const std::string file = tree.Write("notes.txt", "first\nsecond line\nthe NEEDLE and a needle\n");
    app->OpenText(file, false);
    Settle();
    TextView* open = ActiveText();
    ASSERT_NE(open, nullptr);
    GrepDlog& w = OpenGrep();
    Search(w, "needle", tree.Path("*.txt"));
    ASSERT_EQ(ListedLines(w), (std::vector<std::string>{file + "\t3"}));
    DoubleClickRow(w, 0);
    EXPECT_EQ(Children(), 2);  // no second window of the file
    EXPECT_EQ(ActiveText(), open);
    TextPosition start, end;
    ASSERT_TRUE(open->GetOrderedSelection(start, end));
    EXPECT_EQ(start, (TextPosition{2, 4}));
    EXPECT_EQ(end, (TextPosition{2, 10}));
    EXPECT_EQ(open->Doc()->Options().search_patt, "needle");
}

// The frame names a file it opens in one form and the Grep window looks for
// the window of a hit in the same form, whatever path either was given.
TEST_F(GrepInFrameTest, AWindowOpenedByARelativeNameIsTheOneAHitActivates)
{
    const std::string file = tree.Write("sub/notes.txt", "one\ntwo needle\n");
    // An earlier test may leave the process in a directory that is gone.
    std::error_code no_saved;
    const std::filesystem::path saved = std::filesystem::current_path(no_saved);
    std::filesystem::current_path(tree.Path("sub"));
    app->OpenText("..//sub/./notes.txt", false);
    Settle();
    TextView* open = ActiveText();
    ASSERT_NE(open, nullptr);
    GrepDlog& w = OpenGrep();
    Search(w, "needle", "../sub/*.txt");
    std::filesystem::current_path(no_saved ? std::filesystem::path("/") : saved);
    ASSERT_EQ(ListedLines(w).size(), 1u);
    DoubleClickRow(w, 0);
    EXPECT_EQ(Children(), 2);  // no second window of the file
    EXPECT_EQ(ActiveText(), open);
    TextPosition start, end;
    ASSERT_TRUE(open->GetOrderedSelection(start, end));
    EXPECT_EQ(start, (TextPosition{1, 4}));
}

TEST_F(GrepInFrameTest, AFileNameWithATabOpensAtItsHit)
{
    const std::string file = tree.Write("a\tb.txt", "one\ntwo needle\n");
    GrepDlog& w = OpenGrep();
    Search(w, "needle", tree.Path("*.txt"));
    ASSERT_EQ(ListedLines(w), (std::vector<std::string>{file + "\t2"}));
    DoubleClickRow(w, 0);
    Settle();
    TextView* view = ActiveText();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->DocumentPath(), file);
    TextPosition start, end;
    ASSERT_TRUE(view->GetOrderedSelection(start, end));
    EXPECT_EQ(start, (TextPosition{1, 4}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(GrepInFrameTest, DoubleClickOnAVanishedFileOnlyReports)
{
    const std::string file = tree.Write("gone.txt", "needle\n");
    GrepDlog& w = OpenGrep();
    Search(w, "needle", tree.Path("*.txt"));
    std::filesystem::remove(file);
    w.ResultsView()->setCurrentIndex(w.Results()->index(0, 0));
    w.OpenHit();
    Settle();
    EXPECT_FALSE(messages.empty());
}

TEST_F(GrepInFrameTest, DoubleClickOnAShrunkFileOpensItWithoutSelection)
{
    const std::string file = tree.Write("short.txt", "a\nb\nneedle\n");
    GrepDlog& w = OpenGrep();
    Search(w, "needle", tree.Path("*.txt"));
    tree.Write("short.txt", "a\n");
    w.ResultsView()->setCurrentIndex(w.Results()->index(0, 0));
    w.OpenHit();
    TextView* view = ActiveText();
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->HasSelection());
}

TEST_F(GrepInFrameTest, EditOpensAWindowForEverySelectedHit)
{
    const std::string file = tree.Write("three.txt", "needle 1\nneedle 2\nneedle 3\n");
    GrepDlog& w = OpenGrep();
    w.ShowLinesCheck()->setChecked(true);
    SetField(w.ReplacementBox(), "pin");
    Search(w, "needle", tree.Path("*.txt"));
    ASSERT_EQ(w.Results()->rowCount(), 3);
    for (int row = 0; row < 3; ++row) SelectRow(w, row);
    w.EditButton()->click();
    EXPECT_EQ(Children(), 4);
    int views = 0;
    for (QMdiSubWindow* child : Client()->subWindowList()) {
        auto* view = qobject_cast<TextView*>(child->widget());
        if (!view) continue;
        ++views;
        EXPECT_EQ(view->DocumentPath(), file);
        EXPECT_EQ(view->Doc()->Options().search_patt, "needle");
        EXPECT_EQ(view->Doc()->Options().replace_patt, "pin");
    }
    EXPECT_EQ(views, 3);
}

TEST_F(GrepInFrameTest, ReplaceChangesTheFirstOccurrenceOfEveryFileWithAHit)
{
    tree.Write("r/a.txt", "foo foo\nfoo\n");
    tree.Write("r/b.txt", "nothing\n");
    tree.Write("r/c.txt", "x foo\n");
    GrepDlog& w = OpenReplacingGrep("bar");
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();
    EXPECT_EQ(tree.Read("r/a.txt"), "bar foo\nfoo\n");
    EXPECT_EQ(tree.Read("r/b.txt"), "nothing\n");
    EXPECT_EQ(tree.Read("r/c.txt"), "x bar\n");
    EXPECT_EQ(Children(), 1);  // the replacement windows closed again
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 3 files.  Found 2 matches.  Files replaced: 2.");
    EXPECT_TRUE(messages.empty());  // nothing left alone: no summary
}

TEST_F(GrepInFrameTest, ReplaceAllWithShowAllLines)
{
    tree.Write("r/a.txt", "foo foo\nfoo\n");
    GrepDlog& w = OpenReplacingGrep("bar");
    w.ShowLinesCheck()->setChecked(true);
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();
    EXPECT_EQ(tree.Read("r/a.txt"), "bar bar\nbar\n");
    EXPECT_EQ(Children(), 1);
}

TEST_F(GrepInFrameTest, EmptyReplacementChangesNothingAndSaysSo)
{
    tree.Write("r/a.txt", "foo\nfoo\n");
    tree.Write("r/b.txt", "foo\n");
    GrepDlog& w = OpenReplacingGrep("");
    w.ShowLinesCheck()->setChecked(true);
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();
    EXPECT_EQ(tree.Read("r/a.txt"), "foo\nfoo\n");
    EXPECT_EQ(tree.Read("r/b.txt"), "foo\n");
    EXPECT_EQ(Children(), 1);
    // An empty replacement replaces nothing: no file is reported as
    // having lost its text.
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(w.StatusText().toStdString(),
              "Processed 2 files.  Found 3 matches.  Empty replacement: 2 files with hits left unchanged.");
}

TEST_F(GrepInFrameTest, ReplacementChangesExactlyWhatTheSearchListsAndClosesStaleWindows)
{
    const std::string file = tree.Write("r/a.c", "int\tx = 1;\nint x = 2;\n");
    // A window of the file without changes would show the old text.
    app->OpenText(file, false);
    Settle();
    GrepDlog& w = OpenReplacingGrep("long y");
    w.ShowLinesCheck()->setChecked(true);
    Search(w, "int x", tree.Path("r/*.c"));
    Settle();
    EXPECT_EQ(ListedLines(w), (std::vector<std::string>{file + "\t2"}));
    EXPECT_EQ(tree.Read("r/a.c"), "int\tx = 1;\nlong y = 2;\n");
    EXPECT_EQ(Children(), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(GrepInFrameTest, KeysTypedDuringAReplacementRunReachNoFile)
{
    for (int i = 0; i < 40; ++i) tree.Write("r/f" + std::to_string(100 + i) + ".txt", "int x;\n");
    GrepDlog& w = OpenReplacingGrep("long y");
    QWidget* grep_child = Client()->activeSubWindow();
    // Whatever has the focus, or is the active window, gets keys all
    // through the run.
    int typed = 0;
    bool grep_stayed_in_front = true;
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&] {
        if (!w.IsRunning()) return;
        grep_stayed_in_front = grep_stayed_in_front && Client()->activeSubWindow() == grep_child;
        QWidget* active = Client()->activeSubWindow() ? Client()->activeSubWindow()->widget() : nullptr;
        for (QWidget* target : {QApplication::focusWidget(), active})
            if (target && target != w.GoButton()) QTest::keyClicks(target, "Q");
        ++typed;
    });
    typist.start(0);
    Search(w, "int x", tree.Path("r/*.txt"));
    typist.stop();
    Settle();
    EXPECT_GT(typed, 0);
    EXPECT_TRUE(grep_stayed_in_front);
    for (int i = 0; i < 40; ++i) {
        const std::string name = "r/f" + std::to_string(100 + i) + ".txt";
        EXPECT_EQ(tree.Read(name), "long y;\n") << name;
    }
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 40 files.  Found 40 matches.  Files replaced: 40.");
}

TEST_F(GrepInFrameTest, StopAndEscapeEndAReplacementRunAfterTheFileInHand)
{
    for (const bool escape : {false, true}) {
        TempTree files;
        for (int i = 0; i < 20; ++i) files.Write("f" + std::to_string(10 + i) + ".txt", "int x;\n");
        GrepDlog& w = OpenReplacingGrep("long y");
        DuringRun(
            [&] {
                if (!escape) return w.StopButton()->click();
                // Escape goes wherever the keys go.
                QWidget* target = QApplication::focusWidget();
                if (!target) target = Client()->activeSubWindow()->widget();
                QTest::keyClick(target, Qt::Key_Escape);
            },
            [&] { Search(w, "int x", files.Path("*.txt")); });
        Settle();
        EXPECT_EQ(w.files, 1) << "escape " << escape;
        EXPECT_EQ(files.Read("f10.txt"), "long y;\n");
        EXPECT_EQ(files.Read("f11.txt"), "int x;\n");
        EXPECT_EQ(w.StatusText().toStdString(), "Processed 1 files.  Found 1 matches.  Files replaced: 1.");
        w.DoneButton()->click();
        Settle();
    }
}

TEST_F(GrepInFrameTest, AFileReachedThroughALinkOutOfTheTreeIsListedButNotReplaced)
{
    const std::string outside = tree.Write("etc/x", "foo\n");
    tree.Write("r/b/x", "foo\n");
    tree.MakeDir("r/a");
    ASSERT_EQ(::symlink("../../etc/x", tree.Path("r/a/out.txt").c_str()), 0);
    ASSERT_EQ(::symlink("../b/x", tree.Path("r/a/in.txt").c_str()), 0);
    GrepDlog& w = OpenReplacingGrep("bar");
    w.SubDirCheck()->setChecked(true);
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();
    EXPECT_EQ(ListedLines(w).size(), 2u);
    EXPECT_EQ(tree.Read("etc/x"), "foo\n");
    EXPECT_EQ(tree.Read("r/b/x"), "bar\n");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Replaced in 1 files; 1 files with hits were left as they are.\r\r"
                           "Reached through links that lead out of the searched tree:\r    " +
                               tree.Path("r/a/out.txt"));
}

TEST_F(GrepInFrameTest, ReplacementLeavesUnsavedWindowsBinaryAndHiddenFilesAloneAndReplacesEachFileOnce)
{
    const std::string a = tree.Write("r/a.txt", "foo foo\r\n");
    ASSERT_EQ(::symlink("a.txt", tree.Path("r/soft.txt").c_str()), 0);
    ASSERT_EQ(::link(a.c_str(), tree.Path("r/hard.txt").c_str()), 0);
    const std::string binary = std::string("foo\0bar\r\n", 9);
    tree.Write("r/bin.txt", binary);
    tree.Write("r/.git/c.txt", "foo\r\n");
    const std::string open = tree.Write("r/open.txt", "foo\r\n");
    // The user's window on open.txt holds an edit not yet saved.
    app->OpenText(open, false);
    Settle();
    TextView* mine = ActiveText();
    ASSERT_NE(mine, nullptr);
    mine->MoveCaretTo({0, 0});
    QTest::keyClicks(mine, "X");
    ASSERT_TRUE(mine->Doc()->Modified());

    GrepDlog& w = OpenReplacingGrep("bar");
    w.SubDirCheck()->setChecked(true);
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();

    // Every name is listed; the file behind three of them is replaced once.
    EXPECT_EQ(ListedLines(w).size(), 6u);
    EXPECT_EQ(tree.Read("r/a.txt"), "bar foo\r\n");
    EXPECT_EQ(tree.Read("r/bin.txt"), binary);
    EXPECT_EQ(tree.Read("r/.git/c.txt"), "foo\r\n");
    // The unsaved window and its file are as they were, and it is still open.
    EXPECT_EQ(tree.Read("r/open.txt"), "foo\r\n");
    ASSERT_EQ(Children(), 2);  // its window and the Grep window
    EXPECT_EQ(mine->Doc()->GetLine(0)->View(), "Xfoo");
    EXPECT_TRUE(mine->Doc()->Modified());
    EXPECT_TRUE(mine->CanUndo());
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 6 files.  Found 6 matches.  Files replaced: 1.");
    // One message, after the run, naming each file left alone.
    ASSERT_EQ(messages.size(), 1u);
    const std::string& summary = messages[0];
    EXPECT_EQ(summary.rfind("Replaced in 1 files; 3 files with hits were left as they are.", 0), 0u) << summary;
    for (const char* name : {"r/open.txt", "r/bin.txt", "r/.git/c.txt"})
        EXPECT_NE(summary.find(tree.Path(name)), std::string::npos) << name;
    EXPECT_EQ(w.LastReplacement().left().size(), 3u);
}

TEST_F(GrepInFrameTest, AReadOnlyFileIsNeitherReplacedNorStopsTheRun)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand files to another user";
    const std::string mine = tree.Write("r/a.txt", "foo\r\n");
    const std::string locked = tree.Write("r/b.txt", "foo\r\n");
    OpenTreeToOthers(tree.root());
    GiveToUnprivilegedUser(tree.Path("r"));
    GiveToUnprivilegedUser(mine);
    GiveToUnprivilegedUser(locked);
    ::chmod(locked.c_str(), 0444);
    GrepDlog& w = OpenReplacingGrep("bar");
    // The forked child has none of Qt's worker threads: nothing may paint
    // there, as painting would wait for them.
    app->Frame()->hide();
    Settle();
    const std::string failure = RunUnprivilegedChecks([&]() -> std::string {
        Search(w, "foo", tree.Path("r/*.txt"));
        Settle();
        if (std::string f = Differs("a.txt", tree.Read("r/a.txt"), "bar\r\n"); !f.empty()) return f;
        if (std::string f = Differs("status", w.StatusText().toStdString(),
                                    "Processed 2 files.  Found 2 matches.  Files replaced: 1.");
            !f.empty())
            return f;
        if (messages.size() != 1) return "messages: " + std::to_string(messages.size());
        return Differs("summary", messages[0],
                       "Replaced in 1 files; 1 files with hits were left as they are.\r\rRead-only files:\r    " +
                           locked);
    });
    EXPECT_EQ(failure, "");
    EXPECT_EQ(tree.Read("r/b.txt"), "foo\r\n");
}

TEST_F(GrepInFrameTest, ExitDuringARunStopsItThenCloses)
{
    for (int i = 0; i < 20; ++i) tree.Write("f" + std::to_string(10 + i) + ".txt", "x\n");
    GrepDlog& w = OpenGrep();
    bool closed_at_once = true;
    DuringRun([&] { closed_at_once = app->Frame()->close(); }, [&] { Search(w, "x", tree.Path("*.txt")); });
    EXPECT_FALSE(closed_at_once);
    EXPECT_EQ(w.files, 1);
    Settle();
    EXPECT_FALSE(app->Frame()->isVisible());
}

TEST_F(GrepInFrameTest, CloseAllDuringARunStopsItThenCloses)
{
    for (int i = 0; i < 20; ++i) tree.Write("f" + std::to_string(10 + i) + ".txt", "x\n");
    GrepDlog& w = OpenGrep();
    DuringRun([&] { app->Frame()->Execute(cmd::kWindowCloseAll); }, [&] { Search(w, "x", tree.Path("*.txt")); });
    EXPECT_EQ(w.files, 1);
    Settle();
    EXPECT_EQ(Children(), 0);
}

TEST_F(GrepInFrameTest, LineCountOpensFilesWithoutSelecting)
{
    const std::string file = tree.Write("c/a.txt", "one needle\ntwo\n");
    app->OpenText(file, false);
    Settle();
    TextView* open = ActiveText();
    app->CmLineCount();
    auto* w = qobject_cast<CountDlog*>(Client()->activeSubWindow()->widget());
    ASSERT_NE(w, nullptr);
    SetField(w->PathBox(), tree.Path("c/*.txt"));
    w->GoButton()->click();
    ASSERT_EQ(ListedLines(*w), (std::vector<std::string>{file + "\t2"}));
    w->ResultsView()->setCurrentIndex(w->Results()->index(0, 0));
    emit w->ResultsView()->doubleClicked(w->Results()->index(0, 0));
    EXPECT_EQ(ActiveText(), open);  // reused
    EXPECT_FALSE(open->HasSelection());
    w->ResultsView()->selectionModel()->select(w->Results()->index(0, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->EditButton()->click();
    EXPECT_EQ(Children(), 3);  // Edit always opens a new window
    EXPECT_NE(ActiveText(), open);
    EXPECT_EQ(ActiveText()->Doc()->Options().search_patt, "");
}

} // namespace
