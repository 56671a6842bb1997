#include "framework/child_placement.h"
#include "framework/command_routing.h"
#include "framework/mdi_child.h"
#include "framework/mdi_frame.h"
#include "framework/message_box.h"
#include "resources/command_ids.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

constexpr auto kViewCommand = static_cast<cmd::Command>(9001);

// A client view with one command whose rule follows a flag, and a close
// question whose answer the test sets.
class FakeView : public QLabel, public fw::CommandTarget, public fw::CloseQuery {
    Q_OBJECT
public:
    static const fw::CommandTable& Commands()
    {
        static const fw::CommandTable table(nullptr, {
            fw::On(kViewCommand, &FakeView::Run, &FakeView::CanRun),
        });
        return table;
    }
    const fw::CommandTable& commandTable() const override { return Commands(); }
    bool CanClose() override
    {
        ++questions;
        return may_close;
    }

    void Run() { ++runs; }
    bool CanRun() const
    {
        ++rule_asked;
        return can_run;
    }
    void SetCanRun(bool on)
    {
        can_run = on;
        emit commandStateChanged();
    }

    bool can_run = true;
    bool may_close = true;
    int runs = 0;
    int questions = 0;
    mutable int rule_asked = 0;

signals:
    void commandStateChanged();
};

// A client whose question is its closeEvent, as widgets usually do it.
class AskingWidget : public QLabel {
public:
    bool may_close = true;
    int questions = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++questions;
        if (may_close)
            event->accept();
        else
            event->ignore();
    }
};

struct FrameFixture : ::testing::Test {
    FrameFixture()
    {
        for (const cmd::Command id : {kViewCommand, cmd::kWindowCascade, cmd::kWindowCloseAll, cmd::kOptionsStatusBar,
                       cmd::kOptionsToolBar}) {
            auto* action = new QAction(&frame);
            action->setCheckable(id == cmd::kOptionsStatusBar || id == cmd::kOptionsToolBar);
            frame.RegisterAction(id, action);
        }
        frame.resize(600, 400);
        frame.show();
    }
    FakeView* AddView()
    {
        auto* view = new FakeView;
        frame.AddChild(view);
        return view;
    }
    fw::MdiFrame frame;
};

TEST_F(FrameFixture, ViewCommandIsDisabledWithoutAChildAndFollowsTheViewsRule)
{
    EXPECT_FALSE(frame.Action(kViewCommand)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kWindowCascade)->isEnabled());

    FakeView* view = AddView();
    EXPECT_TRUE(frame.Action(kViewCommand)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kWindowCascade)->isEnabled());

    view->SetCanRun(false);  // the view's signal refreshes the actions
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame.Action(kViewCommand)->isEnabled());
    view->can_run = true;
    fw::NotifyCommandStateChanged();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.Action(kViewCommand)->isEnabled());

    frame.Action(kViewCommand)->trigger();
    EXPECT_EQ(view->runs, 1);
}

TEST_F(FrameFixture, ManyChangesBetweenTwoEventLoopStepsRefreshTheActionsOnce)
{
    FakeView* view = AddView();
    QCoreApplication::processEvents();
    view->rule_asked = 0;
    for (int i = 0; i < 1000; ++i) {
        view->SetCanRun(i % 2 == 0);
        fw::NotifyCommandStateChanged();
    }
    EXPECT_EQ(view->rule_asked, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->rule_asked, 1);
    EXPECT_FALSE(frame.Action(kViewCommand)->isEnabled());  // the last change holds
    QCoreApplication::processEvents();
    EXPECT_EQ(view->rule_asked, 1);
}

TEST_F(FrameFixture, CommandsGoToTheActiveChildsView)
{
    FakeView* first = AddView();
    FakeView* second = AddView();
    EXPECT_EQ(frame.ActiveChild()->widget(), second);
    frame.Execute(kViewCommand);
    frame.Client()->setActiveSubWindow(frame.ChildrenFromActive().back());
    frame.Execute(kViewCommand);
    EXPECT_EQ(first->runs, 1);
    EXPECT_EQ(second->runs, 1);
    EXPECT_EQ(frame.ChildrenFromActive().front()->widget(), first);
}

