#include "base/text_rules.h"

#include <gtest/gtest.h>

TEST(TextRules, CaseFoldsOnlyAsciiLetters)
{
    EXPECT_EQ(text::LowerAscii("AbC-\xC4\xE4Z"), "abc-\xC4\xE4z");
    EXPECT_EQ(text::UpperAscii("abc\xE4"), "ABC\xE4");
    EXPECT_TRUE(text::EqualsNoCaseAscii("MainWin", "MAINWIN"));
    EXPECT_FALSE(text::EqualsNoCaseAscii("\xC4", "\xE4"));
}

