#pragma once
// The program's case rules: folding works on the ASCII letters only and
// takes every byte as unsigned, whatever the locale; letters outside ASCII
// compare exactly. (Characters and word characters: base/characters.h.)

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

constexpr char ToLowerAscii(char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char ToUpperAscii(char c) noexcept
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool IsPrintable(char c) noexcept
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u <= 0x7E;
}

inline std::string LowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = ToLowerAscii(c);
    return out;
}

inline std::string UpperAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = ToUpperAscii(c);
    return out;
}

inline bool EqualsNoCaseAscii(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    return true;
}

} // namespace text
