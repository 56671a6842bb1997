#pragma once
// The sixteen colours the colour lists offer, and the "%d %d %d" form in
// which the settings file keeps a colour.

#include <array>
#include <string>
#include <string_view>

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr std::array<Rgb, 16> kSwatchColours{{
    {0, 0, 0},       {128, 128, 128}, {128, 0, 0},   {128, 128, 0},
    {0, 128, 0},     {0, 128, 128},   {0, 0, 128},   {128, 0, 128},
    {192, 192, 192}, {255, 0, 0},     {255, 255, 0}, {0, 255, 0},
    {0, 255, 255},   {0, 0, 255},     {255, 0, 255}, {255, 255, 255},
}};

// The index of the first swatch equal to `colour`; 0 (black) when none is.
int SwatchIndex(Rgb colour);

// Three decimal numbers red, green, blue; a number that is missing reads as 0.
Rgb ParseRgb(std::string_view text);
std::string FormatRgb(Rgb colour);
