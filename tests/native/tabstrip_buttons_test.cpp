// Looks of the scroll buttons under the mouse, and auto-repeat timing.
#include <gtest/gtest.h>

#include "tabstrip/tab_buttons.h"
#include "tabstrip/tab_strip_logic.h"

using namespace tabstrip;

namespace {

constexpr int kH = 20;
constexpr TabPoint kOverNext{40, 10};
constexpr TabPoint kOverPrevious{20, 10};
constexpr TabPoint kOverTabs{150, 10};

int SevenPerUnit(std::u16string_view s)
{
    return static_cast<int>(s.size()) * 7;
}

// Ten 38-pixel tabs on a 200-pixel strip: the last one is fully shown from
// first visible 6 on. Tab 0 selected.
TabStripLogic TenTabs()
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetButtonsPresent(true);
    logic.SetClientSize({200, kH});
    for (int i = 0; i < 10; ++i)
        logic.InsertItem(i, u"tt", uintptr_t(i));
    logic.SetCurSel(0);
    return logic;
}

ButtonState StateOf(const TabStripLogic& logic, ScrollButton b)
{
    return logic.Buttons().State(b);
}

}  // namespace

TEST(TabButtons, PresenceFollowsTheStyle)
{
    ScrollButtons four;
    four.SetPresent(true);
    EXPECT_EQ(four.State(ScrollButton::First), ButtonState::Normal);
    EXPECT_EQ(four.State(ScrollButton::Last), ButtonState::Normal);
    ScrollButtons two;
    two.SetPresent(false);
    EXPECT_EQ(two.State(ScrollButton::First), ButtonState::Absent);
    EXPECT_EQ(two.State(ScrollButton::Previous), ButtonState::Normal);
    EXPECT_EQ(two.State(ScrollButton::Next), ButtonState::Normal);
    EXPECT_EQ(two.State(ScrollButton::Last), ButtonState::Absent);
    ScrollButtons none;
    EXPECT_FALSE(none.AnyPresent());
    EXPECT_FALSE(none.MouseMove(kHitNext, false).repaint);
    EXPECT_FALSE(none.MouseLeave().repaint);
}

TEST(TabButtons, HoverMakesAButtonHotOnlyWithTheMouseButtonUp)
{
    TabStripLogic logic = TenTabs();
    EXPECT_TRUE(logic.MouseMove(kOverNext, false).repaint);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Hot);
    EXPECT_EQ(StateOf(logic, ScrollButton::Previous), ButtonState::Normal);
    // Dragging onto a button from elsewhere: not hot.
    logic.MouseMove(kOverNext, true);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Normal);
    logic.MouseMove(kOverTabs, false);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Normal);
}

TEST(TabButtons, HeldButtonShowsPressedOnlyWhileThePointerIsOnIt)
{
    TabStripLogic logic = TenTabs();
    const ClickOutcome click = logic.Click(kHitNext, 1000);
    EXPECT_TRUE(click.startTimer);
    EXPECT_EQ(click.postCommand, kCmdNext);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Pressed);
    EXPECT_EQ(logic.Buttons().PressedPart(), kHitNext);

    logic.MouseMove(kOverTabs, true);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Normal);
    // Over another button while one is held: neither pressed nor hot.
    logic.MouseMove(kOverPrevious, true);
    EXPECT_EQ(StateOf(logic, ScrollButton::Previous), ButtonState::Normal);
    logic.MouseMove(kOverNext, true);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Pressed);
}

TEST(TabButtons, ButtonUpRestoresEverythingAndStopsTheTimer)
{
    TabStripLogic logic = TenTabs();
    logic.Click(kHitNext, 0);
    const ButtonEffects up = logic.LeftButtonUp();
    EXPECT_TRUE(up.repaint);
    EXPECT_TRUE(up.stopTimer);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Normal);
    EXPECT_EQ(logic.Buttons().PressedPart(), kHitNothing);
    // Now hovering makes it hot, not pressed.
    logic.MouseMove(kOverNext, false);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Hot);
}

TEST(TabButtons, LeavingTheWindowStopsTheTimerAndComingBackRestartsIt)
{
    TabStripLogic logic = TenTabs();
    logic.Click(kHitNext, 0);
    const ButtonEffects leave = logic.MouseLeave();
    EXPECT_TRUE(leave.stopTimer);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Normal);
    EXPECT_FALSE(logic.Buttons().TimerRunning());
    // Still held (the pressed part stays): back on it, pressed again, and
    // the timer must run again or the held button would never repeat.
    const ButtonEffects back = logic.MouseMove(kOverNext, true);
    EXPECT_EQ(StateOf(logic, ScrollButton::Next), ButtonState::Pressed);
    EXPECT_TRUE(back.startTimer);
    // A further move does not restart a running timer (which would delay it).
    EXPECT_FALSE(logic.MouseMove(kOverNext, true).startTimer);
}

