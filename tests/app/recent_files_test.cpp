// The recent-file list, the File menu's items and the reuse of windows.
#include "framework/frame_services.h"
#include "app/open_dlog.h"
#include "support/placeholder_windows.h"
#include "app/recent_file_list.h"
#include "resources/command_ids.h"
#include "settings/profile.h"
#include "app/app_fixture.h"

#include <QDir>
#include <QDropEvent>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

namespace {

TEST(RecentFileList, MovesAnEntryToTheTopAndDropsTheOldestOfNine)
{
    RecentFileList list;
    EXPECT_FALSE(list.Add(""));
    EXPECT_EQ(list.Count(), 0);
    for (const char* p : {"a", "b", "c"}) list.Add(p);
    list.Add("b");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(0), "b");
    EXPECT_EQ(list.At(1), "c");
    EXPECT_EQ(list.At(2), "a");
    list.Add("b");  // already on top: nothing moves
    EXPECT_EQ(list.At(1), "c");
    for (const char* p : {"4", "5", "6", "7", "8", "9"}) list.Add(p);
    ASSERT_EQ(list.Count(), 8);
    EXPECT_EQ(list.At(0), "9");
    EXPECT_EQ(list.At(7), "c");  // "a" dropped out
}

using RecentFiles = AppFixture;

TEST_F(RecentFiles, MenuListsNewestFirstAndReopeningActivatesTheExistingWindow)
{
    Start();
    const std::string a = tree.Write("a.txt", "1"), b = tree.Write("b.txt", "2"),
                      c = tree.Write("c.txt", "3");
    for (const std::string& p : {a, b, c}) OpenText(p, false);
    EXPECT_EQ(RecentItems(), (std::vector<std::string>{"&1 " + c, "&2 " + b, "&3 " + a}));
    EXPECT_EQ(SeparatorsAfterExit(), 1);

    Frame().Execute(cmd::RecentFile(1));  // "&2 b"
    EXPECT_EQ(RecentItems(), (std::vector<std::string>{"&1 " + b, "&2 " + c, "&3 " + a}));
    EXPECT_EQ(Children(), 3);
    const auto* view = dynamic_cast<DocumentView*>(Frame().ActiveChild()->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->DocumentPath(), b);

    Frame().Execute(cmd::RecentFile(6));  // no seventh entry: nothing happens
    EXPECT_EQ(Children(), 3);
}

TEST_F(RecentFiles, NinthFileKeepsEightItemsAndOneSeparator)
{
    Start();
    for (int i = 1; i <= 9; ++i) OpenText(tree.Write("f" + std::to_string(i), ""), false);
    const std::vector<std::string> items = RecentItems();
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items.front(), "&1 " + tree.Path("f9"));
    EXPECT_EQ(items.back(), "&8 " + tree.Path("f2"));
    EXPECT_EQ(SeparatorsAfterExit(), 1);
}

TEST_F(RecentFiles, ReuseFindsOnlyTheSameKindOnExactlyTheSamePath)
{
    Start();
    const std::string lower = tree.Write("x/read.me", "a"), upper = tree.Write("x/READ.ME", "b");
    OpenText(lower, false);
    OpenText(lower, true);
    EXPECT_EQ(Children(), 1);
    OpenText(upper, true);  // another file on this system
    EXPECT_EQ(Children(), 2);
    OpenHex(lower, true);  // a hex view is another window
    EXPECT_EQ(Children(), 3);
    OpenText(lower, false);  // reuse off: a second window
    EXPECT_EQ(Children(), 4);
    EXPECT_EQ(RecentItems().size(), 2u);  // one entry per path
    EXPECT_EQ(RecentItems().front(), "&1 " + lower);

    // The relative form names the same file as the full one.
    const QString old = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(tree.Path("x")));
    OpenText("READ.ME", true);
    QDir::setCurrent(old);
    EXPECT_EQ(Children(), 4);
    EXPECT_EQ(RecentItems().front(), "&1 " + upper);
}

TEST_F(RecentFiles, ReuseRestoresAMinimisedWindow)
{
    Start();
    const std::string a = tree.Write("a", ""), b = tree.Write("b", "");
    OpenText(a, false);
    QMdiSubWindow* first = Frame().ActiveChild();
    first->showMinimized();
    OpenText(b, false);
    OpenText(a, true);
    EXPECT_EQ(Frame().ActiveChild(), first);
    EXPECT_FALSE(first->isMinimized());
}

