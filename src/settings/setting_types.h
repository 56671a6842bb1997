#pragma once
// The kinds of setting the settings file holds, each declared once with its
// section, key, default and limits (settings/setting_schema.h lists them).
// Read and Write apply the limits and the text form here, so that every
// window that reads a key reads the same value.

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace profile {
class Snapshot;
}  // namespace profile

namespace setting {

// A number outside its limits is either brought to the nearest limit or
// read as the default, as each setting's readers have always taken it.
enum class OutOfRange { kClamp, kDefault };

struct IntSetting {
    std::string_view section;
    std::string_view key;
    int fallback;
    int min = INT_MIN;
    int max = INT_MAX;
    OutOfRange out_of_range = OutOfRange::kClamp;

    int Limit(int stored) const;
    int Read(const profile::Snapshot& settings) const;
    int Read(const std::string& path) const;
    static std::string Format(int value);
    bool Write(int value, const std::string& path) const;
};

// "1" for on, "0" for off; any other number but 0 reads as on.
struct FlagSetting {
    std::string_view section;
    std::string_view key;
    bool fallback;

    bool Read(const profile::Snapshot& settings) const;
    bool Read(const std::string& path) const;
    static std::string Format(bool value);
    bool Write(bool value, const std::string& path) const;
};

struct TextSetting {
    std::string_view section;
    std::string_view key;
    std::string_view fallback;
    std::size_t limit;  // characters kept of a longer value

    std::string Read(const profile::Snapshot& settings) const;
    std::string Read(const std::string& path) const;
    bool Write(std::string_view value, const std::string& path) const;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Three decimal numbers red, green, blue separated by spaces; a number that
// is missing reads as 0. The numbers are returned as stored: a reader that
// needs 0..255 takes the low 8 bits (LowBytes) or looks the colour up.
Rgb ParseRgb(std::string_view text);
std::string FormatRgb(Rgb colour);
Rgb LowBytes(Rgb colour);

struct ColourSetting {
    std::string_view section;
    std::string_view key;
    Rgb fallback;
    std::size_t limit;  // characters of the stored text taken for parsing

    Rgb Read(const profile::Snapshot& settings) const;
    bool Write(Rgb colour, const std::string& path) const;
};

// A font as the views make it: the face, the cell height in pixels and the
// weight (0 for the face's normal weight, otherwise 1..1000 with 400
// normal and 700 bold).
struct Font {
    std::string face;
    int size = 12;
    int weight = 0;
};

struct FontSetting {
    TextSetting face;
    IntSetting size;
    IntSetting weight;

    Font Read(const profile::Snapshot& settings) const;
};

// A numbered list: a count and the items prefix + 1 .. prefix + count; a
// history list also keeps the text last chosen under `selected_key`.
struct ListSetting {
    std::string_view section;
    IntSetting count;
    std::string_view item_prefix;
    std::size_t item_limit;
    std::string_view selected_key = {};

    std::string ItemKey(int number) const;
    // The numbers 1 .. `last` whose items are actually stored, ascending
    // (profile::Snapshot::NumberedKeys).
    std::vector<int> StoredNumbers(const profile::Snapshot& settings, int last) const;
    std::string ReadItem(const profile::Snapshot& settings, int number) const;
    std::string ReadSelected(const profile::Snapshot& settings) const;
    bool WriteItem(int number, std::string_view text, const std::string& path) const;
};

}  // namespace setting
