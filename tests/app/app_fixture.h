#pragma once
// A running application object over a settings file of the test's own,
// with message boxes answered by the test and stand-in windows (a test
// may install others in its SetUp after this one's).

#include "app/main_win.h"
#include "app/tw_app.h"
#include "framework/mdi_child.h"
#include "framework/message_box.h"
#include "framework/window_factories.h"
#include "resources/command_ids.h"
#include "support/placeholder_windows.h"
#include "support/temp_tree.h"

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMenu>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct AppFixture : ::testing::Test {
    explicit AppFixture(std::string_view settings = {}) : ini(settings) {}
    ~AppFixture() override { fw::SetMessageHook({}); }

    void SetUp() override
    {
        InstallPlaceholderWindows();
        fw::SetMessageHook([this](const fw::MessageRequest& r) {
            messages.push_back(r.text.toStdString());
            return fw::kIdOk;
        });
    }

    void TearDown() override
    {
        app.reset();
        SetViewFactory({});
        SetSearchWindowFactory({});
        SetPreferencesRunner({});
        SetExtensionsRunner({});
    }

    // Builds and shows the frame as the start function does.
    void Start(std::vector<std::string> args = {})
    {
        arguments = std::move(args);
        argv.clear();
        argv.push_back(const_cast<char*>("tarnwick"));
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        app = std::make_unique<TWApp>("Tarnwick", static_cast<int>(arguments.size()), argv.data());
        app->InitMainWindow();
        app->InitInstance();
    }

    MainWin& Frame() { return *app->Frame(); }
    int Children() { return static_cast<int>(Frame().Client()->subWindowList().size()); }
    bool Enabled(cmd::Command id) { return Frame().IsCommandEnabled(id); }

    // The texts of the recent-file items at the end of the File menu.
    std::vector<std::string> RecentItems()
    {
        std::vector<std::string> items;
        for (QAction* a : Frame().FileMenu()->actions())
            if (a->property("recentId").toInt() != 0) items.push_back(a->text().toStdString());
        return items;
    }

    int SeparatorsAfterExit()
    {
        int count = 0;
        bool after = false;
        for (QAction* a : Frame().FileMenu()->actions()) {
            if (a->objectName() == "action24310") after = true;
            else if (after && a->isSeparator()) ++count;
        }
        return count;
    }

    ScopedSettingsFile ini;
    TempTree tree;
    std::vector<std::string> messages;
    std::vector<std::string> arguments;
    std::vector<char*> argv;
    std::unique_ptr<TWApp> app;
};
