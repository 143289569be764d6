#include "tabstrip/tab_layout.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace tabstrip {

namespace {

// Keeps coordinates of absurdly long strips (millions of tabs) far enough
// from the int limits that outline arithmetic cannot overflow.
constexpr int64_t kCoordLimit = int64_t(1) << 29;
// A label can be 30 units; no sane font makes that wider than this.
constexpr int kLabelWidthLimit = 1 << 16;

int ClampCoord(int64_t v)
{
    return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

// The placing rules as arithmetic, so that the scroll adjustments can ask
// "where would tab i be with first visible fv" without placing every item.
class Placement {
public:
    Placement(const TabStripModel& model, StripSize size)
        : m_height(size.height), m_block(ButtonBlockWidth(size.height)), m_half(size.height / 2)
    {
        const auto& items = model.Items();
        m_tabWidth.resize(items.size());
        m_shift.resize(items.size() + 1);
        m_shift[0] = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            // Label width + 4, plus H for the two slanted ends.
            m_tabWidth[i] = int64_t(std::max(items[i].labelWidth, 0)) + 4 + m_height;
            // Each tab starts H / 2 before the end of the one before it.
            m_shift[i + 1] = m_shift[i] + m_tabWidth[i] - m_half;
        }
    }

    int Count() const { return static_cast<int>(m_tabWidth.size()); }

    TabRect RectAt(int i, int firstVisible) const
    {
        if (i < firstVisible - 1)
            return {};
        if (i == firstVisible - 1)   // the sliver showing the edge of the hidden neighbour
            return {m_block, 1, m_block + m_half, m_height - 1};
        // The items before first visible pulled the offset back by their
        // widths less the overlap, so first visible starts at the block.
        const int64_t left = m_block + m_shift[size_t(i)] - m_shift[size_t(firstVisible)];
        return {ClampCoord(left), 1, ClampCoord(left + m_tabWidth[size_t(i)]), m_height - 1};
    }

    DisplayState StateAt(int i, int firstVisible, bool selected) const
    {
        if (i < firstVisible - 1)
            return DisplayState::Hidden;
        if (i == firstVisible - 1)
            return selected ? DisplayState::SliverSelected : DisplayState::Sliver;
        return selected || i == Count() - 1 ? DisplayState::Full : DisplayState::Covered;
    }

    int LastRight(int firstVisible) const
    {
        return Count() == 0 ? 0 : RectAt(Count() - 1, firstVisible).right;
    }

    int Block() const { return m_block; }

private:
    int m_height;
    int m_block;
    int m_half;
    std::vector<int64_t> m_tabWidth;
    std::vector<int64_t> m_shift;
};

// Quick rejection for hit testing many tabs: no outline contains a pixel
// right of, left of or below all of its corners.
bool OutsideBounds(const TabOutline& outline, TabPoint p)
{
    int minX = outline[0].x, maxX = outline[0].x, maxY = outline[0].y;
    for (const TabPoint& corner : outline) {
        minX = std::min(minX, corner.x);
        maxX = std::max(maxX, corner.x);
        maxY = std::max(maxY, corner.y);
    }
    return p.x < minX || p.x >= maxX || p.y >= maxY;
}

int ClampFirstVisible(int firstVisible, int count)
{
    return std::clamp(firstVisible, 0, std::max(count - 1, 0));
}

void Place(TabStripModel& model, const Placement& placement)
{
    const int fv = ClampFirstVisible(model.FirstVisible(), model.Count());
    model.SetFirstVisible(fv);
    auto& items = model.Items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        TabItem& item = items[size_t(i)];
        item.state = placement.StateAt(i, fv, item.selected);
        item.rect = placement.RectAt(i, fv);
        item.outline = MakeOutline(item.state, item.rect);
    }
}

// "No empty space at the right": keep the position when the last tab reaches
// W; otherwise step back while the last tab still ends before W.
int FitFirstVisible(const Placement& placement, int fv, int width)
{
    if (placement.LastRight(fv) >= width)
        return fv;
    while (fv > 0 && placement.LastRight(fv - 1) < width)
        --fv;
    return fv;
}

