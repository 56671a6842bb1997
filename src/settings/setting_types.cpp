#include "settings/setting_types.h"

#include "settings/profile.h"
#include "settings/profile_snapshot.h"

#include <cstdio>

namespace setting {

int IntSetting::Limit(int stored) const
{
    if (stored >= min && stored <= max) return stored;
    if (out_of_range == OutOfRange::kDefault) return fallback;
    return stored < min ? min : max;
}

int IntSetting::Read(const profile::Snapshot& settings) const
{
    return Limit(settings.ReadInt(section, key, fallback));
}

int IntSetting::Read(const std::string& path) const
{
    return Limit(profile::ReadInt(section, key, fallback, path));
}

std::string IntSetting::Format(int value)
{
    return std::to_string(value);
}

bool IntSetting::Write(int value, const std::string& path) const
{
    return profile::WriteString(section, key, Format(value), path);
}

bool FlagSetting::Read(const profile::Snapshot& settings) const
{
    return settings.ReadInt(section, key, fallback ? 1 : 0) != 0;
}

bool FlagSetting::Read(const std::string& path) const
{
    return profile::ReadInt(section, key, fallback ? 1 : 0, path) != 0;
}

std::string FlagSetting::Format(bool value)
{
    return value ? "1" : "0";
}

bool FlagSetting::Write(bool value, const std::string& path) const
{
    return profile::WriteString(section, key, Format(value), path);
}

std::string TextSetting::Read(const profile::Snapshot& settings) const
{
    return settings.ReadString(section, key, fallback, limit);
}

std::string TextSetting::Read(const std::string& path) const
{
    return profile::ReadString(section, key, fallback, limit, path);
}

bool TextSetting::Write(std::string_view value, const std::string& path) const
{
    return profile::WriteString(section, key, value, path);
}

Rgb ParseRgb(std::string_view text)
{
    Rgb colour;
    const std::string copy(text);
    std::sscanf(copy.c_str(), "%d %d %d", &colour.red, &colour.green, &colour.blue);
    return colour;
}

std::string FormatRgb(Rgb colour)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d %d %d", colour.red, colour.green, colour.blue);
    return text;
}

Rgb LowBytes(Rgb colour)
{
    return {colour.red & 0xFF, colour.green & 0xFF, colour.blue & 0xFF};
}

Rgb ColourSetting::Read(const profile::Snapshot& settings) const
{
    return ParseRgb(settings.ReadString(section, key, FormatRgb(fallback), limit));
}

bool ColourSetting::Write(Rgb colour, const std::string& path) const
{
    return profile::WriteString(section, key, FormatRgb(colour), path);
}

Font FontSetting::Read(const profile::Snapshot& settings) const
{
    return {face.Read(settings), size.Read(settings), weight.Read(settings)};
}

std::string ListSetting::ItemKey(int number) const
{
    return std::string(item_prefix) + std::to_string(number);
}

std::vector<int> ListSetting::StoredNumbers(const profile::Snapshot& settings, int last) const
{
    return settings.NumberedKeys(section, item_prefix, last);
}

std::string ListSetting::ReadItem(const profile::Snapshot& settings, int number) const
{
    return settings.ReadString(section, ItemKey(number), "", item_limit);
}

bool ListSetting::WriteItem(int number, std::string_view text, const std::string& path) const
{
    return profile::WriteString(section, ItemKey(number), text, path);
}

std::string ListSetting::ReadSelected(const profile::Snapshot& settings) const
{
    return settings.ReadString(section, selected_key, "", item_limit);
}

}  // namespace setting
