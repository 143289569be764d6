// Where everything on the strip goes: the scroll-button block at the left,
// the tabs hanging from the top edge and overlapping by their slanted
// edges, the scroll position, and what lies under a given pixel.
//
// All values are client pixels; W and H are the client width and height.
#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "tabstrip/tab_geometry.h"
#include "tabstrip/tab_strip_model.h"

namespace tabstrip {

struct StripSize {
    int width = 0;
    int height = 0;
};

// The four scroll buttons, left to right.
enum class ScrollButton { First = 0, Previous = 1, Next = 2, Last = 3 };
inline constexpr int kButtonCount = 4;

// Hit-test results besides item indexes (>= 0).
inline constexpr int kHitFirst = -1;
inline constexpr int kHitPrevious = -2;
inline constexpr int kHitNext = -3;
inline constexpr int kHitLast = -4;
inline constexpr int kHitNothing = -6;

inline constexpr int HitCode(ScrollButton b) { return -1 - static_cast<int>(b); }
inline constexpr bool IsButtonHit(int hit) { return hit <= kHitFirst && hit >= kHitLast; }
inline constexpr ScrollButton ButtonOfHit(int hit) { return static_cast<ScrollButton>(-1 - hit); }

// How a layout moves the scroll position before the final placing.
enum class LayoutMode {
    Previous = 0,     // back by one
    Next = 1,         // on by one while the last tab sticks out at the right
    ClickedTab = 2,   // bring the clicked tab into view
    Fit = 3,          // leave no empty space at the right while tabs are scrolled out
    First = 4,        // to the start
    Last = 5,         // to the end, then as Fit
};

// Width of a label in the bold font, px; negative when it cannot be measured.
using TextWidthFn = std::function<int(std::u16string_view)>;

// Width of the scroll-button block: (H - 3) * 4 + 3. Tabs start at its right edge.
int ButtonBlockWidth(int height);
// The block's outline as painted: (0, 1, ButtonBlockWidth, H).
TabRect ButtonBlockRect(int height);

// x range [left, right) that a button answers to in hit testing.
struct Span {
    int left = 0;
    int right = 0;
};
Span ButtonHitSpan(ScrollButton b, int height);
// Rectangle a button is painted in (y from 2 to H - 1). Painting leaves a
// one-pixel gap between previous and next that hit testing does not.
TabRect ButtonPaintRect(ScrollButton b, int height);

// The six corners of a tab with the given rectangle and display state.
// The middle corners sit at y = h / 2 (h = bottom - top), not top + h / 2:
// the strip has always been drawn so.
TabOutline MakeOutline(DisplayState state, const TabRect& rect);

// Measures every item whose width is not known yet (labelWidth < 0). A
// failed measurement counts as 0 and is tried again next time.
void MeasureTabs(TabStripModel& model, const TextWidthFn& measure);

// Gives every item its rectangle, display state and outline for the current
// first visible index (clamped into range first). Needs measured items.
void PlaceTabs(TabStripModel& model, StripSize size);

// The layout operation: measure, place, adjust the first visible index as
// the mode says (index: the clicked tab, for ClickedTab), place again.
void LayOutTabs(TabStripModel& model, LayoutMode mode, int index, StripSize size,
                const TextWidthFn& measure);

// What lies under pixel p: a present button (kHitFirst ... kHitLast; the
// buttons span the full height), else the lowest-indexed shown tab whose
// outline contains p, else kHitNothing. Uses the last placing.
int HitTest(const TabStripModel& model, const std::array<bool, kButtonCount>& buttonPresent,
            StripSize size, TabPoint p);

}  // namespace tabstrip
