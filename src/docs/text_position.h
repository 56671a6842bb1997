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
