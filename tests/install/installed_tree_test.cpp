// Installs the build into a temporary prefix, as `make install` does, and
// looks at what a desktop and a user find there.
#include "support/temp_tree.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kAppId = TARNWICK_APP_ID;

struct CommandRun {
    int exit_code = -1;
    std::string out;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a shell command with standard output and error in `log`.
CommandRun Shell(const std::string& command, const std::string& log)
{
    const int status = std::system((command + " >'" + log + "' 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(log)};
}

// Width and height from a PNG file's header chunk.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& path)
{
    const std::string bytes = ReadAll(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0) return {0, 0};
    auto be32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

class InstalledTree : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tree = std::make_unique<TempTree>();
        prefix = tree->Path("prefix");
        install = Shell(std::string("'") + TARNWICK_CMAKE + "' --install '" + TARNWICK_BUILD_DIR +
                            "' --prefix '" + prefix + "'",
                        tree->Path("install.log"));
        OpenTreeToOthers(tree->root());
    }
    static void TearDownTestSuite() { tree.reset(); }

    void SetUp() override { ASSERT_EQ(install.exit_code, 0) << install.out; }

    static std::string Installed(const std::string& relative) { return prefix + "/" + relative; }

    // The installed program run with no display and no settings override.
    static CommandRun Tarnwick(const std::string& arguments, const std::string& log)
    {
        return Shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u TARNWICK_INI '" +
                         Installed("bin/tarnwick") + "' " + arguments,
                     log);
    }

    static inline std::unique_ptr<TempTree> tree;
    static inline std::string prefix;
    static inline CommandRun install;
};

TEST_F(InstalledTree, HoldsTheProgramsTheirManualPagesAndTheDesktopFiles)
{
    for (const char* program : {"bin/tarnwick", "bin/tarnwick-grep", "bin/tarnwick-count"})
        EXPECT_EQ(::access(Installed(program).c_str(), X_OK), 0) << program;
    for (const char* page : {"tarnwick", "tarnwick-grep", "tarnwick-count"}) {
        const std::string bytes = ReadAll(Installed(std::string("share/man/man1/") + page + ".1.gz"));
        EXPECT_TRUE(bytes.size() > 100 && bytes.compare(0, 2, "\x1f\x8b") == 0) << page << " is not a gzip file";
    }
    EXPECT_TRUE(fs::is_regular_file(Installed("share/metainfo/" + kAppId + ".metainfo.xml")));

    const std::string entry = ReadAll(Installed("share/applications/" + kAppId + ".desktop"));
    EXPECT_NE(entry.find("\nExec=tarnwick %F\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=text/plain;\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=" + kAppId + "\n"), std::string::npos);
}

TEST_F(InstalledTree, IconOfTheDesktopEntryExistsInEverySizeItClaims)
{
    const std::string icons = Installed("share/icons/hicolor/");
    EXPECT_NE(ReadAll(icons + "scalable/apps/" + kAppId + ".svg").find("<svg"), std::string::npos);
    for (std::uint32_t size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        const std::string dir = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(PngSize(icons + dir + "/apps/" + kAppId + ".png"), std::make_pair(size, size)) << dir;
    }
}

TEST_F(InstalledTree, HelpAndVersionAnswerWithoutADisplay)
{
    const CommandRun version = Tarnwick("--version", tree->Path("version.log"));
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out, std::string("tarnwick ") + TARNWICK_VERSION + "\n");

    const CommandRun help = Tarnwick("--help", tree->Path("help.log"));
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_EQ(help.out.rfind("Usage: tarnwick [FILE]...\n", 0), 0u) << help.out;
    // The prefix belongs to whoever runs the test, so its bin folder is writable.
    EXPECT_NE(help.out.find("Settings file: " + Installed("bin/TARNWICK.INI") + "\n"), std::string::npos)
        << help.out;

    // Any other argument is a file to open, which needs a window.
    const CommandRun file = Tarnwick("'" + tree->Path("notes.txt") + "'", tree->Path("file.log"));
    EXPECT_EQ(file.exit_code, 1);
    EXPECT_NE(file.out.find("display"), std::string::npos) << file.out;
}

TEST_F(InstalledTree, UserWhoCannotWriteTheProgramFolderGetsTheConfigFolder)
{
    const std::string home = tree->MakeDir("home");
    GiveToUnprivilegedUser(home);
    const std::string log = home + "/help.log";
    const std::string bin = Installed("bin");
    fs::permissions(bin, fs::perms(0555));  // as a system's bin folder is to its users
    const int failed = RunUnprivileged([&] {
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        if (::access(bin.c_str(), W_OK) == 0) return 1;  // not the case under test
        const CommandRun help = Tarnwick("--help", log);
        if (help.exit_code != 0) return 2;
        if (help.out.find("Settings file: " + home + "/.config/tarnwick/TARNWICK.INI\n") == std::string::npos)
            return 3;
        if (fs::exists(home + "/.config")) return 4;  // telling where makes nothing
        return 0;
    });
    fs::permissions(bin, fs::perms(0755));
    EXPECT_EQ(failed, 0) << ReadAll(log);
}

} // namespace
