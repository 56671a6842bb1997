#pragma once
#include <string>

// Full path of the settings file, computed anew on every call: the file
// named by TARNWICK_INI when that variable is set, otherwise TARNWICK.INI
// in the directory of the running executable.
std::string SettingsPath();
