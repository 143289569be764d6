// Geometry of the strip: button block, tab widths and overlaps, placing
// with a scroll position, display states, outlines and the six layout modes.
//
// Numbers below are worked out by hand for a strip H = 20 high: the button
// block is (20 - 3) * 4 + 3 = 71 wide, the overlap H / 2 = 10, and the test
// font is 7 px per UTF-16 unit, so a tab of n units is 7n + 4 + 20 wide.
#include <gtest/gtest.h>

#include <string>

#include "tabstrip/tab_layout.h"
#include "tabstrip/tab_strip_logic.h"

using namespace tabstrip;

namespace {

constexpr int kH = 20;

int SevenPerUnit(std::u16string_view s)
{
    return static_cast<int>(s.size()) * 7;
}

// n tabs labelled "t0", "t1", ... : each 38 wide, each next one 28 further.
TabStripLogic TwoLetterTabs(int n, int width, int selection = -1)
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetButtonsPresent(true);
    logic.SetClientSize({width, kH});
    for (int i = 0; i < n; ++i)
        logic.InsertItem(i, u"t" + std::u16string(1, char16_t(u'0' + i % 10)), uintptr_t(i));
    if (selection >= 0)
        logic.SetCurSel(selection);
    return logic;
}

TabRect RectOf(const TabStripLogic& logic, int i)
{
    return logic.Item(i)->rect;
}

DisplayState StateOf(const TabStripLogic& logic, int i)
{
    return logic.Item(i)->state;
}

int FirstVisible(const TabStripLogic& logic)
{
    return logic.Model().FirstVisible();
}

}  // namespace

TEST(TabLayout, ButtonBlockWidth)
{
    EXPECT_EQ(ButtonBlockWidth(20), 71);
    EXPECT_EQ(ButtonBlockWidth(24), 87);
    EXPECT_EQ(ButtonBlockRect(20), (TabRect{0, 1, 71, 20}));
}

TEST(TabLayout, ButtonPaintRectangles)
{
    EXPECT_EQ(ButtonPaintRect(ScrollButton::First, 20), (TabRect{1, 2, 18, 19}));
    EXPECT_EQ(ButtonPaintRect(ScrollButton::Previous, 20), (TabRect{18, 2, 35, 19}));
    EXPECT_EQ(ButtonPaintRect(ScrollButton::Next, 20), (TabRect{36, 2, 53, 19}));
    EXPECT_EQ(ButtonPaintRect(ScrollButton::Last, 20), (TabRect{53, 2, 70, 19}));
}

TEST(TabLayout, WidthsAndOverlapsOfNeighbours)
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetClientSize({1000, kH});
    logic.InsertItem(0, u"a", 0);
    logic.InsertItem(1, u"bb", 0);
    logic.InsertItem(2, u"ccc", 0);
    // Widths 7+4+20 = 31, 38, 45; each starts 10 before the previous end.
    EXPECT_EQ(RectOf(logic, 0), (TabRect{71, 1, 102, 19}));
    EXPECT_EQ(RectOf(logic, 1), (TabRect{92, 1, 130, 19}));
    EXPECT_EQ(RectOf(logic, 2), (TabRect{120, 1, 165, 19}));
}

TEST(TabLayout, OddHeightUsesIntegerHalves)
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetClientSize({1000, 21});   // block 75, overlap 10
    logic.InsertItem(0, u"a", 0);
    logic.InsertItem(1, u"a", 0);
    EXPECT_EQ(RectOf(logic, 0), (TabRect{75, 1, 107, 20}));
    EXPECT_EQ(RectOf(logic, 1), (TabRect{97, 1, 129, 20}));
}

TEST(TabLayout, FailedMeasurementCountsAsZeroAndIsRetried)
{
    bool fail = true;
    TabStripLogic logic([&](std::u16string_view s) { return fail ? -1 : SevenPerUnit(s); });
    logic.SetClientSize({1000, kH});
    logic.InsertItem(0, u"abc", 0);
    EXPECT_EQ(RectOf(logic, 0), (TabRect{71, 1, 71 + 4 + 20, 19}));
    fail = false;
    logic.LayOut(LayoutMode::Fit, 0);
    EXPECT_EQ(RectOf(logic, 0), (TabRect{71, 1, 71 + 21 + 4 + 20, 19}));
}

