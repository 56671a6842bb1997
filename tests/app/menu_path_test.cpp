// Recent-file paths shortened for the File menu.
#include "app/menu_path.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortenPathForMenu, ShortPathsStayAndLongOnesLoseTheirMiddle)
{
    EXPECT_EQ(ShortenPathForMenu("/home/anne/notes.txt", 60), "/home/anne/notes.txt");
    const std::string longer = "/home/anne/projects/tarnwick/build/src/app/main_win.cpp";
    EXPECT_EQ(ShortenPathForMenu(longer, 40), "/home/.../build/src/app/main_win.cpp");
    EXPECT_EQ(ShortenPathForMenu(longer, 30), "/home/.../src/app/main_win.cpp");
    EXPECT_EQ(ShortenPathForMenu(longer, 29), "/home/.../app/main_win.cpp");
    // No room for the top directory: the trailing part alone.
    EXPECT_EQ(ShortenPathForMenu(longer, 20), ".../app/main_win.cpp");
    EXPECT_EQ(ShortenPathForMenu(longer, 16), ".../main_win.cpp");
    // Two long paths that differ only in their names stay apart.
    EXPECT_NE(ShortenPathForMenu(longer, 30), ShortenPathForMenu(longer.substr(0, longer.size() - 3) + "h", 30));
    for (std::size_t limit : {16u, 20u, 30u, 40u}) EXPECT_LE(ShortenPathForMenu(longer, limit).size(), limit);
}

TEST(ShortenPathForMenu, ANameLongerThanTheLimitKeepsBothEnds)
{
    const std::string name = "a-very-long-file-name-that-goes-on-and-on.txt";
    EXPECT_EQ(ShortenPathForMenu("/d/" + name, 20), ".../a-very...-on.txt");
    EXPECT_EQ(ShortenPathForMenu(name, 11), "a-ve....txt");
    // UTF-8 sequences count as one character and are never cut.
    const std::string umlauts = "/\xc3\xa4\xc3\xa4\xc3\xa4/\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6.txt";
    const std::string shown = ShortenPathForMenu(umlauts, 12);
    EXPECT_EQ(shown, ".../\xc3\xb6\xc3\xb6...txt");
}

} // namespace
