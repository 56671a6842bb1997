#include "framework/command_routing.h"
#include "framework/mdi_child.h"
#include "framework/mdi_frame.h"
#include "framework/message_box.h"
#include "resources/command_ids.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

constexpr int kViewCommand = 9001;

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
        for (int id : {kViewCommand, cmd::kWindowCascade, cmd::kWindowCloseAll, cmd::kOptionsStatusBar,
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

TEST(MessageBox, HookAnswersInsteadOfAWindow)
{
    fw::MessageRequest seen;
    fw::SetMessageHook([&](const fw::MessageRequest& r) {
        seen = r;
        return fw::kIdNo;
    });
    EXPECT_EQ(fw::ShowMessageBox({nullptr, "text", "Tarnwick", fw::kMbYesNoCancel}), fw::kIdNo);
    fw::SetMessageHook({});
    EXPECT_EQ(seen.text, "text");
    EXPECT_EQ(seen.style, unsigned(fw::kMbYesNoCancel));
}

} // namespace

#include "mdi_frame_test.moc"
