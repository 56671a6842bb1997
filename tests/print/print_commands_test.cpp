// Print and Print Preview in the running frame: which windows offer them,
// and the message for a page that holds no body line.
#include "app/app_fixture.h"

#include "app/install_windows.h"
#include "framework/window_factories.h"
#include "framework/message_pump.h"
#include "resources/command_ids.h"

#include <QApplication>
#include <QTimer>

namespace {

struct PrintCommands : AppFixture {
    PrintCommands() : AppFixture("[Font]\nfont_size=3000\n") {}
    void SetUp() override
    {
        AppFixture::SetUp();
        InstallWindowFactories();
        Start();
    }
    void TearDown() override { SetSearchWindowFactory({}); }
    void Settle()
    {
        for (int i = 0; i < 5; ++i) PumpWaitingMessages();
    }
    bool PrintEnabled() { return Enabled(cmd::kFilePrint); }
    bool PreviewEnabled() { return Enabled(cmd::kFilePrintPreview); }
};

TEST_F(PrintCommands, PreviewIsEnabledExactlyWhenPrintIs)
{
    EXPECT_FALSE(PrintEnabled());
    EXPECT_FALSE(PreviewEnabled());
    EXPECT_FALSE(Frame().Action(cmd::kFilePrintPreview)->isEnabled());

    ASSERT_TRUE(app->OpenText(tree.Write("a.txt", "one\n"), false));
    Settle();
    EXPECT_TRUE(PrintEnabled());
    EXPECT_TRUE(PreviewEnabled());
    EXPECT_TRUE(Frame().Action(cmd::kFilePrintPreview)->isEnabled());

    ASSERT_TRUE(app->OpenHex(tree.Write("b.bin", "two"), false));
    Settle();
    EXPECT_TRUE(PrintEnabled());
    EXPECT_TRUE(PreviewEnabled());

    SetSearchWindowFactory([](SearchWindowKind) { return new QWidget; });
    Frame().Execute(cmd::kFileGrep);
    Settle();
    EXPECT_FALSE(PrintEnabled());
    EXPECT_FALSE(PreviewEnabled());
}

TEST_F(PrintCommands, AFontTooLargeForThePageIsReportedAndNothingIsShown)
{
    ASSERT_TRUE(app->OpenText(tree.Write("wide.txt", "one\ntwo\n"), false));
    Settle();
    // Should a preview open after all, it is closed so the test ends.
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    guard.start(2000);
    Frame().Execute(cmd::kFilePrintPreview);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("wide.txt was not printed"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("not one line fits"), std::string::npos);
}

} // namespace
