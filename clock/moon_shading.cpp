#include "clock/moon_shading.h"

#include <cmath>

#include "calendar/time_scales.h"

namespace moon {

std::vector<ShadeRow> ShadeRows(double phase)
{
    constexpr double kTwoPi = 6.283185307179586;
    const double c = std::cos(kTwoPi * phase);
    std::vector<ShadeRow> rows;
    rows.reserve(2 * kDiscRadius - 1);
    for (int i = 0; i < kDiscRadius; ++i) {
        // Half the disc's chord on this row.
        const double r = kDiscRadius * std::cos(std::asin(static_cast<double>(i) / kDiscRadius));
        int left;
        int right;
        if (phase < 0.5) {
            left = static_cast<int>(kDiscCentreX + c * r);
            right = static_cast<int>(kDiscCentreX + r);
        } else {
            left = static_cast<int>(kDiscCentreX - r);
            right = static_cast<int>(kDiscCentreX - c * r);
        }
        rows.push_back({kDiscCentreY + i, left, right});
        if (i > 0) {
            rows.push_back({kDiscCentreY - i, left, right});
        }
    }
    return rows;
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