TEST(TabLayout, DisplayStatesWithoutScrolling)
{
    TabStripLogic logic = TwoLetterTabs(4, 1000, 1);
    EXPECT_EQ(StateOf(logic, 0), DisplayState::Covered);
    EXPECT_EQ(StateOf(logic, 1), DisplayState::Full);   // selected
    EXPECT_EQ(StateOf(logic, 2), DisplayState::Covered);
    EXPECT_EQ(StateOf(logic, 3), DisplayState::Full);   // last
}

TEST(TabLayout, PlacingWithFirstVisibleHidesAndShowsASliver)
{
    // 10 tabs, strip 200 wide: the last tab ends at 71 + 9*28 + 38 = 361
    // with nothing scrolled, so the strip may scroll.
    TabStripLogic logic = TwoLetterTabs(10, 200);
    logic.LayOut(LayoutMode::Next, -1);
    logic.LayOut(LayoutMode::Next, -1);
    logic.LayOut(LayoutMode::Next, -1);
    ASSERT_EQ(FirstVisible(logic), 3);
    EXPECT_EQ(StateOf(logic, 0), DisplayState::Hidden);
    EXPECT_EQ(RectOf(logic, 0), (TabRect{}));
    EXPECT_EQ(StateOf(logic, 1), DisplayState::Hidden);
    EXPECT_EQ(StateOf(logic, 2), DisplayState::Sliver);
    EXPECT_EQ(RectOf(logic, 2), (TabRect{71, 1, 81, 19}));
    EXPECT_EQ(RectOf(logic, 3), (TabRect{71, 1, 109, 19}));
    EXPECT_EQ(RectOf(logic, 4), (TabRect{99, 1, 137, 19}));
    EXPECT_EQ(RectOf(logic, 9), (TabRect{239, 1, 277, 19}));
}

