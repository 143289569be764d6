#include "tabstrip/tab_buttons.h"

namespace tabstrip {

void ScrollButtons::SetPresent(bool firstAndLast)
{
    const ButtonState outer = firstAndLast ? ButtonState::Normal : ButtonState::Absent;
    m_states = {outer, ButtonState::Normal, ButtonState::Normal, outer};
}

bool ScrollButtons::AnyPresent() const
{
    for (ButtonState s : m_states)
        if (s != ButtonState::Absent)
            return true;
    return false;
}

std::array<bool, kButtonCount> ScrollButtons::Present() const
{
    std::array<bool, kButtonCount> present{};
    for (size_t b = 0; b < present.size(); ++b)
        present[b] = m_states[b] != ButtonState::Absent;
    return present;
}

void ScrollButtons::AllPresentTo(ButtonState state)
{
    for (ButtonState& s : m_states)
        if (s != ButtonState::Absent)
            s = state;
}

ButtonEffects ScrollButtons::Press(ScrollButton b, uint32_t now)
{
    ButtonEffects fx;
    if (!IsPresent(b))
        return fx;
    m_pressedPart = HitCode(b);
    m_states[size_t(b)] = ButtonState::Pressed;
    m_lastRepeatTick = now;
    m_timerRunning = true;
    fx.repaint = true;
    fx.startTimer = true;
    return fx;
}

ButtonEffects ScrollButtons::MouseMove(int hit, bool leftButtonDown)
{
    ButtonEffects fx;
    if (!AnyPresent())
        return fx;
    for (int b = 0; b < kButtonCount; ++b) {
        ButtonState& s = m_states[size_t(b)];
        if (s == ButtonState::Absent)
            continue;
        const bool over = hit == HitCode(static_cast<ScrollButton>(b));
        if (over && m_pressedPart == hit)
            s = ButtonState::Pressed;
        else if (over && m_pressedPart == kHitNothing && !leftButtonDown)
            s = ButtonState::Hot;
        else
            s = ButtonState::Normal;
    }
    // Leaving the window stopped the timer; coming back onto the held
    // button must let it repeat again.
    if (IsButtonHit(m_pressedPart) && State(ButtonOfHit(m_pressedPart)) == ButtonState::Pressed &&
        !m_timerRunning) {
        m_timerRunning = true;
        fx.startTimer = true;
    }
    fx.repaint = true;
    return fx;
}

ButtonEffects ScrollButtons::MouseLeave()
{
    ButtonEffects fx;
    if (!AnyPresent())
        return fx;
    AllPresentTo(ButtonState::Normal);
    m_timerRunning = false;
    fx.repaint = true;
    fx.stopTimer = true;
    return fx;
}

ButtonEffects ScrollButtons::Release()
{
    ButtonEffects fx;
    if (AnyPresent()) {
        AllPresentTo(ButtonState::Normal);
        m_timerRunning = false;
        fx.repaint = true;
        fx.stopTimer = true;
    }
    m_pressedPart = kHitNothing;
    return fx;
}

std::optional<ScrollButton> ScrollButtons::TakeRepeatStep(uint32_t now)
{
    for (int b = 0; b < kButtonCount; ++b) {
        // Unsigned difference: right across the 49.7-day wrap of the tick count.
        if (m_states[size_t(b)] == ButtonState::Pressed && now - m_lastRepeatTick >= kRepeatDelayMs) {
            m_lastRepeatTick = now;
            return static_cast<ScrollButton>(b);
        }
    }
    return std::nullopt;
}

}  // namespace tabstrip
