#include "search/directory_listing.h"
#include "search/wildcard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(Wildcard, StarAndQuestionMarkWithoutRegardToCase)
{
    EXPECT_TRUE(wildcard::Matches("*.c", "main.c"));
    EXPECT_TRUE(wildcard::Matches("*.c", "MAIN.C"));
    EXPECT_FALSE(wildcard::Matches("*.c", "main.cpp"));
    EXPECT_TRUE(wildcard::Matches("*.c*", "main.cpp"));
    EXPECT_TRUE(wildcard::Matches("ma?n.*", "MAIN.txt"));
    EXPECT_FALSE(wildcard::Matches("ma?n.txt", "man.txt"));
    EXPECT_TRUE(wildcard::Matches("a*b*c", "aXXbYYbc"));
    EXPECT_FALSE(wildcard::Matches("a*b*c", "aXXbYYbcd"));
    EXPECT_TRUE(wildcard::Matches("*", "anything at all"));
    EXPECT_FALSE(wildcard::Matches("", "x"));
    // Only the ASCII letters fold.
    EXPECT_FALSE(wildcard::Matches("\xc9*", "\xe9t\xe9"));
}

TEST(Wildcard, StarDotStarMatchesNamesWithAndWithoutADot)
{
    EXPECT_TRUE(wildcard::Matches("*.*", "Makefile"));
    EXPECT_TRUE(wildcard::Matches("*.*", "a.b.c"));
    EXPECT_TRUE(wildcard::Matches("*.*", ".hidden"));
    EXPECT_TRUE(wildcard::Matches("readme.*", "README"));
    EXPECT_TRUE(wildcard::Matches("readme.*", "readme.txt"));
    EXPECT_FALSE(wildcard::Matches("readme.*", "readmeX"));
}

TEST(NameOrder, LettersWithoutRegardToCaseThenByteOrder)
{
    std::vector<std::string> names = {"b", "B", "a", "A", "_x", "Zeta", "alpha", "Alpha", "1", "\xe9"};
    std::sort(names.begin(), names.end(), NameOrder);
    // Letters fold to lower case, so "_" (0x5F) sorts before them.
    const std::vector<std::string> expected = {"1", "_x", "A", "a", "Alpha", "alpha", "B", "b", "Zeta", "\xe9"};
    EXPECT_EQ(names, expected);
}

TEST(JoinPath, DoesNotDoubleASlash)
{
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/", "b"), "/b");
}
