#pragma once
// The settings file read once: a window that sets itself up from many keys
// reads the file one time and looks every key up in memory. Lookups follow
// the rules of profile::ReadInt and profile::ReadString exactly: names match
// without regard to ASCII case, the first section of a name and the first
// key of a name within it win, and a file that is missing or cannot be read
// gives every default. Building one never throws.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace profile {

class Snapshot {
public:
    explicit Snapshot(const std::string& path);
    Snapshot();  // the file that SettingsPath() names

    int ReadInt(std::string_view section, std::string_view key, int fallback) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                           std::size_t limit) const;

    // The numbers n for which the section holds a key named prefix + n (n in
    // decimal without leading zeros, 1 .. `last`), in ascending order: the
    // items of a numbered list that are actually stored, however large its
    // stored count.
    std::vector<int> NumberedKeys(std::string_view section, std::string_view prefix, int last) const;

private:
    struct Section {
        std::unordered_map<std::string, std::string_view> values;  // lower-cased key -> value
    };
    const std::string_view* Find(std::string_view section, std::string_view key) const;

    std::string contents_;
    std::unordered_map<std::string, Section> sections_;  // lower-cased name -> its first section
};

} // namespace profile
