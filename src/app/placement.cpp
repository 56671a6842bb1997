#include "app/placement.h"

#include <algorithm>

namespace {

// Enough of the frame must show to grab its title bar.
constexpr int kMinVisible = 40;

bool ShowsOn(const QRect& frame, const QRect& screen)
{
    const QRect common = frame.intersected(screen);
    return common.width() >= kMinVisible && common.height() >= kMinVisible;
}

} // namespace

QRect PlaceOnScreens(const QRect& stored, const QList<QRect>& screens)
{
    if (screens.isEmpty()) return stored;
    for (const QRect& screen : screens)
        if (ShowsOn(stored, screen)) return stored;
    const QRect& screen = screens.front();
    const int w = std::clamp(stored.width(), kMinVisible, screen.width());
    const int h = std::clamp(stored.height(), kMinVisible, screen.height());
    const int x = std::clamp(stored.x(), screen.left(), screen.left() + screen.width() - w);
    const int y = std::clamp(stored.y(), screen.top(), screen.top() + screen.height() - h);
    return QRect(x, y, w, h);
}
