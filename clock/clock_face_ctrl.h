// CClockFaceCtrl: the analog clock face that fills the desktop clock window.
// It keeps its own one-second timer and redraws incrementally: each second
// only what moved is erased and drawn again (the second hand in NOT-XOR mode,
// so drawing it twice restores what lay under it), and every fifteen seconds
// the whole face is repainted to clear any traces.
#pragma once

#include <windows.h>

#include "clock/clock_geometry.h"
#include "framework/wnd.h"

class CClockFaceCtrl : public CWnd {
public:
    CClockFaceCtrl();

    // Creates the face as a child static control covering `rect` and starts
    // its clock.
    bool Create(HWND parent, const RECT& rect, UINT id);

    // The switches for the second hand and the moon: a change repaints the
    // face at once; setting the same value does nothing.
    void SetShowSecondHand(bool show);
    void SetShowMoon(bool show);
    bool ShowsSecondHand() const { return m_bShowSecond; }
    bool ShowsMoon() const { return m_bShowMoon; }

    // The face's background, which the clock window makes transparent.
    COLORREF BackgroundColour() const { return m_crBackground; }

    // One update from the time on the screen to `next` (hour 0..11): draws
    // into `dc` exactly what the update decision asks for. Returns it.
    clockface::UpdateKind Update(HDC dc, int hour, int minute, int second, int millisecond, bool full,
                                 bool force);
    // Paints the dial marks (the whole-face paint does this first).
    void DrawMarks(HDC dc);
    // The time last drawn.
    const clockface::FaceTime& ShownTime() const { return m_shown; }
    const clockface::Dial& Dial() const { return m_dial; }
    UINT_PTR TimerId() const { return m_nTimer; }

    static constexpr COLORREF kHourHandColour = RGB(123, 219, 36);
    static constexpr COLORREF kMinuteHandColour = RGB(18, 155, 237);
    static constexpr COLORREF kSecondHandColour = RGB(0, 255, 255);
    static constexpr COLORREF kTickColour = RGB(255, 0, 0);
    static constexpr COLORREF kOutlineColour = RGB(15, 15, 15);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // What the creation hook of the control does: measure, first draw, timer.
    void Start();
    void Measure();
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void DrawHand(HDC dc, int pos, clockface::Hand hand, bool draw);
    void Draw3dFrame(HDC dc, const clockface::Box& box);
    // Whether a new UTC day began since the moon was last drawn.
    bool MoonDayChanged();

    COLORREF m_crHour = kHourHandColour;
    COLORREF m_crMinute = kMinuteHandColour;
    COLORREF m_crSecond = kSecondHandColour;
    COLORREF m_crTick = kTickColour;
    COLORREF m_crBackground = RGB(0, 0, 0);
    clockface::Dial m_dial;
    clockface::FaceTime m_shown;
    UINT_PTR m_nTimer = 0;
    bool m_bRunning = true;
    bool m_bShowHour = true;
    bool m_bShowMinute = true;
    bool m_bShowSecond = true;
    bool m_bShowMoon = true;
    bool m_bShowMarks = true;
    bool m_bShowMinuteMarks = true;
    bool m_bRaisedMarks = true;
    long long m_nMoonDay = 0;
};
