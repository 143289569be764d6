#include "clock/moon_picture.h"

#include <cmath>

#include "calendar/moon_phase.h"
#include "framework/dpi.h"

namespace {

// Pure red: the one pixel of the landing day.
constexpr COLORREF kLandingRed = RGB(255, 0, 0);

}  // namespace

void DrawMoonPicture(HWND window, HDC dc, double phase, const moon::Date& utcDate)
{
    // Displays of 256 colours or fewer would dither the colour picture badly.
    DrawMoonPicture(window, dc, phase, utcDate, dc && ::GetDeviceCaps(dc, BITSPIXEL) <= 8);
}

void DrawMoonPicture(HWND window, HDC dc, double phase, const moon::Date& utcDate, bool grey)
{
    if (!window || !::IsWindow(window) || !dc)
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width == 0 || height == 0)
        return;

    // The moon drawn for the window's display scale, so that it is as sharp
    // at 200 % as at 100 %; the 100 % picture where a larger one is missing.
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    moon::MoonImage image = moon::MoonImageAt(dpiscale::ImageScaleFor(dpi::ForWindow(window)));
    UniqueBitmap bitmap(::LoadBitmapW(instance, grey ? image.greyName : image.colourName));
    if (!bitmap) {
        image = moon::MoonImage{};
        bitmap.Reset(::LoadBitmapW(instance, grey ? kGreyMoonBitmap : kColourMoonBitmap));
    }
    MemoryDc mem(dc);
    if (!bitmap || !mem)
        return;
    SelectObjectScope select(mem.Get(), bitmap.Get());

    if (!grey && moon::MarksLandingDay(utcDate))
        ::SetPixel(mem.Get(), image.landingX, image.landingY, kLandingRed);

    for (const moon::ShadeRow& row : moon::ShadeRows(phase, image)) {
        if (row.left > 0)
            ::BitBlt(mem.Get(), 0, row.row, row.left, 1, nullptr, 0, 0, BLACKNESS);
        if (row.right < image.size)
            ::BitBlt(mem.Get(), row.right, row.row, image.size - row.right, 1, nullptr, 0, 0, BLACKNESS);
    }
    ::BitBlt(dc, width / 2 - image.shownHalf, height / 2 - image.shownHalf, image.shownSize, image.shownSize,
             mem.Get(), image.shownLeft, image.shownTop, SRCCOPY);
}

void DrawMoonForDate(HWND window, HDC dc, int year, int month, int day)
{
    const double phase = cal::MoonPhaseForDate(year, month, day, nullptr);
    DrawMoonPicture(window, dc, phase, moon::UtcDateOfBeijingMidnight(year, month, day));
}

void DrawMoonNow(HWND window, HDC dc)
{
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    local.wMilliseconds = 0;
    FILETIME localFile{};
    FILETIME utcFile{};
    SYSTEMTIME utc{};
    if (!::SystemTimeToFileTime(&local, &localFile) || !::LocalFileTimeToFileTime(&localFile, &utcFile) ||
        !::FileTimeToSystemTime(&utcFile, &utc)) {
        ::GetSystemTime(&utc);
    }
    const double jd = cal::MoonPhaseJulianDate(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute,
                                               utc.wSecond);
    DrawMoonPicture(window, dc, cal::MoonPhase(jd), moon::Date{utc.wYear, utc.wMonth, utc.wDay});
}

// ---- CMoonPictureCtrl -------------------------------------------------------------

void CMoonPictureCtrl::SetMoonBitmap(HBITMAP bitmap)
{
    if (!bitmap)
        return;
    m_bitmap.Reset(bitmap);
    if (m_hWnd) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        ::UpdateWindow(m_hWnd);
    }
}

LRESULT CMoonPictureCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        OnPaint();
        return 0;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

void CMoonPictureCtrl::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (m_bitmap) {
        const RECT client = GetClientRect();
        MemoryDc mem(dc);
        if (mem) {
            SelectObjectScope select(mem.Get(), m_bitmap.Get());
            ::BitBlt(dc, 0, 0, client.right, client.bottom, mem.Get(), 0, 0, SRCCOPY);
        }
    }
    ::EndPaint(m_hWnd, &ps);
}
