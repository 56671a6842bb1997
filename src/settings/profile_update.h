#pragma once
// Settings writes of the search windows that skip a value already stored:
// every Go stores its options and histories again, and each write replaces
// the whole settings file with an fsync.

#include "settings/profile.h"

#include <string>
#include <string_view>

namespace profile_update {

inline bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path)
{
    // A value longer than the read limit is never taken as unchanged.
    constexpr std::size_t kLimit = 4096;
    if (value.size() < kLimit) {
        const std::string missing(1, '\x01');  // no stored value can hold it
        if (profile::ReadString(section, key, missing, kLimit, path) == value) return true;
    }
    return profile::WriteString(section, key, value, path);
}

inline bool WriteInt(std::string_view section, std::string_view key, int value, const std::string& path)
{
    return WriteString(section, key, std::to_string(value), path);
}

} // namespace profile_update
