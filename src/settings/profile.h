#pragma once
// The settings file's three operations. Section and key names match without
// regard to ASCII case, spaces around names and values are trimmed, lines
// that start with ';' are comments, and LF and CR LF lines are both read; a
// UTF-8 byte-order mark at the start is skipped (and kept by writes).
// Every call reads the file anew; nothing is cached between calls. A window
// that reads many keys at once takes a profile::Snapshot instead.
//
// Nothing here throws. A file that cannot be read (no permission, a read
// error, a directory, pipe or device in its place) reads as empty and is
// never written; a read-only file is not rewritten; a writable file in a
// directory that cannot be written is updated in place.

#include <string>
#include <string_view>

namespace profile {

// The decimal number (optional sign, then digits) at the start of the value;
// `fallback` when the file, the section or the key is missing; 0 when the
// value does not start with a number.
int ReadInt(std::string_view section, std::string_view key, int fallback,
            const std::string& path);

// The value cut to `limit` characters; `fallback` when the file, the
// section or the key is missing.
std::string ReadString(std::string_view section, std::string_view key,
                       std::string_view fallback, std::size_t limit,
                       const std::string& path);

// Replaces the value in place, or adds the key after the last line of its
// section, or appends the section, or creates the file. Nothing is deleted,
// and every other line keeps its bytes, line end included. The file is
// replaced safely (base/atomic_file.h); a failed write changes nothing and
// returns false (callers stay silent about it).
bool WriteString(std::string_view section, std::string_view key,
                 std::string_view value, const std::string& path);

bool WriteInt(std::string_view section, std::string_view key, int value,
              const std::string& path);

// The same operations on the file that SettingsPath() names.
int ReadInt(std::string_view section, std::string_view key, int fallback);
std::string ReadString(std::string_view section, std::string_view key,
                       std::string_view fallback, std::size_t limit);
bool WriteString(std::string_view section, std::string_view key, std::string_view value);
bool WriteInt(std::string_view section, std::string_view key, int value);

} // namespace profile
