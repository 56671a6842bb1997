// What the frame writes when it closes, where it appears, and the tool bar's place.
#include "app/frame_services.h"
#include "app/placement.h"
#include "app/window_factories.h"
#include "framework/mdi_child.h"
#include "resources/command_ids.h"
#include "settings/profile.h"
#include "app/app_fixture.h"

#include <QLabel>
#include <QScreen>
#include <QToolBar>

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

TEST_F(FrameClose, PlacementOffEveryScreenComesBack)
{
    const QList<QRect> screens{QRect(0, 0, 1280, 1024)};
    EXPECT_EQ(PlaceOnScreens(QRect(100, 100, 600, 400), screens), QRect(100, 100, 600, 400));
    EXPECT_EQ(PlaceOnScreens(QRect(1260, 100, 600, 400), screens), QRect(680, 100, 600, 400));
    EXPECT_EQ(PlaceOnScreens(QRect(-5000, -5000, 9000, 400), screens), QRect(0, 0, 1280, 400));
    EXPECT_EQ(PlaceOnScreens(QRect(10, 10, -20, 0), screens), QRect(10, 10, 40, 40));
    EXPECT_EQ(PlaceOnScreens(QRect(-99, -99, 10, 10), {}), QRect(-99, -99, 10, 10));

    profile::WriteInt("MainWin", "X", 30000);
    profile::WriteInt("MainWin", "Y", -30000);
    Start();
    EXPECT_FALSE(Frame().geometry().intersected(Frame().screen()->availableGeometry()).isEmpty());
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