TEST_F(FrameFixture, CloseAllClosesNothingWhenOneChildRefusesAndAsksAgainNextTime)
{
    FakeView* keeper = AddView();
    AddView();
    keeper->may_close = false;
    EXPECT_FALSE(frame.CloseChildren());
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.Client()->subWindowList().size(), 2);

    keeper->may_close = true;
    frame.Execute(cmd::kWindowCloseAll);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.Client()->subWindowList().isEmpty());
    EXPECT_EQ(keeper->questions, 2);
}

TEST_F(FrameFixture, ACloseEventQuestionIsAskedOnceAndARefusalKeepsEveryWindow)
{
    auto* asking = new AskingWidget;
    frame.AddChild(asking);
    AddView();
    asking->may_close = false;
    EXPECT_FALSE(frame.CloseChildren());
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.Client()->subWindowList().size(), 2);
    EXPECT_EQ(asking->questions, 1);
    EXPECT_TRUE(asking->isVisibleTo(&frame));

    asking->may_close = true;
    EXPECT_TRUE(frame.CloseChildren());
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.Client()->subWindowList().isEmpty());
}

TEST_F(FrameFixture, ClosingOneChildAsksItsClientOnce)
{
    auto* asking = new AskingWidget;
    QPointer<fw::MdiChild> child = frame.AddChild(asking);
    asking->may_close = false;
    EXPECT_FALSE(child->close());
    EXPECT_EQ(asking->questions, 1);
    asking->may_close = true;
    EXPECT_TRUE(child->close());
    EXPECT_EQ(asking->questions, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
}

TEST_F(FrameFixture, StatusBarAndToolBarTogglesCarryCheckMarks)
{
    auto* bar = new QToolBar(&frame);
    frame.addToolBar(bar);
    bar->show();
    frame.SetToolBar(bar);
    frame.UpdateCommandStates();
    EXPECT_TRUE(frame.Action(cmd::kOptionsToolBar)->isChecked());
    frame.Execute(cmd::kOptionsToolBar);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(frame.Action(cmd::kOptionsToolBar)->isChecked());
    frame.Execute(cmd::kOptionsStatusBar);
    EXPECT_TRUE(frame.statusBar()->isHidden());
    EXPECT_FALSE(frame.Action(cmd::kOptionsStatusBar)->isChecked());
    frame.Execute(cmd::kOptionsStatusBar);
    EXPECT_TRUE(frame.Action(cmd::kOptionsStatusBar)->isChecked());
}

TEST(CascadeSlot, ChildrenStepDownTheDiagonalAndStayInside)
{
    const QSize space(600, 300);
    EXPECT_EQ(CascadeSlot(space, QSize(400, 200), 0, 20), QRect(0, 0, 400, 200));
    EXPECT_EQ(CascadeSlot(space, QSize(400, 200), 2, 20), QRect(40, 40, 400, 200));
    // Room for slots 0..5 only (300 - 200 = 100 = 5 steps): then the top-left again.
    EXPECT_EQ(CascadeSlot(space, QSize(400, 200), 5, 20), QRect(100, 100, 400, 200));
    EXPECT_EQ(CascadeSlot(space, QSize(400, 200), 6, 20), QRect(0, 0, 400, 200));
    // Larger than the area: shrunk to it, always at the corner.
    EXPECT_EQ(CascadeSlot(space, QSize(540, 408), 3, 20), QRect(0, 0, 540, 300));
    EXPECT_EQ(CascadeSlot(QSize(0, 0), QSize(540, 408), 1, 0), QRect(0, 0, 1, 1));
}

TEST_F(FrameFixture, NewChildrenLieInsideTheClientAreaAndCascade)
{
    const QSize space = frame.Client()->viewport()->size();
    for (int i = 0; i < 12; ++i) frame.AddChild(new QLabel, i % 2 ? QSize(540, 408) : QSize());
    QPoint previous(-1, -1);
    int restarts = 0;
    for (QMdiSubWindow* child : frame.Client()->subWindowList(QMdiArea::CreationOrder)) {
        EXPECT_TRUE(QRect(QPoint(0, 0), space).contains(child->geometry())) << child->geometry().y();
        if (child->pos().x() <= previous.x()) ++restarts;
        previous = child->pos();
    }
    EXPECT_EQ(frame.Client()->subWindowList(QMdiArea::CreationOrder).front()->pos(), QPoint(0, 0));
    EXPECT_GE(restarts, 1);
}

TEST_F(FrameFixture, AChildOpensLargeEnoughForItsContents)
{
    auto* client = new QWidget;
    auto* column = new QVBoxLayout(client);
    for (int i = 0; i < 12; ++i) column->addWidget(new QLabel(QStringLiteral("a row of the window's controls")));
    fw::MdiChild* child = frame.AddChild(client, QSize(60, 60));
    const QSize needed = child->minimumSizeHint();
    ASSERT_GT(needed.height(), 60);
    EXPECT_GE(child->width(), std::min(needed.width(), frame.Client()->viewport()->width()));
    EXPECT_GE(child->height(), std::min(needed.height(), frame.Client()->viewport()->height()));
}

TEST_F(FrameFixture, ClosingTheActiveChildActivatesTheOneUsedBeforeIt)
{
    FakeView* a = AddView();
    FakeView* b = AddView();
    FakeView* c = AddView();
    const auto child_of = [](QWidget* view) { return qobject_cast<QMdiSubWindow*>(view->parentWidget()); };
    frame.Client()->setActiveSubWindow(child_of(a));
    frame.Client()->setActiveSubWindow(child_of(c));
    child_of(c)->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.ActiveChild()->widget(), a);
    child_of(a)->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.ActiveChild()->widget(), b);
}

