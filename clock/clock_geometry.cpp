#include "clock/clock_geometry.h"

#include <algorithm>
#include <cmath>

namespace clockface {

namespace {

// The face has always turned its hands with this value of pi.
constexpr double kFacePi = 3.14159;

int RoundedOffset(double offset)
{
    return static_cast<int>(offset + 0.5);
}

}  // namespace

Dial MeasureDial(int clientWidth, int clientHeight)
{
    Dial dial;
    dial.centreX = clientWidth / 2;
    dial.centreY = clientHeight / 2;
    dial.radiusX = clientWidth / 2;
    dial.radiusY = clientHeight / 2;
    dial.tickSize = std::min(dial.radiusX, dial.radiusY) / 20;
    if (dial.tickSize <= 1) {
        dial.tickSize = 2;
    }
    return dial;
}

Point DialPoint(const Dial& dial, double pos, double fraction)
{
    const double angle = (pos - 15.0) * kFacePi / 30.0;
    return {dial.centreX + RoundedOffset(dial.radiusX * fraction * std::cos(angle)),
            dial.centreY + RoundedOffset(dial.radiusY * fraction * std::sin(angle))};
}

std::array<Point, 4> HandOutline(const Dial& dial, int pos, Hand hand)
{
    switch (hand) {
    case Hand::Hour:
        return {DialPoint(dial, pos + 30, 0.10), DialPoint(dial, pos + 10, 0.05),
                DialPoint(dial, pos, 0.50), DialPoint(dial, pos - 10, 0.05)};
    case Hand::Minute:
        return {DialPoint(dial, pos + 30, 0.10), DialPoint(dial, pos + 15, 0.05),
                DialPoint(dial, pos, 0.70), DialPoint(dial, pos - 15, 0.05)};
    case Hand::Second:
        break;
    }
    const Point tip = DialPoint(dial, pos, 0.80);
    return {Point{dial.centreX, dial.centreY}, tip, tip, tip};
}

int HourHandPosition(int hour, int minute)
{
    return (hour % 12) * 5 + minute / 12;
}

Box MajorMarkBox(const Dial& dial, Point centre)
{
    const int grow = dial.tickSize / 2 + 1;
    return {centre.x - grow, centre.y - grow, centre.x + grow, centre.y + grow};
}

Box MinorMarkBox(Point centre)
{
    return {centre.x - 1, centre.y - 1, centre.x + 1, centre.y + 1};
}

UpdateKind DecideUpdate(const FaceTime& shown, const FaceTime& next, bool full, bool force,
                        bool showSecondHand)
{
    if (full) {
        return UpdateKind::Full;
    }
    if (next.hour != shown.hour || next.minute != shown.minute || next.hourHandPos != shown.hourHandPos ||
        force) {
        return UpdateKind::Redraw;
    }
    return showSecondHand ? UpdateKind::SecondOnly : UpdateKind::Nothing;
}

Point ReachableClockPosition(int x, int y, int radius, int left, int top, int right, int bottom)
{
    // The centre may go up to the last pixel of the work area.
    const int minX = left - radius;
    const int maxX = std::max(minX, right - 1 - radius);
    const int minY = top - radius;
    const int maxY = std::max(minY, bottom - 1 - radius);
    return {std::clamp(x, minX, maxX), std::clamp(y, minY, maxY)};
}

bool TakeNewMoonDay(long long& moonDay, long long today, bool showMoon)
{
    if (!showMoon || today == moonDay) {
        return false;
    }
    moonDay = today;
    return true;
}

}  // namespace clockface
