#pragma once
// A place in a document: a line index and a display column, both from 0. In
// display columns a tab advances to the next multiple of the tab width.

#include <compare>

struct TextPosition {
    int line = 0;
    int column = 0;

    friend constexpr bool operator==(const TextPosition&, const TextPosition&) = default;
    friend constexpr auto operator<=>(const TextPosition&, const TextPosition&) = default;
};

// A place named by bytes: a line index and a byte index in that line, both
// from 0. Unlike a display column it names the same bytes whatever the tab
// width, and it can stand between bytes that together read as one
// character.
struct TextPlace {
    int line = 0;
    int index = 0;

    friend constexpr bool operator==(const TextPlace&, const TextPlace&) = default;
    friend constexpr auto operator<=>(const TextPlace&, const TextPlace&) = default;
};
