#include "base/state_folder.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// A relative XDG_STATE_HOME is not valid and is ignored, as the base
// directory rules ask.
std::string StateHome()
{
    if (const char* xdg = Variable("XDG_STATE_HOME"); xdg && xdg[0] == '/') return xdg;
    std::string home;
    if (const char* h = Variable("HOME"))
        home = h;
    else if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_dir)
        home = entry->pw_dir;
    if (home.empty() || home[0] != '/') return {};
    return home + "/.local/state";
}

// Makes `dir` (0700) unless it exists.
bool MakeFolder(const std::string& dir)
{
    return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

// The user's own folder, no link, written by nobody else.
bool Trusted(const std::string& dir)
{
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 022) == 0;
}

} // namespace

std::string StateFolder(std::string_view name, bool make)
{
    const std::string home = StateHome();
    if (home.empty()) return {};
    const std::string program = home + "/tarnwick";
    const std::string folder = program + "/" + std::string(name);
    if (!make) return Trusted(program) && Trusted(folder) ? folder : std::string();
    // The base folders may be shared ones (~/.local); only ours is checked.
    std::string partial;
    for (std::size_t at = 1; at <= home.size(); ++at) {
        if (at == home.size() || home[at] == '/') {
            partial = home.substr(0, at);
            if (!MakeFolder(partial)) return {};
        }
    }
    if (!MakeFolder(program) || !Trusted(program) || !MakeFolder(folder) || !Trusted(folder)) return {};
    return folder;
}
