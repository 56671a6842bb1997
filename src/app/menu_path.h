#pragma once
// A path shortened for a menu item: long paths lose their middle, so the
// menu stays narrow while the top directory and the file name (with as
// much of its own directory as fits) stay readable:
//   /home/anne/.../tarnwick/src/app/main_win.cpp

#include <cstddef>
#include <string>
#include <string_view>

// Paths of the recent-file list are shortened to this many characters.
inline constexpr std::size_t kMenuPathLimit = 60;

// `path` itself when it has at most `limit` characters (UTF-8 sequences
// count as one); otherwise its first directory, "...", then the trailing
// directories that fit and the file name. A file name longer than the
// limit loses its own middle.
std::string ShortenPathForMenu(std::string_view path, std::size_t limit = kMenuPathLimit);