TEST(TabLayout, SelectedSliverHasItsOwnState)
{
    TabStripLogic logic = TwoLetterTabs(10, 200, 2);
    for (int i = 0; i < 3; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    ASSERT_EQ(FirstVisible(logic), 3);
    EXPECT_EQ(StateOf(logic, 2), DisplayState::SliverSelected);
}

TEST(TabLayout, OutlineOfAFullTab)
{
    // h = 18: quarter 4, half 9; the middle corners sit at y = 9.
    const TabOutline o = MakeOutline(DisplayState::Full, {71, 1, 102, 19});
    const TabOutline expected{{{71, 1}, {75, 9}, {80, 19}, {93, 19}, {98, 9}, {102, 1}}};
    EXPECT_EQ(o, expected);
}

TEST(TabLayout, OutlineOfACoveredTabEndsWhereTheNextBegins)
{
    const TabOutline o = MakeOutline(DisplayState::Covered, {71, 1, 102, 19});
    const TabOutline expected{{{71, 1}, {75, 9}, {80, 19}, {93, 19}, {98, 9}, {93, 1}}};
    EXPECT_EQ(o, expected);
}

TEST(TabLayout, OutlinesOfSliversAndHiddenTabs)
{
    const TabRect sliver{71, 1, 81, 19};
    const TabOutline plain{{{71, 1}, {75, 9}, {71, 19}, {71, 19}, {71, 19}, {71, 19}}};
    const TabOutline selected{{{71, 1}, {71, 19}, {80, 1}, {80, 1}, {80, 1}, {80, 1}}};
    EXPECT_EQ(MakeOutline(DisplayState::Sliver, sliver), plain);
    EXPECT_EQ(MakeOutline(DisplayState::SliverSelected, sliver), selected);
    EXPECT_EQ(MakeOutline(DisplayState::Hidden, sliver), TabOutline{});
}

// --- The six modes ------------------------------------------------------

TEST(TabLayoutModes, PreviousStepsBackButNotBelowZero)
{
    TabStripLogic logic = TwoLetterTabs(10, 200);
    logic.LayOut(LayoutMode::Next, -1);
    logic.LayOut(LayoutMode::Next, -1);
    logic.LayOut(LayoutMode::Previous, -1);
    EXPECT_EQ(FirstVisible(logic), 1);
    logic.LayOut(LayoutMode::Previous, -1);
    logic.LayOut(LayoutMode::Previous, -1);
    EXPECT_EQ(FirstVisible(logic), 0);
}

TEST(TabLayoutModes, NextStopsWhenTheLastTabIsFullyShown)
{
    // The last tab's right edge is 361 - 28 * fv: 221 at fv 5 (> 200),
    // 193 at fv 6 (fits), so fv 6 is as far as Next goes.
    TabStripLogic logic = TwoLetterTabs(10, 200);
    for (int i = 0; i < 20; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    EXPECT_EQ(FirstVisible(logic), 6);
    EXPECT_EQ(RectOf(logic, 9).right, 193);
}

TEST(TabLayoutModes, NextNeverPassesTheLastTab)
{
    // A strip narrower than the block: every tab sticks out.
    TabStripLogic logic = TwoLetterTabs(3, 60);
    for (int i = 0; i < 10; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    EXPECT_EQ(FirstVisible(logic), 2);
}

TEST(TabLayoutModes, FitKeepsAPositionThatReachesTheRightEdge)
{
    TabStripLogic logic = TwoLetterTabs(10, 200);
    for (int i = 0; i < 5; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    ASSERT_EQ(FirstVisible(logic), 5);   // last tab ends at 221
    logic.LayOut(LayoutMode::Fit, -1);
    EXPECT_EQ(FirstVisible(logic), 5);
}

TEST(TabLayoutModes, FitTakesBackEmptySpaceAtTheRight)
{
    TabStripLogic logic = TwoLetterTabs(10, 200);
    for (int i = 0; i < 6; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    ASSERT_EQ(FirstVisible(logic), 6);
    // Wider strip: at fv 6 the last tab ends at 193 < 300; at fv 3 at 277,
    // at fv 2 at 305 (beyond): Fit settles on 3.
    logic.SetClientSize({300, kH});
    EXPECT_EQ(FirstVisible(logic), 3);
}

TEST(TabLayoutModes, FitWhenTheLastTabWouldEndExactlyAtTheEdge)
{
    // At fv 6 the last tab ends at 193. From fv 8 (ends at 137) with W 193,
    // Fit steps back while the end stays below 193: 7 (165) yes, 6 (193) no.
    TabStripLogic logic = TwoLetterTabs(10, 100);
    for (int i = 0; i < 8; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    ASSERT_EQ(FirstVisible(logic), 8);
    logic.SetClientSize({193, kH});
    EXPECT_EQ(FirstVisible(logic), 7);
    // Whereas a position that already ends at the edge is kept.
    for (int i = 0; i < 1; ++i)
        logic.LayOut(LayoutMode::Previous, -1);
    ASSERT_EQ(FirstVisible(logic), 6);
    logic.LayOut(LayoutMode::Fit, -1);
    EXPECT_EQ(FirstVisible(logic), 6);
}

TEST(TabLayoutModes, FitWithAllTabsFittingReturnsToZero)
{
    TabStripLogic logic = TwoLetterTabs(10, 200);
    for (int i = 0; i < 6; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    logic.SetClientSize({1000, kH});
    EXPECT_EQ(FirstVisible(logic), 0);
    EXPECT_EQ(RectOf(logic, 0).left, 71);
}

TEST(TabLayoutModes, FirstGoesToZero)
{
    TabStripLogic logic = TwoLetterTabs(10, 200);
    for (int i = 0; i < 4; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    logic.LayOut(LayoutMode::First, -1);
    EXPECT_EQ(FirstVisible(logic), 0);
}

TEST(TabLayoutModes, LastGoesToTheEndThenFits)
{
    TabStripLogic logic = TwoLetterTabs(10, 200);
    logic.LayOut(LayoutMode::Last, -1);
    EXPECT_EQ(FirstVisible(logic), 6);
    EXPECT_EQ(StateOf(logic, 5), DisplayState::Sliver);
}

TEST(TabLayoutModes, LastOnAnEmptyStripStaysAtZero)
{
    TabStripLogic logic = TwoLetterTabs(0, 200);
    logic.LayOut(LayoutMode::Last, -1);
    EXPECT_EQ(FirstVisible(logic), 0);
}

TEST(TabLayoutModes, ClickedSliverScrollsBackByOne)
{
    TabStripLogic logic = TwoLetterTabs(10, 200, 0);
    for (int i = 0; i < 3; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    ASSERT_EQ(StateOf(logic, 2), DisplayState::Sliver);
    // A click selects the tab first, so it is laid out as a selected sliver.
    logic.Click(2, 0);
    EXPECT_EQ(FirstVisible(logic), 2);
    EXPECT_EQ(StateOf(logic, 2), DisplayState::Full);
    EXPECT_EQ(RectOf(logic, 2).left, 71);
}

TEST(TabLayoutModes, ClickedTabCutOffAtTheRightIsScrolledIn)
{
    // Tab i ends at 109 + 28 i with nothing scrolled; tab 5 at 249.
    // 249 -> 221 -> 193: two steps bring it within 200.
    TabStripLogic logic = TwoLetterTabs(10, 200, 0);
    logic.Click(5, 0);
    EXPECT_EQ(FirstVisible(logic), 2);
    EXPECT_LE(RectOf(logic, 5).right, 200);
}

TEST(TabLayoutModes, ClickedTabWiderThanTheStripStopsAtTheBlock)
{
    // 100 wide: tab 3 ends beyond 100 wherever it is; scrolling stops when
    // it becomes the first visible tab.
    TabStripLogic logic = TwoLetterTabs(6, 100, 0);
    logic.Click(3, 0);
    EXPECT_EQ(FirstVisible(logic), 3);
    EXPECT_EQ(RectOf(logic, 3).left, 71);
}

TEST(TabLayoutModes, ClickedTabAlreadyShownDoesNotScroll)
{
    TabStripLogic logic = TwoLetterTabs(10, 200, 0);
    logic.Click(3, 0);   // ends at 193
    EXPECT_EQ(FirstVisible(logic), 0);
}

TEST(TabLayoutModes, DeletingScrolledOutTabsBringsTheRestBack)
{
    TabStripLogic logic = TwoLetterTabs(10, 200);
    for (int i = 0; i < 6; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    while (logic.GetItemCount() > 2)
        logic.DeleteItem(logic.GetItemCount() - 1);
    EXPECT_EQ(FirstVisible(logic), 0);
    EXPECT_EQ(StateOf(logic, 0), DisplayState::Covered);
    EXPECT_EQ(StateOf(logic, 1), DisplayState::Full);
}

TEST(TabLayoutModes, ThousandsOfTabs)
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetButtonsPresent(true);
    logic.SetClientSize({800, kH});
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(logic.InsertItem(0, u"第" + std::u16string(1, char16_t(u'0' + i % 10)) + u"页", 0), 0);
    logic.SetCurSel(4999);
    logic.LayOut(LayoutMode::Last, -1);
    EXPECT_LE(RectOf(logic, 4999).right, 800);
    EXPECT_GT(FirstVisible(logic), 4900);
    EXPECT_EQ(logic.HitTest({RectOf(logic, 4999).left + 20, 10}), 4999);
    logic.LayOut(LayoutMode::First, -1);
    EXPECT_EQ(logic.HitTest({80, 10}), 0);
    while (logic.GetItemCount() > 0)
        logic.DeleteItem(logic.GetItemCount() / 2);
    EXPECT_EQ(logic.GetCurSel(), -1);
}

TEST(TabLayoutModes, ZeroSizedStripDoesNotMisbehave)
{
    // The control is created with an empty rectangle and laid out at once.
    TabStripLogic logic(SevenPerUnit);
    logic.InsertItem(0, u"日常", 0);
    logic.LayOut(LayoutMode::Fit, 0);
    logic.LayOut(LayoutMode::Next, 0);
    logic.LayOut(LayoutMode::Last, 0);
    logic.LayOut(LayoutMode::ClickedTab, 0);
    EXPECT_EQ(FirstVisible(logic), 0);
    const int hit = logic.HitTest({0, 0});
    EXPECT_TRUE(hit == 0 || hit == kHitNothing);
    // Once it gets a size, it is laid out properly.
    logic.SetClientSize({300, kH});
    EXPECT_EQ(RectOf(logic, 0).left, 71);
    EXPECT_EQ(logic.HitTest({0, 0}), kHitNothing);   // buttons absent
}
