// The clock face's geometry: dial points with their rounding, hand outlines,
// tick sizes, and the per-second update decision.
#include <gtest/gtest.h>

#include "clock/clock_geometry.h"

using namespace clockface;

TEST(ClockDial, MeasureFromClientSize)
{
    const Dial d = MeasureDial(120, 120);
    EXPECT_EQ(d.centreX, 60);
    EXPECT_EQ(d.centreY, 60);
    EXPECT_EQ(d.radiusX, 60);
    EXPECT_EQ(d.radiusY, 60);
    EXPECT_EQ(d.tickSize, 3);
    EXPECT_EQ(MeasureDial(100, 100).tickSize, 2);   // radius 50
    EXPECT_EQ(MeasureDial(400, 400).tickSize, 10);  // radius 200
    EXPECT_EQ(MeasureDial(60, 60).tickSize, 2);     // radius 30: at least 2
    EXPECT_EQ(MeasureDial(0, 0).tickSize, 2);
    const Dial e = MeasureDial(200, 100);   // a non-square window: an ellipse
    EXPECT_EQ(e.radiusX, 100);
    EXPECT_EQ(e.radiusY, 50);
    EXPECT_EQ(e.tickSize, 2);
}

TEST(ClockDial, PointsAtTheQuarters)
{
    const Dial d = MeasureDial(120, 120);
    // Twelve o'clock is straight up; -60 + 0.5 cuts to -59, so the tops
    // and the left sit one pixel inside.
    EXPECT_EQ(DialPoint(d, 0, 1.0), (Point{60, 1}));
    EXPECT_EQ(DialPoint(d, 15, 1.0), (Point{120, 60}));
    EXPECT_EQ(DialPoint(d, 30, 1.0), (Point{60, 120}));
    EXPECT_EQ(DialPoint(d, 45, 1.0), (Point{1, 60}));
}

TEST(ClockDial, RoundingCutsTowardZeroAfterAddingAHalf)
{
    // Position 50 (ten o'clock), radius 60, fraction 0.9: offsets
    // x = 54 cos(210 deg) = -46.77, y = 54 sin(210 deg) = -27.0.
    const Dial d = MeasureDial(120, 120);
    const Point p = DialPoint(d, 50, 0.9);
    EXPECT_EQ(p.x, 60 - 46);   // -46.77 + 0.5 = -46.27, cut to -46
    EXPECT_EQ(p.y, 60 - 26);   // -27.0 + 0.5 = -26.5, cut to -26
    // A small negative offset: -0.7 + 0.5 = -0.2 cuts to 0.
    Dial tiny = MeasureDial(2, 2);
    tiny.radiusX = 1;
    tiny.radiusY = 1;
    const Point q = DialPoint(tiny, 45, 0.7);
    EXPECT_EQ(q.x, tiny.centreX);
}

TEST(ClockHands, OutlinesOfHourMinuteAndSecondHands)
{
    const Dial d = MeasureDial(200, 200);
    const auto hour = HandOutline(d, 15, Hand::Hour);
    EXPECT_EQ(hour[0], DialPoint(d, 45, 0.10));
    EXPECT_EQ(hour[1], DialPoint(d, 25, 0.05));
    EXPECT_EQ(hour[2], (Point{150, 100}));   // tip at half the radius
    EXPECT_EQ(hour[3], DialPoint(d, 5, 0.05));
    const auto minute = HandOutline(d, 0, Hand::Minute);
    EXPECT_EQ(minute[2], (Point{100, 31}));  // tip at 0.7 of the radius (-70 + 0.5 cuts to -69)
    EXPECT_EQ(minute[1], DialPoint(d, 15, 0.05));
    EXPECT_EQ(minute[3], DialPoint(d, -15, 0.05));
    const auto second = HandOutline(d, 30, Hand::Second);
    EXPECT_EQ(second[0], (Point{100, 100}));
    EXPECT_EQ(second[1], (Point{100, 180}));
}

TEST(ClockHands, HourHandStepsEveryTwelveMinutes)
{
    EXPECT_EQ(HourHandPosition(0, 0), 0);
    EXPECT_EQ(HourHandPosition(3, 11), 15);
    EXPECT_EQ(HourHandPosition(3, 12), 16);
    EXPECT_EQ(HourHandPosition(11, 59), 59);
    EXPECT_EQ(HourHandPosition(13, 0), 5);
}

