// The text and hex windows inside the running frame: what OpenText and
// OpenHex make, the caret field, Preferences, and closing with changes.
#include "view_fixture.h"

#include "app/main_win.h"
#include "app/status_fields.h"
#include "app/tw_app.h"
#include "app/install_windows.h"
#include "framework/frame_services.h"
#include "framework/grep_hit_view.h"
#include "framework/window_factories.h"
#include "docs/hex_doc.h"
#include "docs/text_doc.h"
#include "resources/command_ids.h"
#include "settings/profile.h"
#include "views/hex_view.h"
#include "views/text_view.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace {

class ViewsInFrame : public ViewTest {
protected:
    void SetUp() override
    {
        InstallWindowFactories();
        app = std::make_unique<TWApp>("Tarnwick", 0, argv);
        app->InitMainWindow();
        app->InitInstance();
    }
    void TearDown() override
    {
        answers = {fw::kIdNo, fw::kIdNo, fw::kIdNo};
        app.reset();
        SetPreferencesRunner({});
    }
    void Settle()
    {
        for (int i = 0; i < 5; ++i) {
            PumpWaitingMessages();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    QMdiArea* Client() { return app->Frame()->Client(); }
    QWidget* Active() { return Client()->activeSubWindow() ? Client()->activeSubWindow()->widget() : nullptr; }

    char* argv[1] = {nullptr};
    std::unique_ptr<TWApp> app;
};

TEST_F(ViewsInFrame, OpenTextAndOpenHexMakeTheViewsWithTheirTitles)
{
    const std::string path = tree.Write("code.c", "int a;\nint b;\n");
    ASSERT_TRUE(app->OpenText(path, false));
    Settle();
    auto* text = qobject_cast<TextView*>(Active());
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->Loaded());
    EXPECT_EQ(Lines(*text->Doc()), (Lines_t{"int a;", "int b;"}));
    EXPECT_EQ(Client()->activeSubWindow()->windowTitle(), "CODE.C");

    ASSERT_TRUE(app->OpenHex(path, false));
    Settle();
    auto* hex = qobject_cast<HexView*>(Active());
    ASSERT_NE(hex, nullptr);
    EXPECT_EQ(hex->Doc()->FileSize(), 14u);
    EXPECT_EQ(Client()->subWindowList().size(), 2);
}

TEST_F(ViewsInFrame, AnOpenReturnsTheViewItShowsNewOrReused)
{
    const std::string a = tree.Write("a.txt", "one\n"), b = tree.Write("b.txt", "two\n");
    QWidget* first = app->OpenText(a, false);
    QWidget* second = app->OpenText(b, false);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, second);
    EXPECT_EQ(second, Active());

    // The file already open comes back as its own window, now the active one.
    EXPECT_EQ(::OpenText(a, true), first);
    EXPECT_EQ(Active(), first);
    EXPECT_EQ(OpenHitView(a, true), dynamic_cast<GrepHitView*>(first));
    EXPECT_EQ(Client()->subWindowList().size(), 2);

    // Without reuse, and for the other kind, a new window is returned.
    QWidget* again = app->OpenText(a, false);
    EXPECT_NE(again, first);
    EXPECT_EQ(again, Active());
    QWidget* hex = app->OpenHex(a, true);
    ASSERT_NE(qobject_cast<HexView*>(hex), nullptr);
    EXPECT_EQ(OpenHitView(b, true), dynamic_cast<GrepHitView*>(second));
    EXPECT_EQ(Client()->subWindowList().size(), 4);
}

TEST_F(ViewsInFrame, TheCaretFieldFollowsTheFocusedView)
{
    ASSERT_TRUE(app->OpenText(tree.Write("a.txt", "one\ntwo\n"), false));
    Settle();
    auto* text = qobject_cast<TextView*>(Active());
    ASSERT_NE(text, nullptr);
    text->setFocus();
    Settle();
    if (!text->hasFocus()) GTEST_SKIP() << "the platform gives no focus";
    QTest::keyClick(text, Qt::Key_Down);
    QTest::keyClick(text, Qt::Key_End);
    EXPECT_EQ(app->Fields()->CaretField()->text(), "2/2:4");
    EXPECT_FALSE(app->Fields()->OvertypeIndicator()->isEnabled());
    QTest::keyClick(text, Qt::Key_Insert);
    EXPECT_TRUE(text->Overwrite());
    EXPECT_TRUE(app->Fields()->OvertypeIndicator()->isEnabled());
    QTest::keyClick(text, Qt::Key_Insert);
    EXPECT_FALSE(text->Overwrite());
    EXPECT_FALSE(app->Fields()->OvertypeIndicator()->isEnabled());
}

TEST_F(ViewsInFrame, PreferencesReloadEveryDocumentWindow)
{
    ASSERT_TRUE(app->OpenText(tree.Write("a.txt", "a\tb\n"), false));
    ASSERT_TRUE(app->OpenHex(tree.Write("b.bin", "xyz"), false));
    Settle();
    SetPreferencesRunner([](QWidget*) {
        profile::WriteString("Display", "tab_stops", "8");
        return true;
    });
    app->Frame()->Execute(cmd::kOptionsPreferences);
    for (QMdiSubWindow* child : Client()->subWindowList()) {
        auto* view = dynamic_cast<EditView*>(child->widget());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->Document()->TabSize(), 8);
    }
}

TEST_F(ViewsInFrame, ClosingAChangedWindowAsksAndCancelKeepsIt)
{
    ASSERT_TRUE(app->OpenText(tree.Write("a.txt", "keep\n"), false));
    Settle();
    auto* text = qobject_cast<TextView*>(Active());
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(text, "x");
    answers = {fw::kIdCancel};
    Client()->activeSubWindow()->close();
    Settle();
    EXPECT_EQ(Client()->subWindowList().size(), 1);
    EXPECT_EQ(messages.back(), "A.TXT has been changed.  Save changes before closing?");

    answers = {fw::kIdYes};
    Client()->activeSubWindow()->close();
    Settle();
    EXPECT_EQ(Client()->subWindowList().size(), 0);
    EXPECT_EQ(tree.Read("a.txt"), "xkeep\n");
}

TEST_F(ViewsInFrame, AFileThatCannotBeReadAsHexClosesItsWindow)
{
    ASSERT_TRUE(app->OpenHex(tree.Path("nothing.bin"), false));
    Settle();
    EXPECT_EQ(Client()->subWindowList().size(), 0);
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find("Error [1] : Opening file"), std::string::npos);
}

} // namespace
