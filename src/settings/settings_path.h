#pragma once
#include <string>

// Where the settings file lives, computed anew on every call:
//  - the file named by TARNWICK_INI when that variable is set;
//  - otherwise TARNWICK.INI beside the running executable when its
//    directory can be written (a copy run from its build tree or from a
//    folder of its own keeps its settings with it);
//  - otherwise, for an installed program, TARNWICK.INI in the "tarnwick"
//    folder of $XDG_CONFIG_HOME (default ~/.config).
// A program directory under /usr, /bin, /sbin or /opt belongs to the
// system: even root never keeps the file there.
//
// The per-user folder is made (mode 0700) when it is missing, so that the
// first write can create the file.
std::string SettingsPath();

// The same for a program kept in `program_dir`.
std::string SettingsPathIn(const std::string& program_dir);

// Where SettingsPath() points, without making any folder: for messages.
std::string SettingsLocation();

// Makes a relative TARNWICK_INI absolute, against the current directory
// at the time of the call. The program does this once at start-up: a Grep
// run makes the searched folder current, and a relative name would then
// lead there.
void AnchorSettingsOverride();

// The directory of the running executable ("." when it cannot be found).
std::string ProgramDirectory();
