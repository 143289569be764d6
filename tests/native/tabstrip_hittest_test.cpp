// What lies under a pixel: the scroll buttons by their x ranges, the tabs
// by their outlines (lower index first where slanted edges overlap).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tabstrip/tab_geometry.h"
#include "tabstrip/tab_strip_logic.h"

using namespace tabstrip;

namespace {

constexpr int kH = 20;

int SevenPerUnit(std::u16string_view s)
{
    return static_cast<int>(s.size()) * 7;
}

// Tabs "a", "bb", "ccc": rectangles (71..102), (92..130), (120..165).
TabStripLogic ThreeTabs(bool fourButtons = true)
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetButtonsPresent(fourButtons);
    logic.SetClientSize({400, kH});
    logic.InsertItem(0, u"a", 0);
    logic.InsertItem(1, u"bb", 0);
    logic.InsertItem(2, u"ccc", 0);
    return logic;
}

bool Contains(const std::vector<TabPoint>& poly, int x, int y)
{
    return PolygonContains(poly.data(), poly.size(), {x, y});
}

}  // namespace

TEST(TabPolygon, SquareTakesItsTopAndLeftBordersOnly)
{
    const std::vector<TabPoint> square{{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    EXPECT_TRUE(Contains(square, 2, 2));
    EXPECT_TRUE(Contains(square, 5, 5));
    EXPECT_FALSE(Contains(square, 6, 3));
    EXPECT_FALSE(Contains(square, 3, 6));
    EXPECT_FALSE(Contains(square, 1, 3));
    EXPECT_FALSE(Contains(square, 3, 1));
    // Orientation does not matter.
    const std::vector<TabPoint> reversed{{2, 6}, {6, 6}, {6, 2}, {2, 2}};
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(Contains(square, x, y), Contains(reversed, x, y)) << x << "," << y;
}

TEST(TabPolygon, SlantedEdgeCountsFromItsExactCrossing)
{
    // Left edge from (0,0) to (4,8): crosses y = 3 at x = 1.5, y = 4 at 2.
    const std::vector<TabPoint> tri{{0, 0}, {4, 8}, {10, 8}, {10, 0}};
    EXPECT_FALSE(Contains(tri, 1, 3));
    EXPECT_TRUE(Contains(tri, 2, 3));
    EXPECT_TRUE(Contains(tri, 2, 4));    // exactly on the edge: inside
    EXPECT_FALSE(Contains(tri, 1, 4));
    EXPECT_FALSE(Contains(tri, 10, 4));  // right border
}

TEST(TabPolygon, WindingRuleFillsTwiceCoveredAreas)
{
    // The same square traced twice: winding number 2, still inside (an
    // even-odd rule would leave it empty).
    const std::vector<TabPoint> twice{{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 4}, {0, 4}};
    EXPECT_TRUE(Contains(twice, 2, 2));
    // A pentagram's centre has winding number 2.
    const std::vector<TabPoint> star{{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    EXPECT_TRUE(Contains(star, 10, 10));
}

TEST(TabPolygon, DegenerateOutlinesContainNothing)
{
    const TabOutline hidden{};
    EXPECT_FALSE(OutlineContains(hidden, {0, 0}));
    const std::vector<TabPoint> line{{0, 0}, {5, 5}, {0, 0}};
    EXPECT_FALSE(Contains(line, 1, 1));
    EXPECT_FALSE(Contains(line, 0, 0));
}

TEST(TabHitTest, ButtonRangesIncludeTheLeftEdgeOnly)
{
    const TabStripLogic logic = ThreeTabs();
    // First 0..17, previous 18..34, next 35..52, last 53..70.
    EXPECT_EQ(logic.HitTest({0, 10}), kHitFirst);
    EXPECT_EQ(logic.HitTest({17, 10}), kHitFirst);
    EXPECT_EQ(logic.HitTest({18, 10}), kHitPrevious);
    EXPECT_EQ(logic.HitTest({34, 10}), kHitPrevious);
    EXPECT_EQ(logic.HitTest({35, 10}), kHitNext);
    EXPECT_EQ(logic.HitTest({52, 10}), kHitNext);
    EXPECT_EQ(logic.HitTest({53, 10}), kHitLast);
    EXPECT_EQ(logic.HitTest({70, 10}), kHitLast);
}

TEST(TabHitTest, ButtonsSpanTheFullHeightButNoMore)
{
    const TabStripLogic logic = ThreeTabs();
    EXPECT_EQ(logic.HitTest({40, 0}), kHitNext);
    EXPECT_EQ(logic.HitTest({40, kH - 1}), kHitNext);
    EXPECT_EQ(logic.HitTest({40, kH}), kHitNothing);
    EXPECT_EQ(logic.HitTest({40, -1}), kHitNothing);
    EXPECT_EQ(logic.HitTest({-1, 10}), kHitNothing);
}

TEST(TabHitTest, AbsentButtonsAreNotHit)
{
    const TabStripLogic logic = ThreeTabs(false);
    EXPECT_EQ(logic.HitTest({5, 10}), kHitNothing);    // first is absent
    EXPECT_EQ(logic.HitTest({60, 10}), kHitNothing);   // last is absent
    EXPECT_EQ(logic.HitTest({20, 10}), kHitPrevious);
    EXPECT_EQ(logic.HitTest({40, 10}), kHitNext);
}

TEST(TabHitTest, TabsByTheirTrapezoids)
{
    const TabStripLogic logic = ThreeTabs();
    // Tab 0: top corner at (71, 1); the strip row above it is nothing.
    EXPECT_EQ(logic.HitTest({71, 1}), 0);
    EXPECT_EQ(logic.HitTest({71, 0}), kHitNothing);
    // Bottom row 19 is below every tab.
    EXPECT_EQ(logic.HitTest({85, 19}), kHitNothing);
    EXPECT_EQ(logic.HitTest({85, 18}), 0);
    // Left slant of tab 0 at y = 9 passes x = 75.
    EXPECT_EQ(logic.HitTest({74, 9}), kHitNothing);
    EXPECT_EQ(logic.HitTest({75, 9}), 0);
    // Far right of the last tab and beyond it.
    EXPECT_EQ(logic.HitTest({164, 1}), 2);
    EXPECT_EQ(logic.HitTest({165, 1}), kHitNothing);
    EXPECT_EQ(logic.HitTest({300, 10}), kHitNothing);
}

TEST(TabHitTest, OverlappingSlantsGoToTheLowerIndex)
{
    const TabStripLogic logic = ThreeTabs();
    // At y = 9 tab 0 reaches up to x 97 (its corner (98, 9) is outside) and
    // tab 1 starts at x 96: 96 and 97 lie in both.
    EXPECT_EQ(logic.HitTest({95, 9}), 0);
    EXPECT_EQ(logic.HitTest({96, 9}), 0);
    EXPECT_EQ(logic.HitTest({97, 9}), 0);
    EXPECT_EQ(logic.HitTest({98, 9}), 1);
    // At the top, tab 0's covered end stops before 93; tab 1 starts at 92.
    EXPECT_EQ(logic.HitTest({92, 1}), 0);
    EXPECT_EQ(logic.HitTest({93, 1}), 1);
}

TEST(TabHitTest, LowerIndexWinsEvenOverTheSelectedTab)
{
    TabStripLogic logic = ThreeTabs();
    logic.SetCurSel(1);
    // Tab 0 is now "covered" (state 4) and tab 1 drawn on top, but the
    // overlap still belongs to tab 0.
    EXPECT_EQ(logic.HitTest({97, 9}), 0);
}

TEST(TabHitTest, SliverIsHitLeftOfTheFirstVisibleTab)
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetButtonsPresent(true);
    logic.SetClientSize({200, kH});
    for (int i = 0; i < 10; ++i)
        logic.InsertItem(i, u"tt", 0);
    for (int i = 0; i < 3; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    ASSERT_EQ(logic.Model().FirstVisible(), 3);
    // Sliver (71,1) (75,9) (71,19); tab 3's left slant crosses y = 5 at 73.
    EXPECT_EQ(logic.HitTest({71, 5}), 2);
    EXPECT_EQ(logic.HitTest({72, 5}), 2);
    EXPECT_EQ(logic.HitTest({73, 5}), 3);
    EXPECT_EQ(logic.HitTest({90, 5}), 3);
    // Hidden tabs are never hit, wherever their old rectangles were.
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < kH; ++y) {
            const int hit = logic.HitTest({x, y});
            EXPECT_TRUE(hit != 0 && hit != 1) << x << "," << y;
        }
}
