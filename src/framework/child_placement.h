#pragma once
// Where a new MDI child goes: wholly inside the client area, one title-bar
// step down and right of the previous one, starting again at the top-left
// corner when the next step would leave the area.

#include <QRect>
#include <QSize>

// The rectangle of the child that is `index`-th (0 the first) among the
// children open, at most `wanted` in size (no larger than `space`, the
// client area), its corner on the diagonal of `step` pixels.
QRect CascadeSlot(QSize space, QSize wanted, int index, int step);
