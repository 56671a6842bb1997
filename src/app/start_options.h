#pragma once
// The options the program answers before any window is made, so that they
// work without a display: --help (-h) and --version print and end the
// program. Every other argument is a file to open.

#include <cstdio>
#include <optional>

// The exit status when argv held --help, -h or --version (after printing
// its answer on `out`), nothing when the program should start.
std::optional<int> AnswerStartOption(int argc, char** argv, std::FILE* out);
