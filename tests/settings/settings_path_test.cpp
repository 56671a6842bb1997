#include "settings/settings_path.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(SettingsPath, OverrideNamesTheFile)
{
    ScopedSettingsFile settings;
    EXPECT_EQ(SettingsPath(), settings.path());
}

TEST(SettingsPath, WithoutOverrideTheFileLiesBesideTheExecutable)
{
    ScopedSettingsFile keep_restoring;
    ::unsetenv("TARNWICK_INI");
    const auto exe_dir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(SettingsPath(), (exe_dir / "TARNWICK.INI").string());
}
