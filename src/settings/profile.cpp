#include "settings/profile.h"

#include "base/atomic_file.h"
#include "base/text_rules.h"
#include "settings/settings_path.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace profile {
namespace {

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::optional<std::string> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string_view> SplitLines(std::string_view contents)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        auto end = contents.find('\n', start);
        if (end == std::string_view::npos) end = contents.size();
        std::string_view line = contents.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    const std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

bool IsComment(std::string_view line)
{
    const std::string_view t = Trim(line);
    return !t.empty() && t.front() == ';';
}

// The key of a "key=value" line (and where its value starts), or nothing.
std::optional<std::string_view> KeyOf(std::string_view line, std::string_view* value = nullptr)
{
    if (IsComment(line)) return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    if (value) *value = Trim(line.substr(eq + 1));
    return Trim(line.substr(0, eq));
}

// Where a section and a key stand in the file's lines. The first section of
// a name and the first key of a name within it win, as later duplicates are
// never seen by a reader.
struct Location {
    std::optional<std::size_t> section_line;  // the "[name]" line
    std::size_t section_last = 0;             // last non-blank line of it
    std::optional<std::size_t> key_line;
    std::string_view value;
};

Location Locate(const std::vector<std::string_view>& lines, std::string_view section, std::string_view key)
{
    Location loc;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (loc.section_line) {
                if (inside) inside = false;
                continue;
            }
            inside = text::EqualsNoCaseAscii(*name, section);
            if (inside) {
                loc.section_line = i;
                loc.section_last = i;
            }
            continue;
        }
        if (!inside) continue;
        if (!Trim(lines[i]).empty()) loc.section_last = i;
        std::string_view value;
        if (!loc.key_line) {
            if (const auto k = KeyOf(lines[i], &value); k && text::EqualsNoCaseAscii(*k, key)) {
                loc.key_line = i;
                loc.value = value;
            }
        }
    }
    return loc;
}

std::optional<std::string> Lookup(std::string_view section, std::string_view key, const std::string& path)
{
    const auto contents = ReadFile(path);
    if (!contents) return std::nullopt;
    const auto lines = SplitLines(*contents);
    const Location loc = Locate(lines, section, key);
    if (!loc.key_line) return std::nullopt;
    return std::string(loc.value);
}

// A value never spans lines: a line break in it would forge other keys.
std::string OneLine(std::string_view value)
{
    std::string out(value);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

} // namespace

int ReadInt(std::string_view section, std::string_view key, int fallback, const std::string& path)
{
    const auto value = Lookup(section, key, path);
    if (!value) return fallback;
    std::size_t i = 0;
    bool negative = false;
    if (i < value->size() && ((*value)[i] == '-' || (*value)[i] == '+')) negative = (*value)[i++] == '-';
    long long n = 0;
    for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
        n = n * 10 + ((*value)[i] - '0');
        if (n > 0x7fffffffLL + 1) n = 0x7fffffffLL + 1;  // saturate instead of overflowing
    }
    if (negative) n = -n;
    if (n > 0x7fffffffLL) n = 0x7fffffffLL;
    return static_cast<int>(n);
}

std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                       std::size_t limit, const std::string& path)
{
    std::string value = Lookup(section, key, path).value_or(std::string(fallback));
    if (value.size() > limit) value.resize(limit);
    return value;
}

bool WriteString(std::string_view section, std::string_view key, std::string_view value, const std::string& path)
{
    const std::string contents = ReadFile(path).value_or(std::string());
    const auto lines = SplitLines(contents);
    const bool crlf = contents.find("\r\n") != std::string::npos;
    const std::string_view eol = crlf ? "\r\n" : "\n";
    const std::string key_text(Trim(key));
    const std::string entry = key_text + "=" + OneLine(value);

    const Location loc = Locate(lines, section, key);
    std::string out;
    out.reserve(contents.size() + entry.size() + section.size() + 8);
    auto emit = [&](std::string_view line) {
        out.append(line);
        out.append(eol);
    };

    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (loc.key_line && i == *loc.key_line) {
            // Keep the key's spelling in the file; replace only the value.
            const std::string_view old = lines[i];
            const auto eq = old.find('=');
            emit(std::string(Trim(old.substr(0, eq))) + "=" + OneLine(value));
            continue;
        }
        emit(lines[i]);
        if (!loc.key_line && loc.section_line && i == loc.section_last) emit(entry);
    }
    if (!loc.section_line) {
        emit("[" + std::string(Trim(section)) + "]");
        emit(entry);
    }
    return ReplaceFileContents(path, out);
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
