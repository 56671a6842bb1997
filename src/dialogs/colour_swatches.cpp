#include "dialogs/colour_swatches.h"

#include <cstdio>

int SwatchIndex(Rgb colour)
{
    for (std::size_t i = 0; i < kSwatchColours.size(); ++i)
        if (kSwatchColours[i] == colour) return static_cast<int>(i);
    return 0;
}

Rgb ParseRgb(std::string_view text)
{
    Rgb colour;
    const std::string copy(text);
    std::sscanf(copy.c_str(), "%d %d %d", &colour.red, &colour.green, &colour.blue);
    return colour;
}

std::string FormatRgb(Rgb colour)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d %d %d", colour.red, colour.green, colour.blue);
    return text;
}
