// What the program answers before it makes a window, and where the About
// box says the settings file is.
#include "app/about_dlg.h"
#include "app/start_options.h"
#include "support/temp_tree.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Answer {
    std::optional<int> status;
    std::string printed;
};

Answer Start(std::vector<std::string> args)
{
    args.insert(args.begin(), "tarnwick");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::FILE* out = std::tmpfile();
    Answer answer{AnswerStartOption(static_cast<int>(args.size()), argv.data(), out), {}};
    std::rewind(out);
    for (int c; (c = std::fgetc(out)) != EOF;) answer.printed += static_cast<char>(c);
    std::fclose(out);
    return answer;
}

TEST(StartOptions, VersionPrintsTheProgramAndItsVersion)
{
    const Answer answer = Start({"--version"});
    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(answer.printed.rfind("tarnwick ", 0), 0u);
    EXPECT_EQ(answer.printed.back(), '\n');
}

TEST(StartOptions, HelpNamesTheSettingsFileInUseWhereverItStands)
{
    ScopedSettingsFile ini;
    for (const auto& args : {std::vector<std::string>{"--help"}, {"-h"}, {"a.txt", "--help"}}) {
        const Answer answer = Start(args);
        EXPECT_EQ(answer.status, 0);
        EXPECT_EQ(answer.printed.rfind("Usage: tarnwick [FILE]...\n", 0), 0u);
        EXPECT_NE(answer.printed.find("Settings file: " + ini.path() + "\n"), std::string::npos) << answer.printed;
    }
}

TEST(StartOptions, FilesAndOtherArgumentsStartTheProgram)
{
    EXPECT_EQ(Start({}).status, std::nullopt);
    const Answer answer = Start({"notes.txt", "--helpful", "-version", "-"});
    EXPECT_EQ(answer.status, std::nullopt);
    EXPECT_EQ(answer.printed, "");
}

TEST(AboutDlg, SaysWhereTheSettingsFileIs)
{
    ScopedSettingsFile ini;
    AboutDlg dialog(nullptr);
    EXPECT_EQ(dialog.SettingsFileField()->text().toStdString(), "Settings file: " + ini.path());
}

} // namespace
