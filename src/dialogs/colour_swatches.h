#pragma once
// The sixteen colours the colour lists offer.

#include "settings/setting_types.h"

#include <array>

using setting::Rgb;

inline constexpr std::array<Rgb, 16> kSwatchColours{{
    {0, 0, 0},       {128, 128, 128}, {128, 0, 0},   {128, 128, 0},
    {0, 128, 0},     {0, 128, 128},   {0, 0, 128},   {128, 0, 128},
    {192, 192, 192}, {255, 0, 0},     {255, 255, 0}, {0, 255, 0},
    {0, 255, 255},   {0, 0, 255},     {255, 0, 255}, {255, 255, 255},
}};

// The index of the first swatch equal to `colour`; 0 (black) when none is.
int SwatchIndex(Rgb colour);

// The settings file's colour form (settings/setting_types.h).
using setting::FormatRgb;
using setting::ParseRgb;
