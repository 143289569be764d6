#include "tabstrip/tab_geometry.h"

#include <cstdint>

namespace tabstrip {

bool PolygonContains(const TabPoint* pts, std::size_t count, TabPoint p)
{
    int winding = 0;
    for (std::size_t i = 0; i < count; ++i) {
        TabPoint a = pts[i];
        TabPoint b = pts[(i + 1) % count];
        if (a.y == b.y)
            continue;
        const int direction = b.y > a.y ? 1 : -1;
        const TabPoint& upper = a.y < b.y ? a : b;
        const TabPoint& lower = a.y < b.y ? b : a;
        if (p.y < upper.y || p.y >= lower.y)
            continue;
        // The edge crosses scan line p.y at
        //   xi = upper.x + (p.y - upper.y) * (lower.x - upper.x) / dy;
        // it counts when xi <= p.x. Compared multiplied out, in 64 bits, so
        // that no rounding can make us disagree with the region by a pixel.
        const int64_t dy = int64_t(lower.y) - upper.y;
        const int64_t crossing =
            int64_t(upper.x) * dy + (int64_t(p.y) - upper.y) * (int64_t(lower.x) - upper.x);
        if (crossing <= int64_t(p.x) * dy)
            winding += direction;
    }
    return winding != 0;
}

}  // namespace tabstrip
