#include "settings/profile.h"

#include "base/atomic_file.h"
#include "base/text_rules.h"
#include "settings/profile_parse.h"
#include "settings/settings_lock.h"
#include "settings/settings_path.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace profile {
namespace {

// Where a section and a key stand in the file's lines. The first section of
// a name and the first key of a name within it win, as later duplicates are
// never seen by a reader.
struct Location {
    std::optional<std::size_t> section_line;  // the "[name]" line
    std::size_t section_last = 0;             // last non-blank line of it
    std::optional<std::size_t> key_line;
};

Location Locate(const std::vector<parse::Line>& lines, std::string_view section, std::string_view key)
{
    Location loc;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = parse::SectionName(lines[i].text)) {
            inside = !loc.section_line && text::EqualsNoCaseAscii(*name, section);
            if (inside) loc.section_line = loc.section_last = i;
            continue;
        }
        if (!inside) continue;
        if (!parse::Trim(lines[i].text).empty()) loc.section_last = i;
        if (!loc.key_line)
            if (const auto k = parse::KeyOf(lines[i].text); k && text::EqualsNoCaseAscii(*k, key)) loc.key_line = i;
    }
    return loc;
}

// A value never spans lines: a line break in it would forge other keys.
std::string OneLine(std::string_view value)
{
    std::string out(value);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

// The line end of lines this program adds: the file's first one, LF for a
// new file.
std::string_view NewLineEnd(const std::vector<parse::Line>& lines)
{
    for (const parse::Line& line : lines)
        if (line.end == "\r\n" || line.end == "\n") return line.end;
    return "\n";
}

// The whole new file with the key written, or nothing when the file may
// not be written (it exists but cannot be read).
std::optional<std::string> Rewritten(std::string_view section, std::string_view key, std::string_view value,
                                     const std::string& path)
{
    const parse::FileContents file = parse::ReadSettingsFile(path);
    if (file.state == parse::FileContents::State::kUnreadable) return std::nullopt;
    const auto lines = parse::SplitLines(file.bytes);
    const std::string_view eol = NewLineEnd(lines);
    const std::string entry = std::string(parse::Trim(key)) + "=" + OneLine(value);
    const Location loc = Locate(lines, section, key);

    std::string out;
    out.reserve(file.bytes.size() + entry.size() + section.size() + 16);
    if (file.byte_order_mark) out.append(parse::kByteOrderMark);
    // Every line nobody changes goes back as it was, its line end included.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const parse::Line& line = lines[i];
        if (loc.key_line && i == *loc.key_line) {
            // Keep the key's spelling in the file; replace only the value.
            out.append(parse::Trim(line.text.substr(0, line.text.find('='))));
            out.append("=").append(OneLine(value)).append(line.end);
            continue;
        }
        out.append(line.text).append(line.end);
        const bool add_here = !loc.key_line && loc.section_line && i == loc.section_last;
        // The last line had no LF to end it. A lone CR there gets its LF
        // (a CR LF end, whatever the file's style): another end after the
        // CR would make the CR part of the line's value.
        if (add_here || (!loc.section_line && i + 1 == lines.size())) {
            if (line.end.empty()) out.append(eol);
            else if (line.end == "\r") out.append("\n");
        }
        if (add_here) out.append(entry).append(eol);
    }
    if (!loc.section_line) out.append("[").append(parse::Trim(section)).append("]").append(eol).append(entry).append(eol);
    return out;
}

// The value of one key, found by one pass over the lines (a Snapshot would
// index every key of the file first).
std::optional<std::string> Lookup(std::string_view section, std::string_view key, const std::string& path)
{
    const SettingsLock lock(path, SettingsLock::Mode::kShared);
    const parse::FileContents file = parse::ReadSettingsFile(path);
    if (file.state != parse::FileContents::State::kRead) return std::nullopt;
    const auto lines = parse::SplitLines(file.bytes);
    const Location loc = Locate(lines, section, key);
    if (!loc.key_line) return std::nullopt;
    std::string_view value;
    parse::KeyOf(lines[*loc.key_line].text, &value);
    return std::string(value);
}

} // namespace

int ReadInt(std::string_view section, std::string_view key, int fallback, const std::string& path)
{
    try {
        const auto value = Lookup(section, key, path);
        return value ? parse::ParseInt(*value) : fallback;
    } catch (...) {
        return fallback;
    }
}

std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                       std::size_t limit, const std::string& path)
{
    try {
        std::string value = Lookup(section, key, path).value_or(std::string(fallback));
        if (value.size() > limit) value.resize(limit);
        return value;
    } catch (...) {
        return {};
    }
}

bool WriteString(std::string_view section, std::string_view key, std::string_view value, const std::string& path)
{
    try {
        // Read and write under one lock, so that a key another writer adds
        // meanwhile is not lost.
        const SettingsLock lock(path, SettingsLock::Mode::kExclusive);
        const auto contents = Rewritten(section, key, value, path);
        return contents && ReplaceFileContents(path, *contents);
    } catch (...) {
        return false;
    }
}

bool WriteInt(std::string_view section, std::string_view key, int value, const std::string& path)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", value);
    return WriteString(section, key, buf, path);
}

int ReadInt(std::string_view section, std::string_view key, int fallback)
{
    return ReadInt(section, key, fallback, SettingsPath());
}

std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback, std::size_t limit)
{
    return ReadString(section, key, fallback, limit, SettingsPath());
}

bool WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    return WriteString(section, key, value, SettingsPath());
}

bool WriteInt(std::string_view section, std::string_view key, int value)
{
    return WriteInt(section, key, value, SettingsPath());
}

} // namespace profile
