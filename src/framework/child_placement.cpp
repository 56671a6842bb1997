#include "framework/child_placement.h"

#include <algorithm>

QRect CascadeSlot(QSize space, QSize wanted, int index, int step)
{
    const int w = std::clamp(wanted.width(), 1, std::max(1, space.width()));
    const int h = std::clamp(wanted.height(), 1, std::max(1, space.height()));
    step = std::max(1, step);
    // Slots on the diagonal that keep the whole child inside.
    const int places = std::min(std::max(0, space.width() - w), std::max(0, space.height() - h)) / step + 1;
    const int k = std::max(0, index) % places;
    return QRect(k * step, k * step, w, h);
}
