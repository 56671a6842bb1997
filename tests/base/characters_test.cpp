#include "base/characters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Split {
    const char* what;
    std::string bytes;
    // Each character: its code (or the invalid byte) and its byte count;
    // false marks an invalid byte.
    std::vector<text::Character> chars;
};

// Splits a text into characters from the front.
std::vector<text::Character> Forward(std::string_view bytes)
{
    std::vector<text::Character> out;
    for (std::size_t i = 0; i < bytes.size(); i += static_cast<std::size_t>(out.back().length))
        out.push_back(text::CharAt(bytes, i));
    return out;
}

std::vector<std::size_t> Starts(std::string_view bytes)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < bytes.size(); i += static_cast<std::size_t>(text::CharAt(bytes, i).length))
        out.push_back(i);
    return out;
}

} // namespace

TEST(Characters, ValidSequencesAreOneCharacterAndEveryOtherByteIsOneToo)
{
    const std::vector<Split> table = {
        {"ascii and NUL", std::string("a\0~", 3), {{'a', 1, true}, {0, 1, true}, {'~', 1, true}}},
        {"two to four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
         {{0xE9, 2, true}, {0x20AC, 3, true}, {0x1F600, 4, true}}},
        {"limits", "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
         {{0x80, 2, true}, {0x7FF, 2, true}, {0x800, 3, true}, {0xFFFF, 3, true},
          {0x10000, 4, true}, {0x10FFFF, 4, true}}},
        {"stray continuation bytes", "\x80\xBF" "a", {{0x80, 1, false}, {0xBF, 1, false}, {'a', 1, true}}},
        {"truncated before ASCII", "\xE2\x82" "x", {{0xE2, 1, false}, {0x82, 1, false}, {'x', 1, true}}},
        {"truncated at the end", "\xF0\x9F\x98", {{0xF0, 1, false}, {0x9F, 1, false}, {0x98, 1, false}}},
        {"overlong forms", "\xC0\xAF\xC1\xBF\xE0\x80\xAF\xF0\x80\x80\xAF",
         {{0xC0, 1, false}, {0xAF, 1, false}, {0xC1, 1, false}, {0xBF, 1, false},
          {0xE0, 1, false}, {0x80, 1, false}, {0xAF, 1, false},
          {0xF0, 1, false}, {0x80, 1, false}, {0x80, 1, false}, {0xAF, 1, false}}},
        {"encoded surrogate", "\xED\xA0\x80", {{0xED, 1, false}, {0xA0, 1, false}, {0x80, 1, false}}},
        {"above U+10FFFF", "\xF4\x90\x80\x80\xF5\x80",
         {{0xF4, 1, false}, {0x90, 1, false}, {0x80, 1, false}, {0x80, 1, false},
          {0xF5, 1, false}, {0x80, 1, false}}},
        {"Latin-1 text", "caf\xE9 na\xEFve",
         {{'c', 1, true}, {'a', 1, true}, {'f', 1, true}, {0xE9, 1, false}, {' ', 1, true},
          {'n', 1, true}, {'a', 1, true}, {0xEF, 1, false}, {'v', 1, true}, {'e', 1, true}}},
        {"lead byte then a valid character", "\xC3\xC3\xA9", {{0xC3, 1, false}, {0xE9, 2, true}}},
    };
    for (const Split& row : table) {
        SCOPED_TRACE(row.what);
        const auto got = Forward(row.bytes);
        ASSERT_EQ(got.size(), row.chars.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].code, row.chars[i].code) << i;
            EXPECT_EQ(got[i].length, row.chars[i].length) << i;
            EXPECT_EQ(got[i].valid, row.chars[i].valid) << i;
        }
        // Stepping back from every boundary finds the boundary before it,
        // whatever the bytes.
        const auto starts = Starts(row.bytes);
        std::size_t end = row.bytes.size();
        for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
            EXPECT_EQ(text::PrevCharStart(row.bytes, end), *it) << end;
            end = *it;
        }
    }
}

TEST(Characters, CellsAsATerminalLaysThemOut)
{
    const struct {
        const char* bytes;
        int cells;
    } table[] = {
        {"a", 1},
        {"\x01", 1},            // a control code: one blank cell
        {"\x7F", 1},
        {"\xC2\x85", 1},        // C1 control
        {"\xC3\xA9", 1},        // é
        {"\xE9", 1},            // a Latin-1 byte
        {"\xCC\x81", 0},        // combining acute accent
        {"\xE2\x80\x8B", 0},    // zero-width space
        {"\xC2\xAD", 1},        // soft hyphen is shown
        {"\xE4\xB8\xAD", 2},    // 中
        {"\xEF\xBC\xA1", 2},    // full-width A
        {"\xEA\xB0\x80", 2},    // Hangul syllable
        {"\xE1\x85\xA1", 0},    // Hangul medial vowel
        {"\xF0\x9F\x98\x80", 2},// emoji
        {"\xF0\xA0\x80\x80", 2},// CJK extension B
        {"\xE2\x82\xAC", 1},    // €
        {"\xCE\xB1", 1},        // α
        {"\xCD\xB8", 1},        // unassigned in Greek: one cell
    };
    for (const auto& row : table)
        EXPECT_EQ(text::CellWidth(text::CharAt(row.bytes, 0)), row.cells) << row.bytes;
}

TEST(Characters, WordCharactersAreLettersAndDigitsOfEveryScript)
{
    for (const char32_t c : {U'a', U'Z', U'7', U'\u00E9', U'\u00EF', U'\u00DF', U'\u4E2D', U'\u0416',
                             U'\u03B1', U'\u0661', U'\u0301', U'\u00AA'})
        EXPECT_TRUE(text::IsWordCharacter(c)) << std::hex << unsigned(c);
    for (const char32_t c : {U'_', U' ', U'\0', U'-', U'\u00D7', U'\u00A0', U'\u20AC', U'\u3002',
                             U'\U0001F600', U'\u2028'})
        EXPECT_FALSE(text::IsWordCharacter(c)) << std::hex << unsigned(c);
}

TEST(Characters, WholeWordTestsLookAtWholeCharacters)
{
    // "naïve" in UTF-8 and in Latin-1: the ï holds the word together.
    EXPECT_FALSE(text::WordEndsAt("na\xC3\xAFve", 2));
    EXPECT_FALSE(text::WordEndsBefore("na\xC3\xAFve", 4));
    EXPECT_FALSE(text::WordEndsAt("na\xEFve", 2));
    EXPECT_FALSE(text::WordEndsBefore("na\xEFve", 3));
    // A euro sign, a wide full stop and an invalid C1 byte end words.
    EXPECT_TRUE(text::WordEndsBefore("\xE2\x82\xAC" "5", 3));
    EXPECT_TRUE(text::WordEndsAt("x\xE3\x80\x82", 1));
    EXPECT_TRUE(text::WordEndsAt("x\x85", 1));
    EXPECT_TRUE(text::WordEndsBefore("abc", 0));
    EXPECT_TRUE(text::WordEndsAt("abc", 3));
}
