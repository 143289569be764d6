// The moon picture: the full-moon bitmap darkened outside the lit part, its
// central 58 x 58 pixels (at 100 %; the bitmaps drawn for 150 and 200 % on
// screens of a higher DPI) copied into the middle of a window. Drawn under the
// clock's hands and in the perpetual calendar's picture control.
#pragma once

#include <windows.h>

#include "clock/moon_shading.h"
#include "framework/handles.h"
#include "framework/wnd.h"

// Bitmap resource names of the two pictures.
inline constexpr wchar_t kColourMoonBitmap[] = L"COLOURMOON";
inline constexpr wchar_t kGreyMoonBitmap[] = L"GREYMOON";

// Draws the moon of phase `phase` (0 new .. 0.5 full .. 1) centred in
// `window`'s client area on `dc`; `utcDate` is the UTC date of the instant
// shown. Nothing is drawn for a dead window or an empty client area.
void DrawMoonPicture(HWND window, HDC dc, double phase, const moon::Date& utcDate);
// The same with the bitmap chosen by the caller: the 16-grey picture (and
// no red pixel) when `grey`, else the colour picture. DrawMoonPicture takes
// the grey one for displays of 8 bits per pixel or fewer.
void DrawMoonPicture(HWND window, HDC dc, double phase, const moon::Date& utcDate, bool grey);
// The moon at 00:00 Beijing time (UTC+8) of a date.
void DrawMoonForDate(HWND window, HDC dc, int year, int month, int day);
// The moon now (the local time converted to UTC with the system's rules).
void DrawMoonNow(HWND window, HDC dc);

// The calendar dialog's picture control 1017: shows one bitmap, which it owns.
class CMoonPictureCtrl : public CWnd {
public:
    // Takes ownership of `bitmap` (a null handle is ignored) and repaints.
    void SetMoonBitmap(HBITMAP bitmap);
    HBITMAP GetMoonBitmap() const { return m_bitmap.Get(); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnPaint();

    UniqueBitmap m_bitmap;
};
