// Which commands are enabled, the menu's items and the windows commands make.
#include "framework/frame_services.h"
#include "support/placeholder_windows.h"
#include "app/status_fields.h"
#include "framework/window_factories.h"
#include "resources/command_ids.h"
#include "resources/menu_resource.h"
#include "resources/strings.h"
#include "app/app_fixture.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>

namespace {

using Commands = AppFixture;

TEST_F(Commands, WithoutAChildOnlyTheApplicationsCommandsAreEnabled)
{
    Start();
    for (const cmd::Command id : {cmd::kFileSave, cmd::kFileSaveAs, cmd::kFilePrint, cmd::kEditUndo, cmd::kEditCut,
                   cmd::kEditCopy, cmd::kEditPaste, cmd::kEditDelete, cmd::kEditClearAll,
                   cmd::kEditSelectAll, cmd::kSearchFind, cmd::kSearchReplace, cmd::kSearchNext,
                   cmd::kSearchGoTo, cmd::kWindowCascade, cmd::kWindowTileVertical,
                   cmd::kWindowTileHorizontal, cmd::kWindowArrangeIcons, cmd::kWindowCloseAll, cmd::kFileReload}) {
        EXPECT_FALSE(Enabled(id)) << cmd::Number(id);
        EXPECT_FALSE(Frame().Action(id)->isEnabled()) << cmd::Number(id);
    }
    for (const cmd::Command id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileGrep, cmd::kFileLineCount,
                   cmd::kFileExtensions, cmd::kOptionsPreferences, cmd::kHelpAbout, cmd::kFileExit,
                   cmd::kOptionsStatusBar, cmd::kOptionsToolBar, cmd::kToolBarPosition}) {
        EXPECT_TRUE(Enabled(id)) << cmd::Number(id);
        EXPECT_TRUE(Frame().Action(id)->isEnabled()) << cmd::Number(id);
    }
}

TEST_F(Commands, AChildEnablesTheWindowMenuAndClosingItDisablesItAgain)
{
    Start();
    Frame().Execute(cmd::kFileNew);
    EXPECT_EQ(Children(), 1);
    EXPECT_TRUE(Frame().Action(cmd::kWindowCascade)->isEnabled());
    EXPECT_TRUE(Frame().Action(cmd::kWindowCloseAll)->isEnabled());
    Frame().Execute(cmd::kWindowCloseAll);
    QCoreApplication::processEvents();
    EXPECT_EQ(Children(), 0);
    EXPECT_FALSE(Frame().Action(cmd::kWindowCascade)->isEnabled());
}