int AdjustFirstVisible(const TabStripModel& model, const Placement& placement, LayoutMode mode,
                       int index, int width)
{
    const int count = model.Count();
    int fv = model.FirstVisible();
    switch (mode) {
    case LayoutMode::Previous:
        if (fv >= 1)
            --fv;
        break;
    case LayoutMode::Next:
        if (placement.LastRight(fv) > width && fv + 1 < count)
            ++fv;
        break;
    case LayoutMode::ClickedTab: {
        const TabItem* item = model.Item(index);
        if (!item)
            break;
        if (item->state == DisplayState::SliverSelected || item->state == DisplayState::Sliver) {
            --fv;
        } else if (index > fv && item->state == DisplayState::Full) {
            while (placement.RectAt(index, fv).right > width) {
                ++fv;
                if (index == fv || placement.RectAt(index, fv).left <= placement.Block())
                    break;
            }
        }
        break;
    }
    case LayoutMode::Fit:
        fv = FitFirstVisible(placement, fv, width);
        break;
    case LayoutMode::First:
        fv = 0;
        break;
    case LayoutMode::Last:
        fv = FitFirstVisible(placement, std::max(count - 1, 0), width);
        break;
    }
    return ClampFirstVisible(fv, count);
}

}  // namespace

int ButtonBlockWidth(int height)
{
    return (height - 3) * 4 + 3;
}

TabRect ButtonBlockRect(int height)
{
    return {0, 1, ButtonBlockWidth(height), height};
}

Span ButtonHitSpan(ScrollButton b, int h)
{
    switch (b) {
    case ScrollButton::First: return {0, h - 2};
    case ScrollButton::Previous: return {h - 2, 2 * h - 5};
    case ScrollButton::Next: return {2 * h - 5, 3 * h - 7};
    case ScrollButton::Last: return {3 * h - 7, 4 * h - 9};
    }
    return {};
}

TabRect ButtonPaintRect(ScrollButton b, int h)
{
    switch (b) {
    case ScrollButton::First: return {1, 2, h - 2, h - 1};
    case ScrollButton::Previous: return {h - 2, 2, 2 * h - 5, h - 1};
    case ScrollButton::Next: return {2 * h - 4, 2, 3 * h - 7, h - 1};
    case ScrollButton::Last: return {3 * h - 7, 2, 4 * h - 10, h - 1};
    }
    return {};
}

TabOutline MakeOutline(DisplayState state, const TabRect& r)
{
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const int h = B - T;
    switch (state) {
    case DisplayState::Full:
        return {{{L, T}, {L + h / 4, h / 2}, {L + h / 2, B}, {R - h / 2, B}, {R - h / 4, h / 2}, {R, T}}};
    case DisplayState::Covered:
        // Ends where the next tab begins, under that tab's slanted edge.
        return {{{L, T}, {L + h / 4, h / 2}, {L + h / 2, B}, {R - h / 2, B}, {R - h / 4, h / 2},
                 {R - h / 2, T}}};
    case DisplayState::Sliver:
        return {{{L, T}, {L + h / 4, h / 2}, {L, B}, {L, B}, {L, B}, {L, B}}};
    case DisplayState::SliverSelected:
        return {{{L, T}, {L, B}, {L + h / 2, T}, {L + h / 2, T}, {L + h / 2, T}, {L + h / 2, T}}};
    case DisplayState::Hidden:
        break;
    }
    return {};
}

void MeasureTabs(TabStripModel& model, const TextWidthFn& measure)
{
    for (TabItem& item : model.Items()) {
        if (item.labelWidth >= 0)
            continue;
        const int width = measure ? measure(item.label) : -1;
        // A failure counts as 0 now and is retried at the next layout.
        item.labelWidth = width < 0 ? -1 : std::min(width, kLabelWidthLimit);
    }
}

void PlaceTabs(TabStripModel& model, StripSize size)
{
    Place(model, Placement(model, size));
}

void LayOutTabs(TabStripModel& model, LayoutMode mode, int index, StripSize size,
                const TextWidthFn& measure)
{
    MeasureTabs(model, measure);
    try {
        const Placement placement(model, size);
        Place(model, placement);
        model.SetFirstVisible(AdjustFirstVisible(model, placement, mode, index, size.width));
        Place(model, placement);
    } catch (const std::bad_alloc&) {
        // Runs inside window messages: keep the old placing rather than throw.
    }
}

int HitTest(const TabStripModel& model, const std::array<bool, kButtonCount>& buttonPresent,
            StripSize size, TabPoint p)
{
    const int h = size.height;
    if (p.y >= 0 && p.y < h) {
        for (int b = 0; b < kButtonCount; ++b) {
            const Span span = ButtonHitSpan(static_cast<ScrollButton>(b), h);
            if (buttonPresent[size_t(b)] && p.x >= span.left && p.x < span.right)
                return HitCode(static_cast<ScrollButton>(b));
        }
    }
    const auto& items = model.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        const TabItem& item = items[i];
        if (item.state == DisplayState::Hidden)
            continue;
        if (OutsideBounds(item.outline, p))
            continue;
        if (OutlineContains(item.outline, p))
            return static_cast<int>(i);
    }
    return kHitNothing;
}

}  // namespace tabstrip
