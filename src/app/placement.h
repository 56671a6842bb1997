#pragma once
// Where the frame is shown: its stored placement fitted to the screens.

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

// A placement as the settings file keeps it: the frame's outer corner and
// its inner size. Plain integers, as read: any value may come in.
struct StoredPlacement {
    int x = 5, y = 5, w = 600, h = 400;
};

// The placement that shows: on the screen (available area) that holds
// most of the stored frame, or the first one when none holds any of it,
// a size no larger than that screen leaves inside the window manager's
// `decoration` and no smaller than `minimum` (the screen wins when both
// cannot hold), moved just enough that the whole frame, title bar
// included, lies on the screen. Returns the outer corner and inner size;
// no screens: the stored placement, its size at least `minimum`.
QRect FitPlacement(const StoredPlacement& stored, const QMargins& decoration, const QSize& minimum,
                   const QList<QRect>& screens);
