#include "settings/profile.h"
#include "settings/settings_path.h"
#include "support/temp_tree.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(SettingsPath, OverrideNamesTheFile)
{
    ScopedSettingsFile settings;
    EXPECT_EQ(SettingsPath(), settings.path());
    EXPECT_EQ(SettingsPathIn("/usr/bin"), settings.path());
    EXPECT_EQ(SettingsLocation(), settings.path());
}

TEST(SettingsPath, WithoutOverrideTheFileLiesBesideTheExecutable)
{
    ScopedSettingsFile keep_restoring;
    ::unsetenv("TARNWICK_INI");
    const auto exe_dir = fs::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(SettingsPath(), (exe_dir / "TARNWICK.INI").string());
}

// Each case runs in a child process, so that the environment it sets up
// (HOME, XDG_CONFIG_HOME, no TARNWICK_INI) never reaches other tests. The
// child returns the number of the first check that failed, 0 when all hold.
class SettingsLocationRule : public testing::Test {
protected:
    void SetUp() override
    {
        home = tree.MakeDir("home");
        program = tree.MakeDir("program");
        GiveToUnprivilegedUser(home);
        OpenTreeToOthers(tree.root());
    }

    static void UseEnvironment(const std::string& home_dir, const char* config_home)
    {
        ::unsetenv("TARNWICK_INI");
        ::setenv("HOME", home_dir.c_str(), 1);
        if (config_home)
            ::setenv("XDG_CONFIG_HOME", config_home, 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    // Runs body() in a forked child as the current user; its result, or -1.
    static int RunInChild(const std::function<int()>& body)
    {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(body());
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }

    static bool IsPrivateFolder(const std::string& path)
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & 0777) == 0700;
    }

    TempTree tree;
    std::string home, program;
};

TEST_F(SettingsLocationRule, ReadOnlyProgramDirectorySendsTheFileToTheConfigFolder)
{
    fs::permissions(program, fs::perms(0555));
    const std::string config = home + "/config/deeper";
    const int failed = RunUnprivileged([&] {
        UseEnvironment(home, config.c_str());
        const std::string expected = config + "/tarnwick/TARNWICK.INI";
        const std::string path = SettingsPathIn(program);
        if (path != expected) return 1;
        if (!IsPrivateFolder(config) || !IsPrivateFolder(config + "/tarnwick")) return 2;
        if (fs::exists(expected)) return 3;  // the file waits for the first write
        if (!profile::WriteString("Prefs", "TabSize", "4", path)) return 4;
        if (profile::ReadInt("Prefs", "TabSize", 0, SettingsPathIn(program)) != 4) return 5;
        if (fs::exists(program + "/TARNWICK.INI")) return 6;
        return 0;
    });
    EXPECT_EQ(failed, 0);
}

TEST_F(SettingsLocationRule, WritableProgramDirectoryKeepsTheFileBesideTheProgram)
{
    GiveToUnprivilegedUser(program);
    const std::string config = home + "/config";
    const int failed = RunUnprivileged([&] {
        UseEnvironment(home, config.c_str());
        if (SettingsPathIn(program) != program + "/TARNWICK.INI") return 1;
        if (fs::exists(config)) return 2;  // nothing is made elsewhere
        return 0;
    });
    EXPECT_EQ(failed, 0);
}

TEST_F(SettingsLocationRule, ConfigFolderDefaultsToDotConfigAndIgnoresARelativeBase)
{
    const int failed = RunUnprivileged([&] {
        UseEnvironment(home, nullptr);
        if (SettingsPathIn("/usr/bin") != home + "/.config/tarnwick/TARNWICK.INI") return 1;
        UseEnvironment(home, "relative/config");
        if (SettingsPathIn("/usr/bin") != home + "/.config/tarnwick/TARNWICK.INI") return 2;
        return 0;
    });
    EXPECT_EQ(failed, 0);
}

TEST_F(SettingsLocationRule, SystemProgramDirectoryIsNeverUsedEvenWhenWritable)
{
    // Root may write /usr/bin, yet an installed program keeps no file there.
    const std::string config = home + "/config";
    const int failed = RunInChild([&] {
        UseEnvironment(home, config.c_str());
        for (const char* dir : {"/usr/bin", "/usr/local/bin", "/opt/tarnwick/bin", "/bin"})
            if (SettingsPathIn(dir) != config + "/tarnwick/TARNWICK.INI") return 1;
        return 0;
    });
    EXPECT_EQ(failed, 0);
}

TEST(SettingsPath, ARelativeOverrideStaysWhereItWasWhenTheProgramStarted)
{
    ScopedSettingsFile keep_restoring;
    TempTree tree;
    const std::string start = tree.MakeDir("start");
    const std::string elsewhere = tree.MakeDir("searched");
    const fs::path previous = fs::current_path();
    fs::current_path(start);
    ::setenv("TARNWICK_INI", "conf/TARNWICK.INI", 1);
    AnchorSettingsOverride();
    fs::current_path(elsewhere);  // as a Grep run does
    const std::string path = SettingsPath();
    fs::current_path(previous);
    EXPECT_EQ(path, start + "/conf/TARNWICK.INI");
}
