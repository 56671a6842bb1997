#include "base/characters.h"

#include <algorithm>

#include "base/unicode_tables.h"

namespace text {

namespace {

bool IsContinuation(unsigned char byte) noexcept
{
    return (byte & 0xC0) == 0x80;
}

bool InTable(char32_t code, const tables::CodeRange* table, std::size_t size) noexcept
{
    const tables::CodeRange* end = table + size;
    // The first range that does not end before the code point.
    const auto* found = std::lower_bound(table, end, code,
                                         [](const tables::CodeRange& r, char32_t c) { return r.last < c; });
    return found != end && found->first <= code && code <= found->last;
}

} // namespace

Character CharAt(std::string_view text, std::size_t index) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + index;
    const std::size_t left = text.size() - index;
    const unsigned char lead = p[0];
    if (lead < 0x80) return {lead, 1, true};
    const Character invalid{lead, 1, false};
    int length = 0;
    char32_t code = 0;
    // The second byte's range rules out overlong forms, surrogates and
    // code points above U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return invalid;
    }
    if (left < static_cast<std::size_t>(length) || p[1] < low || p[1] > high) return invalid;
    code = (code << 6) | (p[1] & 0x3F);
    for (int k = 2; k < length; ++k) {
        if (!IsContinuation(p[k])) return invalid;
        code = (code << 6) | (p[k] & 0x3F);
    }
    return {code, length, true};
}

std::size_t PrevCharStart(std::string_view text, std::size_t index) noexcept
{
    if (index == 0) return 0;
    index = std::min(index, text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (p[index - 1] < 0x80) return index - 1;
    // A valid sequence ending at index starts at the nearest byte before
    // it that is no continuation byte; otherwise the byte before index is
    // a character of its own.
    std::size_t start = index - 1;
    while (start > 0 && index - start < 4 && IsContinuation(p[start])) --start;
    if (!IsContinuation(p[start])) {
        const Character c = CharAt(text, start);
        if (c.valid && start + static_cast<std::size_t>(c.length) == index) return start;
    }
    return index - 1;
}

int CellWidth(Character c) noexcept
{
    if (c.code < 0x300 || !c.valid) return 1;
    if (InTable(c.code, tables::kZeroWidth, tables::kZeroWidthSize)) return 0;
    if (c.code >= 0x1100 && InTable(c.code, tables::kWide, tables::kWideSize)) return 2;
    return 1;
}

bool IsWordCharacter(char32_t code) noexcept
{
    if (code < 0x80)
        return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
    return InTable(code, tables::kWord, tables::kWordSize);
}

bool WordEndsBefore(std::string_view text, std::size_t pos) noexcept
{
    if (pos == 0) return true;
    return !IsWordCharacter(CharAt(text, PrevCharStart(text, pos)));
}

bool WordEndsAt(std::string_view text, std::size_t pos) noexcept
{
    return pos >= text.size() || !IsWordCharacter(CharAt(text, pos));
}

} // namespace text
