// What the frame writes when it closes, where it appears, and the tool bar's place.
#include "framework/frame_services.h"
#include "app/placement.h"
#include "framework/window_factories.h"
#include "framework/mdi_child.h"
#include "resources/command_ids.h"
#include "settings/profile.h"
#include "app/app_fixture.h"

#include <QLabel>
#include <QScreen>
#include <QToolBar>

#include <climits>

namespace {

// A window whose close question the test answers.
class Refusing : public QLabel, public fw::CloseQuery, public DocumentView {
public:
    bool CanClose() override { return false; }
    ViewKind Kind() const override { return ViewKind::Text; }
    std::string DocumentPath() const override { return "/r"; }
    void ReloadSettings() override {}
};

using FrameClose = AppFixture;

TEST_F(FrameClose, CloseWritesRecentFilesAndPlacement)
{
    Start();
    const std::string a = tree.Write("a", ""), b = tree.Write("b", "");
    OpenText(a, false);
    OpenText(b, false);
    Frame().move(40, 50);
    Frame().resize(640, 480);
    EXPECT_TRUE(Frame().close());
    EXPECT_EQ(profile::ReadInt("FileMenu", "count", -1), 2);
    EXPECT_EQ(profile::ReadString("FileMenu", "file_1", "", 511), b);
    EXPECT_EQ(profile::ReadString("FileMenu", "file_2", "", 511), a);
    EXPECT_EQ(profile::ReadString("MainWin", "max", "", 9), "0");
    EXPECT_EQ(profile::ReadInt("MainWin", "X", 0), Frame().pos().x());
    EXPECT_EQ(profile::ReadInt("MainWin", "W", 0), 640);
    EXPECT_EQ(profile::ReadInt("MainWin", "H", 0), 480);

    // The next start comes back to the same place.
    app.reset();
    Start();
    EXPECT_EQ(Frame().size(), QSize(640, 480));
    EXPECT_EQ(RecentItems().size(), 2u);
}

TEST_F(FrameClose, MaximisedWritesOnlyTheFlagAndMinimisedKeepsThePlacement)
{
    profile::WriteInt("MainWin", "X", 11);
    profile::WriteInt("MainWin", "W", 333);
    Start();
    Frame().showMaximized();
    ASSERT_TRUE(Frame().CanClose());
    EXPECT_EQ(profile::ReadString("MainWin", "max", "", 9), "1");
    EXPECT_EQ(profile::ReadInt("MainWin", "W", 0), 333);

    Frame().showNormal();
    Frame().showMinimized();
    profile::WriteString("MainWin", "max", "0");
    ASSERT_TRUE(Frame().CanClose());
    EXPECT_EQ(profile::ReadInt("MainWin", "X", 0), 11);
    EXPECT_EQ(profile::ReadInt("MainWin", "W", 0), 333);
    EXPECT_EQ(profile::ReadString("MainWin", "max", "", 9), "0");

    // A stored max flag shows the next frame maximised.
    app.reset();
    profile::WriteString("MainWin", "max", "1");
    Start();
    EXPECT_TRUE(Frame().isMaximized());
}

TEST_F(FrameClose, ARefusingChildKeepsEverythingOpenButTheSettingsAreWritten)
{
    Start();
    OpenText(tree.Write("a", ""), false);
    Frame().AddChild(new Refusing);
    EXPECT_FALSE(Frame().close());
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(Children(), 2);
    EXPECT_EQ(profile::ReadInt("FileMenu", "count", -1), 1);
    EXPECT_EQ(profile::ReadString("MainWin", "max", "", 9), "0");
}

TEST_F(FrameClose, NoSettingsFileGivesTheDefaultPlacementAndTopToolBar)
{
    Start();
    EXPECT_EQ(Frame().pos(), QPoint(5, 5));
    EXPECT_EQ(Frame().size(), QSize(600, 400));
    EXPECT_EQ(Frame().toolBarArea(app->ToolBar()), Qt::TopToolBarArea);
    EXPECT_TRUE(RecentItems().empty());
}

// The stored placement is the outer corner and the inner size; the whole
// frame, decoration included, must land on one screen's available area.
TEST(FitPlacement, SizesAreBoundedAndTheWholeFrameLandsOnOneScreen)
{
    const QList<QRect> one{QRect(0, 0, 1280, 1024)};
    const QMargins deco(4, 30, 4, 4);
    const QSize min(320, 200);
    // Fits already: unchanged.
    EXPECT_EQ(FitPlacement({100, 100, 600, 400}, deco, min, one), QRect(100, 100, 600, 400));
    // Too large: as large as the screen leaves beside the decoration.
    EXPECT_EQ(FitPlacement({5, 5, 100000, 100000}, deco, min, one), QRect(0, 0, 1272, 990));
    // Too small: raised to the minimum.
    EXPECT_EQ(FitPlacement({10, 10, -20, 0}, deco, min, one), QRect(10, 10, 320, 200));
    // Partly or wholly off the screen: moved on, title bar included.
    EXPECT_EQ(FitPlacement({-50, -50, 600, 400}, deco, min, one), QRect(0, 0, 600, 400));
    EXPECT_EQ(FitPlacement({1260, 1000, 600, 400}, deco, min, one), QRect(672, 590, 600, 400));
    EXPECT_EQ(FitPlacement({30000, -30000, 600, 400}, deco, min, one), QRect(672, 0, 600, 400));
    // Extreme numbers neither overflow nor get through.
    const QRect extreme = FitPlacement({INT_MAX, INT_MIN, INT_MAX, INT_MAX}, deco, min, one);
    EXPECT_EQ(extreme, QRect(0, 0, 1272, 990));
    // A minimum larger than the screen gives way to the screen.
    EXPECT_EQ(FitPlacement({0, 0, 100, 100}, deco, QSize(2000, 2000), one), QRect(0, 0, 1272, 990));
    // No screen known: the stored placement, at least the minimum.
    EXPECT_EQ(FitPlacement({-99, -99, 10, 10}, deco, min, {}), QRect(-99, -99, 320, 200));
}

TEST(FitPlacement, TheScreenHoldingMostOfTheFrameIsKept)
{
    const QList<QRect> two{QRect(0, 0, 1280, 1024), QRect(1280, 24, 1920, 1056)};
    const QMargins none;
    const QSize min(320, 200);
    EXPECT_EQ(FitPlacement({1200, 100, 800, 600}, none, min, two), QRect(1280, 100, 800, 600));
    EXPECT_EQ(FitPlacement({1000, 0, 800, 600}, none, min, two), QRect(1280, 24, 800, 600));
    EXPECT_EQ(FitPlacement({100, 0, 1300, 600}, none, min, two), QRect(0, 0, 1280, 600));
    // On neither: the first screen.
    EXPECT_EQ(FitPlacement({-5000, 5000, 400, 300}, none, min, two), QRect(0, 724, 400, 300));
}

TEST_F(FrameClose, AHugeStoredFrameStartsWithinTheScreen)
{
    profile::WriteInt("MainWin", "X", -50);
    profile::WriteInt("MainWin", "Y", -50);
    profile::WriteInt("MainWin", "W", 100000);
    profile::WriteInt("MainWin", "H", 100000);
    Start();
    const QRect screen = Frame().screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(Frame().frameGeometry())) << Frame().frameGeometry().width();
    EXPECT_GE(Frame().width(), Frame().minimumWidth());
}