TEST(ClockMarks, BoxesGrowWithTheTickSize)
{
    const Dial d = MeasureDial(100, 100);   // tick 2: grow 2
    const Box major = MajorMarkBox(d, {50, 5});
    EXPECT_EQ(major.left, 48);
    EXPECT_EQ(major.right, 52);
    const Dial big = MeasureDial(400, 400);   // tick 10: grow 6
    EXPECT_EQ(MajorMarkBox(big, {200, 20}).top, 14);
    EXPECT_EQ(MinorMarkBox({10, 10}).left, 9);
    EXPECT_EQ(MinorMarkBox({10, 10}).bottom, 11);
}

namespace {
FaceTime At(int h, int m, int s)
{
    return {h, m, s, 0, HourHandPosition(h, m)};
}
}  // namespace

TEST(ClockUpdate, OnlyTheSecondHandMovesWithinAMinute)
{
    EXPECT_EQ(DecideUpdate(At(3, 12, 0), At(3, 12, 1), false, false, true), UpdateKind::SecondOnly);
    EXPECT_EQ(DecideUpdate(At(3, 12, 0), At(3, 12, 1), false, false, false), UpdateKind::Nothing);
}

TEST(ClockUpdate, MinuteAndHourChangesRedrawTheHands)
{
    EXPECT_EQ(DecideUpdate(At(3, 11, 59), At(3, 12, 0), false, false, true), UpdateKind::Redraw);
    EXPECT_EQ(DecideUpdate(At(3, 11, 59), At(3, 12, 0), false, false, false), UpdateKind::Redraw);
    EXPECT_EQ(DecideUpdate(At(11, 59, 59), At(0, 0, 0), false, false, true), UpdateKind::Redraw);
}

TEST(ClockUpdate, FullAndForce)
{
    EXPECT_EQ(DecideUpdate(At(3, 12, 0), At(3, 12, 0), true, false, true), UpdateKind::Full);
    EXPECT_EQ(DecideUpdate(At(3, 12, 0), At(3, 12, 1), false, true, false), UpdateKind::Redraw);
}

TEST(ClockUpdate, NewUtcDayForcesTheMoonOnce)
{
    long long moonDay = 20000;
    EXPECT_FALSE(TakeNewMoonDay(moonDay, 20000, true));
    EXPECT_FALSE(TakeNewMoonDay(moonDay, 20001, false));   // moon off: never compared
    EXPECT_EQ(moonDay, 20000);
    EXPECT_TRUE(TakeNewMoonDay(moonDay, 20001, true));
    EXPECT_EQ(moonDay, 20001);
    EXPECT_FALSE(TakeNewMoonDay(moonDay, 20001, true));
}

TEST(ClockPlace, CentreStaysOnTheWorkArea)
{
    // A 1280 x 770 work area: the settings store lets x reach 1270.
    EXPECT_EQ(ReachableClockPosition(1270, 0, 200, 0, 0, 1280, 770), (Point{1079, 0}));
    EXPECT_EQ(ReachableClockPosition(1270, 760, 50, 0, 0, 1280, 770), (Point{1229, 719}));
    EXPECT_EQ(ReachableClockPosition(300, 200, 80, 0, 0, 1280, 770), (Point{300, 200}));
    // Partly off the left and top edges is fine while the centre shows.
    EXPECT_EQ(ReachableClockPosition(-50, -50, 80, 0, 0, 1280, 770), (Point{-50, -50}));
    EXPECT_EQ(ReachableClockPosition(-500, -500, 80, 0, 0, 1280, 770), (Point{-80, -80}));
    // A work area elsewhere (a second monitor).
    EXPECT_EQ(ReachableClockPosition(0, 0, 60, 1280, 0, 2560, 1024), (Point{1220, 0}));
    // A work area smaller than the clock still shows the centre.
    EXPECT_EQ(ReachableClockPosition(500, 500, 200, 0, 0, 100, 100), (Point{-101, -101}));
}
