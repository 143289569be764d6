#include "clock/moon_shading.h"

#include <cmath>

#include "calendar/time_scales.h"

namespace moon {

std::vector<ShadeRow> ShadeRows(double phase)
{
    return ShadeRows(phase, MoonImage{});
}

std::vector<ShadeRow> ShadeRows(double phase, const MoonImage& image)
{
    constexpr double kTwoPi = 6.283185307179586;
    const double c = std::cos(kTwoPi * phase);
    const double radius = image.radius;
    const int rowCount = static_cast<int>(std::ceil(radius));
    std::vector<ShadeRow> rows;
    rows.reserve(static_cast<size_t>(2 * rowCount));
    for (int i = 0; i < rowCount; ++i) {
        // Half the disc's chord on this row.
        const double r = radius * std::cos(std::asin(static_cast<double>(i) / radius));
        int left;
        int right;
        if (phase < 0.5) {
            left = static_cast<int>(image.centreX + c * r);
            right = static_cast<int>(image.centreX + r);
        } else {
            left = static_cast<int>(image.centreX - r);
            right = static_cast<int>(image.centreX - c * r);
        }
        rows.push_back({image.centreY + i, left, right});
        if (i > 0) {
            rows.push_back({image.centreY - i, left, right});
        }
    }
    return rows;
}

MoonImage MoonImageAt(dpiscale::ImageScale scale)
{
    MoonImage m;
    switch (scale) {
    case dpiscale::ImageScale::x100:
        break;
    case dpiscale::ImageScale::x150:
        // 1.5 times every place of the 64 x 64 picture, halves cut down.
        m = {L"COLOURMOON150", L"GREYMOON150", 96, 48, 42, 40.5, 87, 3, 0, 42, 61, 43};
        break;
    case dpiscale::ImageScale::x200:
        m = {L"COLOURMOON200", L"GREYMOON200", 128, 64, 56, 54.0, 116, 4, 0, 56, 82, 58};
        break;
    }
    return m;
}

Date UtcDateOfBeijingMidnight(int year, int month, int day)
{
    if (day > 1) {
        return {year, month, day - 1};
    }
    if (month > 1) {
        return {year, month - 1, cal::DaysInMonth(year, month - 1)};
    }
    return {year - 1, 12, 31};
}

bool MarksLandingDay(const Date& utcDate)
{
    return utcDate.month == 7 && utcDate.day == 20;
}

}  // namespace moon
