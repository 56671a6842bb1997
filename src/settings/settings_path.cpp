#include "settings/settings_path.h"

#include "resources/strings.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string SettingsPath()
{
    if (const char* override_path = std::getenv("TARNWICK_INI"); override_path && *override_path)
        return override_path;

    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string dir = ec ? std::string(".") : exe.parent_path().string();
    return dir + "/" + strings::Text(strings::kSettingsFileName);
}
