#pragma once
// A hit with the lines around it, for the Grep window's preview: up to
// `around` lines before and after the hit's line, each cut as the text
// column cuts it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ContextLine {
    long number = 0;
    std::string bytes;  // without its line end
    bool hit = false;
};

// Empty when the file cannot be read.
std::vector<ContextLine> ReadHitContext(const std::string& path, long line, std::uint64_t line_offset, int around);
