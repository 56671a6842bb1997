#pragma once
// Counting line feeds in a block of bytes at memory speed.

#include <cstddef>

std::size_t CountLineFeeds(const char* begin, const char* end) noexcept;