TEST_F(RecentFiles, NewChildIsMaximisedWhenTheActiveOneIs)
{
    Start();
    Frame().Execute(cmd::kFileNew);
    Frame().ActiveChild()->showMaximized();
    Frame().Execute(cmd::kFileNew);
    EXPECT_TRUE(Frame().ActiveChild()->isMaximized());
    EXPECT_TRUE(RecentItems().empty());  // untitled windows are not recent files
}

TEST_F(RecentFiles, CommandLineFilesOpenInOrderOnTopOfTheStoredList)
{
    const std::string one = tree.Write("one", ""), two = tree.Write("two", "");
    profile::WriteInt("FileMenu", "count", 1);
    profile::WriteString("FileMenu", "file_1", "/stored/old");
    Start({one, two});
    ASSERT_EQ(Children(), 2);
    const auto windows = Frame().Client()->subWindowList(QMdiArea::CreationOrder);
    EXPECT_EQ(dynamic_cast<DocumentView*>(windows[0]->widget())->DocumentPath(), one);
    EXPECT_EQ(RecentItems(), (std::vector<std::string>{"&1 " + two, "&2 " + one, "&3 /stored/old"}));
}

TEST_F(RecentFiles, StoredCountsOutOfRangeAreBounded)
{
    for (int n = 1; n <= 12; ++n)
        profile::WriteString("FileMenu", "file_" + std::to_string(n), "/p" + std::to_string(n));
    profile::WriteString("FileMenu", "file_3", "");  // an empty entry is skipped
    profile::WriteInt("FileMenu", "count", 12);
    Start();
    const std::vector<std::string> items = RecentItems();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items.front(), "&1 /p1");
    EXPECT_EQ(items.back(), "&7 /p8");

    app.reset();
    profile::WriteInt("FileMenu", "count", -3);
    Start();
    EXPECT_TRUE(RecentItems().empty());
    EXPECT_EQ(SeparatorsAfterExit(), 0);
}

TEST_F(RecentFiles, FileOpenWithHexDumpOpensAHexViewAndWritesThePathAndFilter)
{
    const std::string file = tree.Write("dir/data.bin", "xyz");
    Start();
    OpenDlog::SetHook([&](FileDialogData& data, int& hex) {
        EXPECT_EQ(data.file_name, "");
        EXPECT_EQ(data.filter, (FilterList{{"Text files (*.TXT)", "*.TXT"}, {"All Files (*.*)", "*.*"}}));
        data.file_name = file;
        data.filter_index = 2;
        hex = 1;
        return true;
    });
    Frame().Execute(cmd::kFileOpen);
    OpenDlog::SetHook({});
    ASSERT_EQ(Children(), 1);
    EXPECT_EQ(dynamic_cast<DocumentView*>(Frame().ActiveChild()->widget())->Kind(), ViewKind::Hex);
    EXPECT_EQ(profile::ReadString("Extensions", "Path", "", 255), tree.Path("dir"));
    EXPECT_EQ(profile::ReadInt("Extensions", "Selected", 0), 1);  // the second file type, counted from 0

    // From the recent-file list the same file opens as text.
    Frame().Execute(cmd::kRecentFileFirst);
    EXPECT_EQ(Children(), 2);
    EXPECT_EQ(dynamic_cast<DocumentView*>(Frame().ActiveChild()->widget())->Kind(), ViewKind::Text);
}

TEST_F(RecentFiles, CancelledFileOpenWritesNothing)
{
    Start();
    OpenDlog::SetHook([](FileDialogData&, int&) { return false; });
    Frame().Execute(cmd::kFileOpen);
    OpenDlog::SetHook({});
    EXPECT_EQ(Children(), 0);
    EXPECT_EQ(profile::ReadString("Extensions", "Path", "none", 255), "none");
    EXPECT_EQ(profile::ReadInt("Extensions", "Selected", -1), -1);
}

TEST_F(RecentFiles, DroppedFilesOpenAsTextEachInANewWindow)
{
    Start();
    const std::string a = tree.Write("a", ""), d = tree.MakeDir("sub");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)),
                  QUrl::fromLocalFile(QString::fromStdString(d)),
                  QUrl::fromLocalFile(QString::fromStdString(a))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Frame(), &drop);
    EXPECT_EQ(Children(), 3);
    EXPECT_EQ(RecentItems(), (std::vector<std::string>{"&1 " + a, "&2 " + d}));
}

} // namespace
