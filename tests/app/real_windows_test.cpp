// The frame with the program's own views and search windows installed.
#include "app/install_windows.h"
#include "framework/frame_services.h"
#include "resources/command_ids.h"
#include "settings/profile.h"
#include "views/edit_view.h"
#include "app/app_fixture.h"

#include <QMdiSubWindow>
#include <QTest>

namespace {

struct RealWindows : AppFixture {
    void SetUp() override
    {
        AppFixture::SetUp();
        InstallWindowFactories();
    }
    // Every view has read its file.
    bool AllLoaded()
    {
        for (QMdiSubWindow* child : Frame().Client()->subWindowList()) {
            const auto* view = qobject_cast<const EditView*>(child->widget());
            if (view && !view->Loaded()) return false;
        }
        return true;
    }
};

TEST_F(RealWindows, OpenedFilesAreFoundAgainAndTheSearchWindowsOpen)
{
    Start();
    const std::string a = tree.Write("a.txt", "one\ntwo\n"), b = tree.Write("b.bin", "xyz");
    OpenText(a, false);
    OpenHex(b, false);
    OpenText(b, false);
    ASSERT_EQ(Children(), 3);
    ASSERT_TRUE(QTest::qWaitFor([this] { return AllLoaded(); }));
    OpenText(a, true);
    OpenHex(b, true);
    EXPECT_EQ(Children(), 3);
    const auto* view = dynamic_cast<DocumentView*>(ActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Kind(), ViewKind::Hex);
    EXPECT_EQ(view->DocumentPath(), b);

    // A file view enables the document commands.
    EXPECT_TRUE(Enabled(cmd::kSearchFind));
    EXPECT_TRUE(Enabled(cmd::kSearchGoTo));

    Frame().Execute(cmd::kFileGrep);
    EXPECT_EQ(Children(), 4);
    EXPECT_EQ(ActiveChild()->windowTitle(), "Grep Options");
    EXPECT_TRUE(messages.empty());
}

TEST_F(RealWindows, CancellingASavePromptAtExitKeepsEveryWindowButWritesTheSettings)
{
    Start();
    const std::string a = tree.Write("a.txt", "one\n"), b = tree.Write("b.txt", "two\n");
    OpenText(a, false);
    OpenText(b, false);
    ASSERT_TRUE(QTest::qWaitFor([this] { return AllLoaded(); }));
    for (QMdiSubWindow* child : Frame().Client()->subWindowList()) QTest::keyClicks(child->widget(), "x");

    int questions = 0;
    fw::SetMessageHook([&](const fw::MessageRequest&) { return ++questions == 1 ? fw::kIdNo : fw::kIdCancel; });
    EXPECT_FALSE(Frame().close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(Children(), 2);
    EXPECT_EQ(profile::ReadInt("FileMenu", "count", 0), 2);

    questions = 0;
    fw::SetMessageHook([&](const fw::MessageRequest&) { ++questions; return fw::kIdNo; });
    EXPECT_TRUE(Frame().close());
    EXPECT_EQ(questions, 2);  // each asked once more, then closed unasked
    EXPECT_EQ(tree.Read("a.txt"), "one\n");
}

} // namespace
