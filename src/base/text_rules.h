#pragma once
// The program's text rules: case folding and character classes work on the
// ASCII letters only and take every byte as unsigned, whatever the locale.

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

// Word characters are the ASCII letters and digits; the underscore, every
// control byte and every byte from 0x80 up end a word.
constexpr bool IsWordChar(char c) noexcept
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
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
