#include "app/display_check.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// ":0", ":1.0", "unix:2": the local socket /tmp/.X11-unix/X<n>.
bool LocalDisplayMissing(const std::string& display)
{
    const auto colon = display.rfind(':');
    if (colon == std::string::npos) return false;
    const std::string host = display.substr(0, colon);
    if (!host.empty() && host != "unix") return false;  // remote: let Qt try
    std::string number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty()) return false;
    struct stat info{};
    return ::stat(("/tmp/.X11-unix/X" + number).c_str(), &info) != 0;
}

} // namespace

bool DisplayAvailable(std::string& why)
{
    // A platform named outright (offscreen, vnc, ...) needs no display;
    // only X and Wayland are checked.
    const std::string platform = Env("QT_QPA_PLATFORM");
    const bool wants_x = platform.rfind("xcb", 0) == 0;
    const bool wants_wayland = platform.rfind("wayland", 0) == 0;
    if (!platform.empty() && !wants_x && !wants_wayland) return true;
    if (wants_wayland) {
        if (!Env("WAYLAND_DISPLAY").empty()) return true;
        why = "no Wayland display found (WAYLAND_DISPLAY is not set)";
        return false;
    }
    if (!wants_x && !Env("WAYLAND_DISPLAY").empty()) return true;
    const std::string display = Env("DISPLAY");
    if (display.empty()) {
        why = "no display found (DISPLAY is not set)";
        return false;
    }
    if (LocalDisplayMissing(display)) {
        why = "no X server answers on DISPLAY=" + display;
        return false;
    }
    return true;
}
