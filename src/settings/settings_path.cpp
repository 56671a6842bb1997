#include "settings/settings_path.h"

#include "resources/strings.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <utility>
#include <unistd.h>

namespace {

constexpr const char* kUserFolder = "tarnwick";

std::string FileName()
{
    return strings::Text(strings::kSettingsFileName);
}

const char* Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

std::string HomeDirectory()
{
    if (const char* home = Variable("HOME")) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return ".";
}

// The base of per-user configuration. A relative XDG_CONFIG_HOME is not
// valid and is ignored, as the base directory rules ask.
std::string ConfigHome()
{
    if (const char* xdg = Variable("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
    return HomeDirectory() + "/.config";
}

bool UnderSystemTree(const std::string& dir)
{
    for (const std::string_view root : {"/usr", "/bin", "/sbin", "/opt"}) {
        const std::string_view d(dir);
        if (d.starts_with(root) && (d.size() == root.size() || d[root.size()] == '/')) return true;
    }
    return false;
}

// Makes every missing directory of `dir`, each private to its owner.
void MakeFolders(const std::filesystem::path& dir)
{
    std::filesystem::path partial;
    for (const auto& part : dir) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return;
    }
}

std::string UserPath()
{
    return ConfigHome() + "/" + kUserFolder + "/" + FileName();
}

struct Location {
    std::string path;
    bool per_user = false;  // the folder under the configuration base
};

Location Locate(const std::string& program_dir)
{
    if (const char* override_path = Variable("TARNWICK_INI")) return {override_path};
    if (!UnderSystemTree(program_dir) && ::access(program_dir.c_str(), W_OK | X_OK) == 0)
        return {program_dir + "/" + FileName()};
    return {UserPath(), true};
}

} // namespace

void AnchorSettingsOverride()
{
    const char* named = Variable("TARNWICK_INI");
    if (!named || named[0] == '/') return;
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (!ec) ::setenv("TARNWICK_INI", (here / named).c_str(), 1);
}

std::string ProgramDirectory()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::string SettingsPathIn(const std::string& program_dir)
{
    Location where = Locate(program_dir);
    if (where.per_user) MakeFolders(std::filesystem::path(where.path).parent_path());
    return std::move(where.path);
}

std::string SettingsPath()
{
    return SettingsPathIn(ProgramDirectory());
}

std::string SettingsLocation()
{
    return Locate(ProgramDirectory()).path;
}
