// The moon picture read back pixel by pixel: the shaded rows for the new
// moon, the quarters and the full moon, the red pixel of 20 July, and the
// picture control's ownership of its bitmap.
#include <gtest/gtest.h>

#include <windows.h>

#include "clock/moon_picture.h"
#include "tests/win32/dib_canvas.h"

namespace {

constexpr int kSide = 66;

class MoonWindow {
public:
    MoonWindow()
    {
        m_hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, kSide, kSide, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    }
    ~MoonWindow() { ::DestroyWindow(m_hwnd); }
    // Where bitmap column 0, row 0 lands: the 58 x 58 copy starts at
    // (width / 2 - 28, height / 2 - 28) with bitmap column 2.
    static POINT Origin(HWND hwnd)
    {
        RECT rc{};
        ::GetClientRect(hwnd, &rc);
        return POINT{rc.right / 2 - 28 - 2, rc.bottom / 2 - 28};
    }
    HWND Get() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

bool IsBlack(COLORREF c)
{
    return c == RGB(0, 0, 0);
}

HWND g_drawnIn = nullptr;

// Pixel of bitmap column bx, row by in the picture drawn for g_drawnIn.
COLORREF MoonPixel(const DibCanvas& canvas, int bx, int by)
{
    const POINT o = MoonWindow::Origin(g_drawnIn);
    return canvas.At(bx + o.x, by + o.y);
}

}  // namespace

TEST(MoonPicturePaint, NewMoonIsDark)
{
    MoonWindow w;
    g_drawnIn = w.Get();
    DibCanvas canvas(kSide, kSide, 0);
    DrawMoonPicture(w.Get(), canvas.Dc(), 0.0, {2025, 1, 1});
    for (int by = 2; by <= 54; ++by)
        for (int bx = 2; bx < 60; ++bx)
            ASSERT_TRUE(IsBlack(MoonPixel(canvas, bx, by))) << bx << "," << by;
}

TEST(MoonPicturePaint, FirstQuarterLightsTheRightHalf)
{
    MoonWindow w;
    g_drawnIn = w.Get();
    DibCanvas canvas(kSide, kSide, 0);
    DrawMoonPicture(w.Get(), canvas.Dc(), 0.25, {2025, 1, 1});
    for (int by : {20, 28, 36}) {
        EXPECT_TRUE(IsBlack(MoonPixel(canvas, 31, by))) << by;
        EXPECT_TRUE(IsBlack(MoonPixel(canvas, 15, by))) << by;
        EXPECT_FALSE(IsBlack(MoonPixel(canvas, 33, by))) << by;
        EXPECT_FALSE(IsBlack(MoonPixel(canvas, 48, by))) << by;
    }
}

TEST(MoonPicturePaint, LastQuarterLightsTheLeftHalf)
{
    MoonWindow w;
    g_drawnIn = w.Get();
    DibCanvas canvas(kSide, kSide, 0);
    DrawMoonPicture(w.Get(), canvas.Dc(), 0.75, {2025, 1, 1});
    for (int by : {20, 28, 36}) {
        EXPECT_TRUE(IsBlack(MoonPixel(canvas, 32, by))) << by;
        EXPECT_TRUE(IsBlack(MoonPixel(canvas, 48, by))) << by;
        EXPECT_FALSE(IsBlack(MoonPixel(canvas, 30, by))) << by;
        EXPECT_FALSE(IsBlack(MoonPixel(canvas, 15, by))) << by;
    }
}

TEST(MoonPicturePaint, FullMoonIsLitAcross)
{
    MoonWindow w;
    g_drawnIn = w.Get();
    DibCanvas canvas(kSide, kSide, 0);
    DrawMoonPicture(w.Get(), canvas.Dc(), 0.5, {2025, 1, 1});
    for (int bx : {8, 20, 32, 44, 56})
        EXPECT_FALSE(IsBlack(MoonPixel(canvas, bx, 28))) << bx;
    EXPECT_FALSE(IsBlack(MoonPixel(canvas, 32, 4)));
    EXPECT_FALSE(IsBlack(MoonPixel(canvas, 32, 52)));
    // Outside the disc: black, shaded or not.
    EXPECT_TRUE(IsBlack(MoonPixel(canvas, 3, 3)));
    EXPECT_TRUE(IsBlack(MoonPixel(canvas, 58, 57)));
}

TEST(MoonPicturePaint, RedPixelOnTheLandingDay)
{
    MoonWindow w;
    g_drawnIn = w.Get();
    DibCanvas canvas(kSide, kSide, 0);
    DrawMoonPicture(w.Get(), canvas.Dc(), 0.5, {2025, 7, 20});
    EXPECT_EQ(MoonPixel(canvas, 41, 29), RGB(255, 0, 0));
    DibCanvas other(kSide, kSide, 0);
    DrawMoonPicture(w.Get(), other.Dc(), 0.5, {2025, 7, 21});
    EXPECT_NE(MoonPixel(other, 41, 29), RGB(255, 0, 0));
    // DrawMoonForDate: 00:00 Beijing time of 21 July is 20 July in UTC.
    DibCanvas for21(kSide, kSide, 0);
    DrawMoonForDate(w.Get(), for21.Dc(), 1969, 7, 21);
    const bool shaded = IsBlack(MoonPixel(for21, 41, 29));
    if (!shaded) {
        EXPECT_EQ(MoonPixel(for21, 41, 29), RGB(255, 0, 0));
    }
}

TEST(MoonPicturePaint, NothingForADeadOrEmptyWindow)
{
    DibCanvas canvas(kSide, kSide, 0x00123456);
    HWND dead = nullptr;
    {
        MoonWindow w;
        dead = w.Get();
    }
    DrawMoonPicture(dead, canvas.Dc(), 0.5, {2025, 1, 1});
    HWND empty = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    DrawMoonPicture(empty, canvas.Dc(), 0.5, {2025, 1, 1});
    ::DestroyWindow(empty);
    EXPECT_EQ(canvas.Count(RGB(0x12, 0x34, 0x56), 0, 0, kSide, kSide), kSide * kSide);
}

TEST(MoonPictureCtrl, OwnsItsBitmapAndIgnoresNull)
{
    CMoonPictureCtrl ctrl;
    ctrl.SetMoonBitmap(nullptr);
    EXPECT_EQ(ctrl.GetMoonBitmap(), nullptr);
    HDC screen = ::GetDC(nullptr);
    HBITMAP first = ::CreateCompatibleBitmap(screen, 8, 8);
    HBITMAP second = ::CreateCompatibleBitmap(screen, 8, 8);
    ::ReleaseDC(nullptr, screen);
    ctrl.SetMoonBitmap(first);
    EXPECT_EQ(ctrl.GetMoonBitmap(), first);
    ctrl.SetMoonBitmap(second);
    EXPECT_EQ(ctrl.GetMoonBitmap(), second);
    // The first one was deleted when the second came.
    BITMAP info{};
    EXPECT_EQ(::GetObjectW(first, sizeof(info), &info), 0);
    ctrl.SetMoonBitmap(nullptr);
    EXPECT_EQ(ctrl.GetMoonBitmap(), second);
}

TEST(MoonPicturePaint, GreyPictureHasNoColourAndNoRedPixel)
{
    MoonWindow w;
    g_drawnIn = w.Get();
    DibCanvas canvas(kSide, kSide, 0);
    DrawMoonPicture(w.Get(), canvas.Dc(), 0.5, {2025, 7, 20}, true);
    int lit = 0;
    for (int by = 2; by <= 54; ++by)
        for (int bx = 6; bx < 58; ++bx) {
            const COLORREF c = MoonPixel(canvas, bx, by);
            ASSERT_EQ(GetRValue(c), GetGValue(c)) << bx << "," << by;
            ASSERT_EQ(GetGValue(c), GetBValue(c)) << bx << "," << by;
            lit += c != RGB(0, 0, 0) ? 1 : 0;
        }
    EXPECT_GT(lit, 2000);   // most of the disc (pi 27^2 = 2290)
    // The colour picture is warm: red above blue in the lit disc.
    DibCanvas colour(kSide, kSide, 0);
    DrawMoonPicture(w.Get(), colour.Dc(), 0.5, {2025, 1, 1}, false);
    const COLORREF c = MoonPixel(colour, 40, 40);
    EXPECT_GT(GetRValue(c), GetBValue(c));
}