TEST_F(FrameFixture, TheWindowMenuListsTheChildrenAndChecksTheActiveOne)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Cascade"));
    frame.AttachWindowList(&menu);
    frame.RebuildWindowList();
    EXPECT_EQ(menu.actions().size(), 1);  // no children, no list
    FakeView* a = AddView();
    a->setWindowTitle(QStringLiteral("A&B.TXT"));
    FakeView* b = AddView();
    b->setWindowTitle(QStringLiteral("Grep Options"));
    frame.RebuildWindowList();
    frame.RebuildWindowList();  // rebuilding replaces the list
    QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QStringLiteral("&1 A&&B.TXT"));
    EXPECT_EQ(items[3]->text(), QStringLiteral("&2 Grep Options"));
    EXPECT_FALSE(items[2]->isChecked());
    EXPECT_TRUE(items[3]->isChecked());
    qobject_cast<QMdiSubWindow*>(a->parentWidget())->showMinimized();
    items[2]->trigger();
    EXPECT_EQ(frame.ActiveChild()->widget(), a);
    EXPECT_FALSE(frame.ActiveChild()->isMinimized());
}

TEST(MessageBox, HookAnswersInsteadOfAWindow)
{
    fw::MessageRequest seen;
    fw::SetMessageHook([&](const fw::MessageRequest& r) {
        seen = r;
        return fw::kIdNo;
    });
    fw::MessageRequest request;
    request.text = "text";
    request.caption = "Tarnwick";
    request.style = fw::kMbYesNoCancel;
    EXPECT_EQ(fw::ShowMessageBox(request), fw::kIdNo);
    fw::SetMessageHook({});
    EXPECT_EQ(seen.text, "text");
    EXPECT_EQ(seen.style, unsigned(fw::kMbYesNoCancel));
}

} // namespace

#include "mdi_frame_test.moc"
