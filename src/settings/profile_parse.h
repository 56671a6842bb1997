#pragma once
// How the settings file is read and taken apart into lines, shared by the
// reads, the writes and the read-once snapshot so that all of them follow
// the same rules.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile::parse {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The settings file as found. Anything that is not a regular file (a
// directory, a pipe, a device) and any read error count as unreadable: read
// as empty, never written. Never throws.
struct FileContents {
    enum class State { kMissing, kUnreadable, kRead };
    State state = State::kMissing;
    std::string bytes;        // without the byte-order mark
    bool byte_order_mark = false;
};
FileContents ReadSettingsFile(const std::string& path) noexcept;

// One line of the file: its text and the bytes that end it ("\r\n", "\n",
// a lone "\r" at the very end, or nothing), so that a line nobody changes
// is written back byte for byte.
struct Line {
    std::string_view text;
    std::string_view end;
};
std::vector<Line> SplitLines(std::string_view contents);

std::string_view Trim(std::string_view s);
// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line);
// The key of a "key=value" line (and its trimmed value), or nothing for
// comments and lines without '='.
std::optional<std::string_view> KeyOf(std::string_view line, std::string_view* value = nullptr);
// The decimal number (optional sign, then digits) at the start of a value;
// 0 when there is none. Saturates at the int range.
int ParseInt(std::string_view value);

} // namespace profile::parse
