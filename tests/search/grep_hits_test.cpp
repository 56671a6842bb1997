// The Grep window inside the running frame: hits opened in text windows,
// Edit, the replacement hand-off, and closing the frame during a run.
#include "app/main_win.h"
#include "app/tw_app.h"
#include "app/window_factories.h"
#include "docs/lines_doc.h"
#include "search/search_options.h"
#include "docs/text_doc.h"
#include "framework/message_box.h"
#include "search/count_dlog.h"
#include "search/grep_dlog.h"
#include "support/temp_tree.h"
#include "views/text_view.h"
#include "search_window_test_support.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

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
    void Search(GrepDlog& w, const std::string& pattern, const std::string& path)
    {
        SetField(w.PatternBox(), pattern);
        SetField(w.PathBox(), path);
        w.GoButton()->click();
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
    app->CmGrep();
    QMdiSubWindow* grep = Client()->activeSubWindow();
    EXPECT_NE(qobject_cast<GrepDlog*>(grep->widget()), nullptr);
    EXPECT_EQ(grep->windowTitle().toStdString(), "Grep Options");
    EXPECT_EQ(grep->size(), QSize(540, 408));
    app->CmLineCount();
    EXPECT_NE(qobject_cast<CountDlog*>(Client()->activeSubWindow()->widget()), nullptr);
    EXPECT_EQ(Client()->activeSubWindow()->windowTitle().toStdString(), "Line Count Options");
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
    w.ResultsView()->setCurrentIndex(w.Results()->index(0, 0));
    emit w.ResultsView()->doubleClicked(w.Results()->index(0, 0));
    EXPECT_EQ(Children(), 2);  // no second window of the file
    EXPECT_EQ(ActiveText(), open);
    TextPosition start, end;
    ASSERT_TRUE(open->GetOrderedSelection(start, end));
    EXPECT_EQ(start, (TextPosition{2, 4}));
    EXPECT_EQ(end, (TextPosition{2, 10}));
    EXPECT_EQ(open->Doc()->Options().search_patt, "needle");
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
    GrepDlog& w = OpenGrep();
    w.ReplaceCheck()->setChecked(true);
    SetField(w.ReplacementBox(), "bar");
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();
    EXPECT_EQ(tree.Read("r/a.txt"), "bar foo\nfoo\n");
    EXPECT_EQ(tree.Read("r/b.txt"), "nothing\n");
    EXPECT_EQ(tree.Read("r/c.txt"), "x bar\n");
    EXPECT_EQ(Children(), 1);  // the replacement windows closed again
    EXPECT_EQ(w.StatusText().toStdString(), "Processed 3 files.  Found 2 matches.");
}

TEST_F(GrepInFrameTest, ReplaceAllWithShowAllLines)
{
    tree.Write("r/a.txt", "foo foo\nfoo\n");
    GrepDlog& w = OpenGrep();
    w.ReplaceCheck()->setChecked(true);
    w.ShowLinesCheck()->setChecked(true);
    SetField(w.ReplacementBox(), "bar");
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();
    EXPECT_EQ(tree.Read("r/a.txt"), "bar bar\nbar\n");
    EXPECT_EQ(Children(), 1);
}

TEST_F(GrepInFrameTest, EmptyReplacementChangesNothing)
{
    tree.Write("r/a.txt", "foo\nfoo\n");
    GrepDlog& w = OpenGrep();
    w.ReplaceCheck()->setChecked(true);
    w.ShowLinesCheck()->setChecked(true);
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();
    EXPECT_EQ(tree.Read("r/a.txt"), "foo\nfoo\n");
    EXPECT_EQ(Children(), 1);
}

TEST_F(GrepInFrameTest, ReplacementLeavesAnOpenWindowWithUnsavedEditsAlone)
{
    // The window shows an edited text that no longer holds the hit found
    // on disk: nothing is replaced, and closing it would ask to save.
    const std::string file = tree.Write("r/a.txt", "zzz\n");
    app->OpenText(file, false);
    Settle();
    TextView* mine = ActiveText();
    ASSERT_NE(mine, nullptr);
    mine->Doc()->SetModified(true);
    tree.Write("r/a.txt", "foo\n");
    GrepDlog& w = OpenGrep();
    w.ReplaceCheck()->setChecked(true);
    SetField(w.ReplacementBox(), "bar");
    Search(w, "foo", tree.Path("r/*.txt"));
    Settle();
    EXPECT_EQ(Children(), 2);  // no save prompt in the middle of a run
    for (const std::string& m : messages) EXPECT_EQ(m.find("has been changed"), std::string::npos) << m;
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
    DuringRun([&] { app->Frame()->Execute(24365); }, [&] { Search(w, "x", tree.Path("*.txt")); });
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
