// Display scale arithmetic: the program lays itself out in pixels of a
// 96-DPI screen (100 %) and turns every such length into pixels of the
// monitor it is on. At 96 DPI every length stays what it is.
// Portable; the Win32 side (framework/dpi.h) finds out the DPI.
#pragma once

namespace dpiscale {

// Pixels per inch of a 100 % screen: the unit of every length in the program.
inline constexpr int kBaseDpi = 96;
// What a DPI reported by the system is trusted within; anything else (0 from
// a failing call, garbage from a message) is taken as kBaseDpi.
inline constexpr int kMinDpi = 48;
inline constexpr int kMaxDpi = 960;

// dpi if it lies in [kMinDpi, kMaxDpi], else kBaseDpi.
int SaneDpi(int dpi);

// A length of a 96-DPI screen in pixels at dpi, rounded to the nearest pixel
// (halves away from zero, as MulDiv does). Exact at 96 DPI. dpi is made
// sane first; lengths are not range-checked beyond int arithmetic in 64 bits.
int Scale(int length96, int dpi);
// The other way: pixels at dpi as a length of a 96-DPI screen, rounded the
// same way. Unscale(Scale(n, d), d) == n for every d >= 96.
int Unscale(int length, int dpi);
// A length laid out at fromDpi, at toDpi (a window moved between monitors).
int Rescale(int length, int fromDpi, int toDpi);

// A font height of the INI file or the framework (LOGFONT units: negative
// for the character height, positive for the cell height, 0 for "none") in
// pixels at dpi; the sign is kept and a non-zero height never becomes 0.
int ScaleFontHeight(int height96, int dpi);
// A height the font dialog gave at dpi, as the 96-DPI value the INI keeps.
int UnscaleFontHeight(int height, int dpi);

// The drawn images (toolbar, moon, cursors, icons) exist at 100, 150 and 200
// percent; the one a DPI shows is the largest that is not more than a
// quarter step bigger than the screen wants: 100 % up to 119 DPI, 150 % from
// 120 (125 %) to 167, 200 % from 168 (175 %) on. Images are never stretched,
// so they stay sharp at every scale.
enum class ImageScale { x100 = 100, x150 = 150, x200 = 200 };
ImageScale ImageScaleFor(int dpi);
// An image length at 100 %, at the given image scale (rounded half up:
// 15 at 150 % is 23).
int ImageLength(int length100, ImageScale scale);

}  // namespace dpiscale
