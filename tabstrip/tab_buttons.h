// The scroll buttons' looks (normal, hot, pressed) as the mouse moves, goes
// down and comes up, and the auto-repeat clock of a held button.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "tabstrip/tab_layout.h"

namespace tabstrip {

enum class ButtonState : uint8_t { Absent = 0, Normal = 1, Hot = 2, Pressed = 3 };

// Period of the auto-repeat timer, and the least time between two scroll
// steps of a held button (so with a 100 ms timer, a step every 300 ms).
inline constexpr uint32_t kRepeatTimerMs = 100;
inline constexpr uint32_t kRepeatDelayMs = 250;

// What the window has to do after a button event.
struct ButtonEffects {
    bool repaint = false;
    bool startTimer = false;
    bool stopTimer = false;
};

class ScrollButtons {
public:
    // Previous and next are always there; first and last only on request.
    void SetPresent(bool firstAndLast);
    bool AnyPresent() const;
    bool IsPresent(ScrollButton b) const { return State(b) != ButtonState::Absent; }
    std::array<bool, kButtonCount> Present() const;
    ButtonState State(ScrollButton b) const { return m_states[size_t(b)]; }

    // The part the left button went down on: kHitFirst ... kHitLast, or
    // kHitNothing.
    int PressedPart() const { return m_pressedPart; }
    uint32_t LastRepeatTick() const { return m_lastRepeatTick; }
    bool TimerRunning() const { return m_timerRunning; }

    // The left button went down on b at tick `now` (ms): b shows pressed and
    // the repeat clock starts; the window starts its timer.
    ButtonEffects Press(ScrollButton b, uint32_t now);
    // The left button went down anywhere else.
    void PressNothing() { m_pressedPart = kHitNothing; }

    // The pointer moved to a point whose hit-test result is `hit`. A held
    // button shows pressed only while the pointer is over it, and hot only
    // while nothing is held.
    ButtonEffects MouseMove(int hit, bool leftButtonDown);
    // The pointer left the window: everything normal, timer stopped. The
    // pressed part stays, so coming back over the held button presses it
    // again.
    ButtonEffects MouseLeave();
    // The left button came up (or the capture went to another window).
    ButtonEffects Release();

    // Timer tick at `now`: the first button (first, previous, next, last)
    // that shows pressed and last stepped at least kRepeatDelayMs ago takes
    // a step; its clock restarts. Tick counts may wrap around.
    std::optional<ScrollButton> TakeRepeatStep(uint32_t now);

private:
    void AllPresentTo(ButtonState state);

    std::array<ButtonState, kButtonCount> m_states{};
    int m_pressedPart = kHitNothing;
    uint32_t m_lastRepeatTick = 0;
    bool m_timerRunning = false;
};

}  // namespace tabstrip
