#pragma once
// What a character is in the program's byte texts. A document holds the
// file's bytes as they are; its characters are read from them as UTF-8: a
// valid UTF-8 sequence is one character, and every byte that is not part of
// one (a stray continuation byte, a truncated or overlong sequence, an
// encoded surrogate, anything above U+10FFFF) is a character of its own,
// shown as its ISO 8859-1 glyph. So a Latin-1 file still reads correctly,
// and no byte is ever lost or merged with another.
//
// Every step over the characters of a text goes through these functions.

#include <cstddef>
#include <string_view>

namespace text {

struct Character {
    // The code point, or for an invalid byte the byte's value (its ISO
    // 8859-1 glyph).
    char32_t code = 0;
    // Bytes the character takes: 1 to 4 (0 only past the end of the text).
    int length = 0;
    // False for a byte that is not part of a valid UTF-8 sequence.
    bool valid = true;
};

// A byte from 0x80 to 0xBF: it can only continue a UTF-8 character, so a
// cut before it may split one.
constexpr bool IsContinuationByte(unsigned char byte) noexcept
{
    return (byte & 0xC0) == 0x80;
}

// The character that starts at byte `index` (index < text.size()).
inline Character CharAt(std::string_view text, std::size_t index) noexcept;

// The byte index where the character that ends at `index` starts, for an
// index on a character boundary; 0 for index 0.
std::size_t PrevCharStart(std::string_view text, std::size_t index) noexcept;

// Display cells of one character (tabs aside, which the caller expands):
// 2 for East Asian wide and full-width characters, 0 for combining marks
// and format characters, 1 for everything else, control bytes (shown as a
// blank cell) and invalid bytes included.
inline int CellWidth(Character c) noexcept;

// True for the code points shown as a blank cell: C0 and C1 control codes
// and DEL.
constexpr bool IsControlCode(char32_t code) noexcept
{
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

// Word characters: the letters and digits of every script and the marks
// that combine with them; an invalid byte counts as its ISO 8859-1 glyph.
// The underscore, punctuation and controls end a word.
bool IsWordCharacter(char32_t code) noexcept;
inline bool IsWordCharacter(Character c) noexcept { return IsWordCharacter(c.code); }

// Whole-word tests around a match at [pos, pos + length) of `text`: true
// when the character before pos (after the match) is no word character or
// there is none. pos must be a character boundary.
inline bool WordEndsBefore(std::string_view text, std::size_t pos) noexcept;
inline bool WordEndsAt(std::string_view text, std::size_t pos) noexcept;

// --- the inline parts: these run for every character of a line ---

namespace detail {
// Cells of a valid code point from U+0300 up.
int CellsFromTables(char32_t code) noexcept;
// Cells of every code point of the first plane (U+0000 to U+FFFF).
const unsigned char* PlaneCells() noexcept;
// The whole-word tests where the neighbouring byte is from 0x80 up.
bool WordEndsBeforeHigh(std::string_view text, std::size_t pos) noexcept;
bool WordEndsAtHigh(std::string_view text, std::size_t pos) noexcept;

constexpr bool IsAsciiWordByte(unsigned char byte) noexcept
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9');
}
} // namespace detail

inline Character CharAt(std::string_view text, std::size_t index) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + index;
    const std::size_t left = text.size() - index;
    const unsigned char lead = p[0];
    if (lead < 0x80) return {lead, 1, true};
    const Character invalid{lead, 1, false};
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (left < 2 || !IsContinuationByte(p[1])) return invalid;
        return {static_cast<char32_t>(((lead & 0x1F) << 6) | (p[1] & 0x3F)), 2, true};
    }
    // The second byte's range rules out overlong forms, surrogates and
    // code points above U+10FFFF.
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return invalid;
    }
    if (left < static_cast<std::size_t>(length) || p[1] < low || p[1] > high || !IsContinuationByte(p[2])) return invalid;
    if (length == 3)
        return {static_cast<char32_t>(((lead & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F)), 3, true};
    if (!IsContinuationByte(p[3])) return invalid;
    return {static_cast<char32_t>(((lead & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) |
                                  (p[3] & 0x3F)),
            4, true};
}

// Most texts around a hit are ASCII: those bytes are tested here.
inline bool WordEndsBefore(std::string_view text, std::size_t pos) noexcept
{
    if (pos == 0) return true;
    const auto byte = static_cast<unsigned char>(text[pos - 1]);
    return byte < 0x80 ? !detail::IsAsciiWordByte(byte) : detail::WordEndsBeforeHigh(text, pos);
}

inline bool WordEndsAt(std::string_view text, std::size_t pos) noexcept
{
    if (pos >= text.size()) return true;
    const auto byte = static_cast<unsigned char>(text[pos]);
    return byte < 0x80 ? !detail::IsAsciiWordByte(byte) : detail::WordEndsAtHigh(text, pos);
}

inline int CellWidth(Character c) noexcept
{
    if (c.code < 0x300 || !c.valid) return 1;
    return detail::CellsFromTables(c.code);
}

} // namespace text
