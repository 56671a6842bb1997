#pragma once
// The program's private state: $XDG_STATE_HOME/tarnwick/<name>/ (by
// default ~/.local/state/tarnwick/<name>/), folders 0700, made when
// missing. Only a folder that belongs to the user and that nobody else may
// write is used.

#include <string>
#include <string_view>

// The folder's path, made when missing (with `make`); empty when it is
// missing and not to be made, cannot be made or may not be trusted.
std::string StateFolder(std::string_view name, bool make = true);
