// Points, rectangles and tab outlines in client pixels, and the test that
// decides whether a pixel lies inside an outline.
#pragma once

#include <array>
#include <cstddef>

namespace tabstrip {

struct TabPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TabPoint&, const TabPoint&) = default;
};

// Right and bottom are exclusive, as in a Win32 RECT.
struct TabRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const TabRect&, const TabRect&) = default;
};

// The six corners of a tab as they are handed to the region and fill code.
using TabOutline = std::array<TabPoint, 6>;

// True when the pixel p lies inside the polygon pts[0..count) under the
// nonzero winding rule.
//
// Edge convention (the one GDI uses for CreatePolygonRgn regions, so that a
// region built from the same points for painting covers exactly the pixels
// this test accepts): pixels are sampled at their integer coordinates; an
// edge takes part on the scan lines from its upper end (included) to its
// lower end (excluded); at a scan line, an edge crossing at x counts for
// every pixel from x on, so a pixel exactly on an edge belongs to the shape
// on the edge's right. Net effect: left and top borders in, right and bottom
// borders out, horizontal edges never count on their own. Degenerate
// outlines (all points equal, zero area) contain nothing.
bool PolygonContains(const TabPoint* pts, std::size_t count, TabPoint p);

inline bool OutlineContains(const TabOutline& outline, TabPoint p)
{
    return PolygonContains(outline.data(), outline.size(), p);
}

}  // namespace tabstrip
