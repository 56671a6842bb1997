#include "dialogs/colour_swatches.h"

int SwatchIndex(Rgb colour)
{
    for (std::size_t i = 0; i < kSwatchColours.size(); ++i)
        if (kSwatchColours[i] == colour) return static_cast<int>(i);
    return 0;
}
