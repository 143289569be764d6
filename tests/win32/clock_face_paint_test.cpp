// The clock face read back pixel by pixel: marks, the hands' colours at
// known times, the NOT-XOR second hand that erases itself, the update
// decisions; and the clock window's size and layered attributes.
#include <gtest/gtest.h>

#include <windows.h>

#include "clock/clock_face_ctrl.h"
#include "clock/clock_wnd.h"
#include "tests/win32/dib_canvas.h"

using clockface::UpdateKind;

namespace {

constexpr int kSide = 160;   // radius 80

class FaceHost {
public:
    FaceHost()
    {
        m_parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, kSide, kSide, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
        RECT rc{0, 0, kSide, kSide};
        EXPECT_TRUE(face.Create(m_parent, rc, 0xFFFF));
        face.SetShowMoon(false);
    }
    ~FaceHost()
    {
        face.DestroyWindow();
        ::DestroyWindow(m_parent);
    }
    CClockFaceCtrl face;

private:
    HWND m_parent;
};

COLORREF PixelAt(const DibCanvas& c, clockface::Point p)
{
    return c.At(p.x, p.y);
}

}  // namespace

TEST(ClockFacePaint, MarksInTheTickColour)
{
    FaceHost host;
    DibCanvas canvas(kSide, kSide, 0);
    host.face.DrawMarks(canvas.Dc());
    const clockface::Dial& dial = host.face.Dial();
    EXPECT_EQ(dial.radiusX, 80);
    EXPECT_EQ(dial.tickSize, 4);
    for (int i = 0; i < 60; i += 5)
        EXPECT_EQ(PixelAt(canvas, clockface::DialPoint(dial, i, 0.9)), RGB(255, 0, 0)) << i;
    // Corners and the centre stay the background (the colour key).
    EXPECT_EQ(canvas.At(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(80, 80), RGB(0, 0, 0));
    EXPECT_EQ(host.face.BackgroundColour(), RGB(0, 0, 0));
}

TEST(ClockFacePaint, HandsAtThreeOClockAndHalfAMinute)
{
    FaceHost host;
    host.face.SetShowSecondHand(true);
    DibCanvas canvas(kSide, kSide, 0);
    const clockface::Dial& dial = host.face.Dial();
    EXPECT_EQ(host.face.Update(canvas.Dc(), 3, 0, 30, 0, true, false), UpdateKind::Full);
    EXPECT_EQ(PixelAt(canvas, clockface::DialPoint(dial, 15, 0.30)), RGB(123, 219, 36));   // hour hand
    EXPECT_EQ(PixelAt(canvas, clockface::DialPoint(dial, 0, 0.40)), RGB(18, 155, 237));    // minute hand
    // The second hand straight down: NOT-XOR of cyan on black shows red.
    EXPECT_EQ(canvas.At(80, 130), RGB(255, 0, 0));

    // One second later only the second hand moved: erased below, drawn left.
    EXPECT_EQ(host.face.Update(canvas.Dc(), 3, 0, 45, 0, false, false), UpdateKind::SecondOnly);
    EXPECT_EQ(canvas.At(80, 130), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(30, 80), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(canvas, clockface::DialPoint(dial, 15, 0.30)), RGB(123, 219, 36));
}

TEST(ClockFacePaint, MinuteChangeErasesAndRedrawsTheHands)
{
    FaceHost host;
    host.face.SetShowSecondHand(true);
    DibCanvas canvas(kSide, kSide, 0);
    const clockface::Dial& dial = host.face.Dial();
    host.face.Update(canvas.Dc(), 3, 11, 59, 0, true, false);
    EXPECT_EQ(host.face.Update(canvas.Dc(), 3, 12, 0, 0, false, false), UpdateKind::Redraw);
    EXPECT_EQ(host.face.ShownTime().hourHandPos, 16);
    EXPECT_EQ(PixelAt(canvas, clockface::DialPoint(dial, 11, 0.55)), RGB(0, 0, 0));        // old minute hand gone
    EXPECT_EQ(PixelAt(canvas, clockface::DialPoint(dial, 12, 0.25)), RGB(18, 155, 237));
    EXPECT_EQ(host.face.Update(canvas.Dc(), 3, 12, 1, 0, false, false), UpdateKind::SecondOnly);
    host.face.SetShowSecondHand(false);
    EXPECT_EQ(host.face.Update(canvas.Dc(), 3, 12, 2, 0, false, false), UpdateKind::Nothing);
}

TEST(ClockFacePaint, TimerRunsUntilTheWindowGoes)
{
    FaceHost host;
    EXPECT_NE(host.face.TimerId(), 0u);
    host.face.DestroyWindow();
    EXPECT_EQ(host.face.TimerId(), 0u);
}

TEST(ClockWindow, SizeAndLayeredAttributes)
{
    CClockWnd clock(&::SetLayeredWindowAttributes);
    ClockSettings s;
    s.radius = 50;
    s.x = 20;
    s.y = 30;
    s.transparency = 0;
    ASSERT_TRUE(clock.ShowClock(s));
    RECT rc = clock.GetWindowRect();
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.right - rc.left, 100);
    EXPECT_EQ(rc.bottom - rc.top, 100);
    EXPECT_TRUE(clock.GetExStyle() & WS_EX_LAYERED);
    EXPECT_TRUE(clock.GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(clock.GetExStyle() & WS_EX_TOPMOST);
    const RECT face = clock.Face().GetClientRect();
    EXPECT_EQ(face.right, 100);

    COLORREF key = 1;
    BYTE alpha = 1;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(clock.m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(0, 0, 0));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
    clock.SetClockTransparency(50);
    ASSERT_TRUE(::GetLayeredWindowAttributes(clock.m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 127);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    clock.SetClockTransparency(200);   // more than 100 % is 100 %
    ASSERT_TRUE(::GetLayeredWindowAttributes(clock.m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 0);

    // A new radius resizes in place.
    s.radius = 120;
    ASSERT_TRUE(clock.ShowClock(s));
    rc = clock.GetWindowRect();
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.right - rc.left, 240);
    EXPECT_EQ(clock.Face().GetClientRect().right, 240);
    EXPECT_EQ(clock.Face().Dial().radiusX, 120);
}

TEST(ClockWindow, NotShownWithoutLayeredWindows)
{
    CClockWnd clock(nullptr);
    EXPECT_FALSE(clock.ShowClock(ClockSettings{}));
    EXPECT_EQ(clock.m_hWnd, nullptr);
}

TEST(ClockFacePaint, NoGdiObjectLeaksOverManyUpdates)
{
    FaceHost host;
    host.face.SetShowSecondHand(true);
    host.face.SetShowMoon(true);
    DibCanvas canvas(kSide, kSide, 0);
    host.face.DrawMarks(canvas.Dc());
    host.face.Update(canvas.Dc(), 1, 0, 0, 0, true, false);
    const unsigned before = GdiHandleHighWater();
    for (int i = 0; i < 300; ++i) {
        host.face.Update(canvas.Dc(), (i / 60) % 12, i % 60, i % 60, 0, i % 15 == 0, false);
        if (i % 15 == 0)
            host.face.DrawMarks(canvas.Dc());
    }
    EXPECT_LE(GdiHandleHighWater(), before + 16);
}
