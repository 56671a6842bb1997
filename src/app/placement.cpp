#include "app/placement.h"

#include <algorithm>
#include <cstdint>

namespace {

// Stored numbers are taken in 64 bits: a frame of 100000 by 100000 (or
// INT_MAX) at any corner must neither overflow nor get through.
struct Span {
    std::int64_t start, length;
};

std::int64_t Overlap(Span a, Span b)
{
    return std::max<std::int64_t>(0, std::min(a.start + a.length, b.start + b.length) - std::max(a.start, b.start));
}

// Fits one axis: the inner length between the minimum and what the screen
// leaves beside the decoration, then the outer start onto the screen.
void FitAxis(std::int64_t& start, std::int64_t& length, std::int64_t minimum, std::int64_t before,
             std::int64_t after, Span screen)
{
    const std::int64_t room = std::max<std::int64_t>(1, screen.length - before - after);
    length = std::min(std::max(length, minimum), room);
    const std::int64_t outer = length + before + after;
    start = std::clamp(start, screen.start, std::max(screen.start, screen.start + screen.length - outer));
}

} // namespace

QRect FitPlacement(const StoredPlacement& stored, const QMargins& decoration, const QSize& minimum,
                   const QList<QRect>& screens)
{
    std::int64_t x = stored.x, y = stored.y, w = stored.w, h = stored.h;
    if (screens.isEmpty())
        return QRect(stored.x, stored.y, static_cast<int>(std::max<std::int64_t>(w, minimum.width())),
                     static_cast<int>(std::max<std::int64_t>(h, minimum.height())));

    const Span outer_x{x, std::max<std::int64_t>(w, 0) + decoration.left() + decoration.right()};
    const Span outer_y{y, std::max<std::int64_t>(h, 0) + decoration.top() + decoration.bottom()};
    const QRect* best = &screens.front();
    std::int64_t best_area = 0;
    for (const QRect& screen : screens) {
        const std::int64_t area = Overlap(outer_x, {screen.x(), screen.width()}) *
                                  Overlap(outer_y, {screen.y(), screen.height()});
        if (area > best_area) {
            best = &screen;
            best_area = area;
        }
    }
    FitAxis(x, w, minimum.width(), decoration.left(), decoration.right(), {best->x(), best->width()});
    FitAxis(y, h, minimum.height(), decoration.top(), decoration.bottom(), {best->y(), best->height()});
    return QRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h));
}