struct ToolBarPlace : AppFixture {
    Qt::ToolBarArea Area() { return Frame().toolBarArea(app->ToolBar()); }
};

TEST_F(ToolBarPlace, ThreePressesFromTheRightReturnThereAndStoreTwo)
{
    profile::WriteInt("MainWin", "ctrl_loc", 2);
    Start();
    EXPECT_EQ(Area(), Qt::RightToolBarArea);
    EXPECT_EQ(app->ToolBar()->orientation(), Qt::Vertical);
    Frame().Execute(cmd::kToolBarPosition);
    EXPECT_EQ(Area(), Qt::TopToolBarArea);
    EXPECT_EQ(app->ToolBar()->orientation(), Qt::Horizontal);
    EXPECT_EQ(profile::ReadInt("MainWin", "ctrl_loc", -1), 0);
    Frame().Execute(cmd::kToolBarPosition);
    EXPECT_EQ(Area(), Qt::LeftToolBarArea);
    Frame().Execute(cmd::kToolBarPosition);
    EXPECT_EQ(Area(), Qt::RightToolBarArea);
    EXPECT_EQ(profile::ReadInt("MainWin", "ctrl_loc", -1), 2);
    EXPECT_FALSE(app->ToolBar()->isHidden());
}

// The position button is the only way back from a vertical bar: at the
// default size, and at the smallest the frame allows, every gadget shows.
TEST_F(ToolBarPlace, EveryButtonOfAVerticalBarShowsAtTheDefaultAndTheSmallestSize)
{
    profile::WriteInt("MainWin", "ctrl_loc", 1);
    Start();
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame().size(), QSize(600, 400));
    QToolBar* bar = app->ToolBar();
    const auto all_shown = [&] {
        for (QAction* action : bar->actions())
            if (!bar->widgetForAction(action)->isVisible()) return false;
        return true;
    };
    EXPECT_TRUE(all_shown());
    Frame().resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_TRUE(all_shown());
    EXPECT_TRUE(bar->widgetForAction(Frame().Action(cmd::kToolBarPosition))->isVisible());
    Frame().Execute(cmd::kToolBarPosition);  // right
    Frame().Execute(cmd::kToolBarPosition);  // top
    Frame().resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_TRUE(all_shown());
}

TEST_F(ToolBarPlace, OutOfRangeLocationStartsAtTheTopAndTheFirstMoveBringsItBack)
{
    profile::WriteInt("MainWin", "ctrl_loc", 7);
    Start();
    EXPECT_EQ(Area(), Qt::TopToolBarArea);
    Frame().Execute(cmd::kToolBarPosition);
    EXPECT_EQ(profile::ReadInt("MainWin", "ctrl_loc", -1), 2);
    EXPECT_EQ(Area(), Qt::RightToolBarArea);
}

TEST_F(ToolBarPlace, AHiddenToolBarStaysHiddenWhenMoved)
{
    Start();
    Frame().Execute(cmd::kOptionsToolBar);
    ASSERT_TRUE(app->ToolBar()->isHidden());
    Frame().Execute(cmd::kToolBarPosition);
    EXPECT_TRUE(app->ToolBar()->isHidden());
    EXPECT_FALSE(Frame().Action(cmd::kOptionsToolBar)->isChecked());
}

} // namespace
