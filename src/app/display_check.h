#pragma once
#include <string>

// Whether a window can be shown: a Qt platform other than X or Wayland is
// named, a Wayland display is set, or DISPLAY names an X server that is
// there (local displays are checked by their socket). Otherwise `why` says
// what is missing.
bool DisplayAvailable(std::string& why);