TEST(TabButtons, RepeatWaitsAtLeast250ms)
{
    ScrollButtons b;
    b.SetPresent(true);
    b.Press(ScrollButton::Next, 1000);
    EXPECT_FALSE(b.TakeRepeatStep(1100));
    EXPECT_FALSE(b.TakeRepeatStep(1200));
    EXPECT_EQ(b.TakeRepeatStep(1250), ScrollButton::Next);
    EXPECT_FALSE(b.TakeRepeatStep(1300));
    EXPECT_FALSE(b.TakeRepeatStep(1499));
    EXPECT_EQ(b.TakeRepeatStep(1500), ScrollButton::Next);
}

TEST(TabButtons, WithAHundredMsTimerRepeatsComeEvery300ms)
{
    ScrollButtons b;
    b.SetPresent(true);
    b.Press(ScrollButton::Previous, 0);
    std::vector<uint32_t> steps;
    for (uint32_t t = 100; t <= 1500; t += kRepeatTimerMs)
        if (b.TakeRepeatStep(t))
            steps.push_back(t);
    EXPECT_EQ(steps, (std::vector<uint32_t>{300, 600, 900, 1200, 1500}));
}

TEST(TabButtons, RepeatClockSurvivesTheTickCountWrap)
{
    ScrollButtons b;
    b.SetPresent(true);
    b.Press(ScrollButton::Last, 0xFFFFFF80u);      // 128 ms before the wrap
    EXPECT_FALSE(b.TakeRepeatStep(0x00000079u));   // 249 ms later
    EXPECT_EQ(b.TakeRepeatStep(0x0000007Au), ScrollButton::Last);
}

TEST(TabButtons, NoRepeatWhileTheHeldButtonShowsNormal)
{
    ScrollButtons b;
    b.SetPresent(true);
    b.Press(ScrollButton::Next, 0);
    b.MouseMove(kHitNothing, true);
    EXPECT_FALSE(b.TakeRepeatStep(1000));
    b.MouseMove(kHitNext, true);
    EXPECT_EQ(b.TakeRepeatStep(1000), ScrollButton::Next);
}

TEST(TabButtons, HoldingNextSelectsOnceAndScrollsUntilTheLastTabShows)
{
    TabStripLogic logic = TenTabs();
    const ClickOutcome click = logic.Click(kHitNext, 0);
    EXPECT_EQ(logic.Model().FirstVisible(), 1);   // the press scrolls at once
    // The posted command moves the selection by one and notifies.
    const CommandOutcome cmd = logic.ScrollCommand(click.postCommand);
    EXPECT_TRUE(cmd.notify);
    EXPECT_EQ(logic.GetCurSel(), 1);

    std::vector<int> positions;
    for (uint32_t t = 100; t <= 3000; t += kRepeatTimerMs)
        if (logic.RepeatTick(t))
            positions.push_back(logic.Model().FirstVisible());
    // One step every 300 ms until first visible 6, then no further.
    ASSERT_GE(positions.size(), 6u);
    EXPECT_EQ(std::vector<int>(positions.begin(), positions.begin() + 6),
              (std::vector<int>{2, 3, 4, 5, 6, 6}));
    EXPECT_EQ(logic.Model().FirstVisible(), 6);
    EXPECT_LE(logic.Item(9)->rect.right, 200);
    EXPECT_EQ(logic.GetCurSel(), 1);   // the selection does not follow
}

TEST(TabButtons, PressingPreviousOnTheFirstTabScrollsButDoesNotNotify)
{
    TabStripLogic logic = TenTabs();
    for (int i = 0; i < 3; ++i)
        logic.LayOut(LayoutMode::Next, -1);
    const ClickOutcome click = logic.Click(kHitPrevious, 0);
    EXPECT_EQ(logic.Model().FirstVisible(), 2);
    EXPECT_FALSE(logic.ScrollCommand(click.postCommand).notify);
    EXPECT_EQ(logic.GetCurSel(), 0);
}

TEST(TabButtons, FirstAndLastButtonsJump)
{
    TabStripLogic logic = TenTabs();
    ClickOutcome click = logic.Click(kHitLast, 0);
    EXPECT_EQ(logic.Model().FirstVisible(), 6);
    EXPECT_EQ(click.postCommand, kCmdLast);
    logic.ScrollCommand(click.postCommand);
    EXPECT_EQ(logic.GetCurSel(), 9);
    logic.LeftButtonUp();
    click = logic.Click(kHitFirst, 0);
    EXPECT_EQ(logic.Model().FirstVisible(), 0);
    EXPECT_EQ(click.postCommand, kCmdFirst);
    logic.ScrollCommand(click.postCommand);
    EXPECT_EQ(logic.GetCurSel(), 0);
}