TEST_F(Commands, MenuHasTheFivePopupsWithLabelsHintsAndKeys)
{
    Start();
    QStringList titles;
    for (QAction* a : Frame().menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&Search", "&Options", "&Window"}));

    QAction* undo = Frame().Action(cmd::kEditUndo);
    EXPECT_EQ(undo->text(), "&Undo\tCtrl+Z");
    EXPECT_EQ(undo->statusTip(), "Undo the last action");
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(Frame().Action(cmd::kEditDelete)->text(), "&Delete\tDel");
    EXPECT_TRUE(Frame().Action(cmd::kEditDelete)->shortcuts().isEmpty());
    const QList<QKeySequence> open = Frame().Action(cmd::kFileOpen)->shortcuts();
    ASSERT_FALSE(open.isEmpty());
    EXPECT_EQ(open.front(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(Frame().Action(cmd::kFileExit)->statusTip(),
              "Quits MDI File Editor and prompts to save document(s)");
    EXPECT_TRUE(Frame().Action(cmd::kOptionsToolBar)->isChecked());
    EXPECT_TRUE(Frame().Action(cmd::kOptionsStatusBar)->isChecked());
    EXPECT_EQ(Frame().Action(cmd::kToolBarPosition)->statusTip(), "Toggles tool bar position");

    // Every item of the menu is a registered command with its hint.
    for (const menu::Popup& popup : menu::MainMenu())
        for (const menu::Item& item : popup.items) {
            if (item.id == cmd::kNone) continue;
            EXPECT_EQ(Frame().Action(item.id)->statusTip(), strings::Text(item.id));
        }
}

TEST_F(Commands, ToolBarHoldsTheEighteenGadgetsInOrder)
{
    Start();
    const QList<QAction*> gadgets = app->ToolBar()->actions();
    ASSERT_EQ(gadgets.size(), 18);
    const int expected[18] = {24331, 24332, 24333, 24334, 24337, 0, 24321, 24322, 24323,
                              24324, 0,     104,   24351, 24352, 24353, 0, 0,     203};
    for (int i = 0; i < 18; ++i) {
        if (expected[i] == 0) {
            EXPECT_TRUE(gadgets[i]->isSeparator()) << i;
        } else {
            EXPECT_EQ(gadgets[i], Frame().Action(static_cast<cmd::Command>(expected[i]))) << i;
            EXPECT_FALSE(gadgets[i]->icon().isNull()) << i;
        }
    }
}

TEST_F(Commands, GrepAndLineCountOpenSizedTitledWindowsFromTheFactory)
{
    int made = 0;
    SetSearchWindowFactory([&](SearchWindowKind) {
        ++made;
        return new QWidget;
    });
    Start();
    Frame().resize(800, 600);
    QCoreApplication::processEvents();
    Frame().Execute(cmd::kFileGrep);
    Frame().Execute(cmd::kFileLineCount);
    Frame().resize(600, 400);  // the default frame: its client area is lower than 408
    QCoreApplication::processEvents();
    Frame().Execute(cmd::kFileGrep);
    SetSearchWindowFactory({});
    EXPECT_EQ(made, 3);
    const QList<QMdiSubWindow*> windows = Frame().Client()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 3);
    EXPECT_EQ(windows[0]->windowTitle(), "Grep Options");
    EXPECT_EQ(windows[1]->windowTitle(), "Line Count Options");
    EXPECT_EQ(windows[0]->size(), QSize(540, 408));
    EXPECT_EQ(windows[1]->pos().x(), windows[1]->pos().y());  // on the cascade's diagonal
    EXPECT_GT(windows[1]->pos().x(), 0);
    const QRect client(QPoint(0, 0), Frame().Client()->viewport()->size());
    EXPECT_TRUE(client.contains(windows[2]->geometry()));  // shrunk to fit, buttons in view
    EXPECT_EQ(windows[2]->width(), 540);
}

TEST_F(Commands, PreferencesReloadEveryFileViewOnlyAfterAChange)
{
    bool changed = false;
    SetPreferencesRunner([&](QWidget*) { return changed; });
    Start();
    OpenText(tree.Write("a.txt", "a"), false);
    OpenHex(tree.Write("b.bin", "b"), false);
    Frame().Execute(cmd::kFileGrep);
    Frame().Execute(cmd::kOptionsPreferences);
    changed = true;
    Frame().Execute(cmd::kOptionsPreferences);
    SetPreferencesRunner({});
    int reloads = 0;
    for (QMdiSubWindow* w : Frame().Client()->subWindowList())
        if (auto* view = dynamic_cast<PlaceholderView*>(w->widget())) reloads += view->Reloads();
    EXPECT_EQ(reloads, 2);
}

TEST_F(Commands, ShowMessageFormatsTheStringWithTheCaptionAndCutsLongTexts)
{
    Start();
    fw::MessageRequest seen;
    fw::SetMessageHook([&](const fw::MessageRequest& r) {
        seen = r;
        return fw::kIdYes;
    });
    // String 2 holds one conversion-free text; a string id the table lacks
    // shows nothing.
    EXPECT_EQ(ShowMessage(strings::kAppName, fw::kMbYesNo | fw::kMbIconQuestion), fw::kIdYes);
    EXPECT_EQ(seen.text, "Tarnwick");
    EXPECT_EQ(seen.caption, "Tarnwick");
    EXPECT_EQ(seen.owner, &Frame());
    EXPECT_EQ(seen.style, unsigned(fw::kMbYesNo | fw::kMbIconQuestion));
}

TEST_F(Commands, CaretFieldShowsLineCountAndColumnOrNothing)
{
    Start();
    SetCaretPosition(12, 40, 1);
    EXPECT_EQ(app->Fields()->CaretField()->text(), "12/40:1");
    SetCaretPosition(0, 40, 1);
    EXPECT_EQ(app->Fields()->CaretField()->text(), "");
    SetCaretPosition(3, 0, 7);
    EXPECT_EQ(app->Fields()->CaretField()->text(), "");
    SetCaretPosition(3, 9, 0);
    EXPECT_EQ(app->Fields()->CaretField()->text(), "");
    SetOvertypeIndicator(true);
    EXPECT_TRUE(app->Fields()->OvertypeIndicator()->isEnabled());

    QProgressBar* gauge = app->Fields()->LoadGauge();
    EXPECT_FALSE(gauge->isVisibleTo(&Frame()));
    SetLoadProgress(42);
    EXPECT_TRUE(gauge->isVisibleTo(&Frame()));
    EXPECT_EQ(gauge->value(), 42);
    SetLoadProgress(-1);
    EXPECT_FALSE(gauge->isVisibleTo(&Frame()));
}

} // namespace
