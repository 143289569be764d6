#pragma once

// The moon picture's shading: which pixels of the 64 x 64 full-moon bitmap
// (disc centred at column 32, row 28, radius 27) are blacked out to show a
// phase, and the instants the pictures are drawn for.

#include <vector>

#include "framework/dpi_scale.h"

namespace moon {

inline constexpr int kBitmapSize = 64;
inline constexpr int kDiscCentreX = 32;
inline constexpr int kDiscCentreY = 28;
inline constexpr int kDiscRadius = 27;
// The part of the bitmap that is shown: 58 x 58 pixels from column 2, row 0.
inline constexpr int kShownSize = 58;
inline constexpr int kShownLeft = 2;
inline constexpr int kShownTop = 0;
// The copy's top-left corner lies this far up and left of the target's
// centre (the disc's centre pixel, column 32, lands one pixel right of it).
inline constexpr int kShownHalf = 28;

// One bitmap row: columns 0 .. left-1 and right .. 63 go black (the second
// part only when right < 64); left .. right-1 stay lit.
struct ShadeRow {
    int row = 0;
    int left = 0;
    int right = 0;
};

// The shaded rows for a phase fraction p in [0, 1) (0 new, 0.25 first
// quarter, 0.5 full, 0.75 last quarter): rows 28 and 28 +/- 1..26, in that
// order (row 28, then 29 and 27, then 30 and 26, ...). The waxing moon is
// lit on the right, the waning moon on the left. p is not range-checked.
std::vector<ShadeRow> ShadeRows(double phase);


// The UTC date of 00:00 Beijing time (UTC+8) of a date: the day before.
struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const Date&) const = default;
};
Date UtcDateOfBeijingMidnight(int year, int month, int day);

// Whether a picture of an instant on this UTC date carries the one red
// pixel (column 41, row 29 of the colour bitmap): on 20 July, the day of the
// first landing on the moon.
bool MarksLandingDay(const Date& utcDate);
inline constexpr int kLandingPixelX = 41;
inline constexpr int kLandingPixelY = 29;

// The moon bitmap of a display scale: the 64 x 64 picture above at 100 %,
// the same moon drawn at 96 x 96 (150 %) and 128 x 128 (200 %), with every
// place in it (disc, shown part, landing pixel) scaled alike.
struct MoonImage {
    const wchar_t* colourName = L"COLOURMOON";   // bitmap resource names
    const wchar_t* greyName = L"GREYMOON";
    int size = kBitmapSize;
    int centreX = kDiscCentreX;
    int centreY = kDiscCentreY;
    double radius = kDiscRadius;
    int shownSize = kShownSize;
    int shownLeft = kShownLeft;
    int shownTop = kShownTop;
    int shownHalf = kShownHalf;
    int landingX = kLandingPixelX;
    int landingY = kLandingPixelY;
};
MoonImage MoonImageAt(dpiscale::ImageScale scale);
// The shaded rows of that bitmap: rows centreY and centreY +/- 1 up to the
// radius, in the order above. At 100 % the same as ShadeRows(phase).
std::vector<ShadeRow> ShadeRows(double phase, const MoonImage& image);

}  // namespace moon
