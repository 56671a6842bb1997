#pragma once
// printf-style formatting of a string-table text.

#include <string>

__attribute__((format(printf, 1, 2))) std::string FormatText(const char* format, ...);
