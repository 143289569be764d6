#pragma once

// The analog clock face's geometry and its redraw decision, without any
// drawing: where the dial marks and the hands go for a client size, and
// what a one-second tick has to erase and redraw.
//
// Dial positions are in minute units: 0 is twelve o'clock, positions grow
// clockwise and 60 make a full turn.

#include <array>

namespace clockface {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Dial {
    int centreX = 0;
    int centreY = 0;
    int radiusX = -1;   // -1 until the face was measured
    int radiusY = -1;
    int tickSize = -1;  // size of the five-minute marks
};

// The dial filling a client area of the given size (pixels); the tick size
// is a twentieth of the smaller radius, at least 2.
Dial MeasureDial(int clientWidth, int clientHeight);

// The point at dial position `pos` (minute units, any real value) and
// `fraction` of the radius. The angle uses 3.14159 for pi and each offset is
// rounded by adding 0.5 and cutting toward zero, so a negative offset of
// -2.7 becomes -2 and +2.7 becomes 3: the face keeps its familiar pixels.
Point DialPoint(const Dial& dial, double pos, double fraction);

enum class Hand { Hour = 0, Minute = 1, Second = 2 };

// Outline of a hand at a dial position: four points (tail, shoulder, tip,
// shoulder) for the hour and minute hands; for the second hand the centre
// and the tip, with the last two points repeating the tip.
std::array<Point, 4> HandOutline(const Dial& dial, int pos, Hand hand);

// Dial position 0..59 of the hour hand: it steps once every 12 minutes.
int HourHandPosition(int hour, int minute);

// The rectangle drawn around a five-minute mark's centre.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
Box MajorMarkBox(const Dial& dial, Point centre);
// The small 3-D square of a one-minute mark.
Box MinorMarkBox(Point centre);

// The time as the face shows it.
struct FaceTime {
    int hour = 0;   // 0..11
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int hourHandPos = 0;
};

// What an update of the face does.
enum class UpdateKind {
    Full,        // paint: moon and all hands drawn over a fresh background
    Redraw,      // erase the second, hour and minute hands, redraw moon and hands
    SecondOnly,  // erase the second hand at its old place, draw it at the new
    Nothing,     // the second hand is off and nothing else moved
};

// The decision of one update from the time on the screen to the new time.
UpdateKind DecideUpdate(const FaceTime& shown, const FaceTime& next, bool full, bool force,
                        bool showSecondHand);

// Where a clock of radius `radius` (its window 2 radius square) with its
// top-left corner stored at (x, y) is placed so that the user can always
// reach it: its centre, where the hands meet, stays inside the work area
// (left, top, right, bottom). Positions that already satisfy this are kept.
Point ReachableClockPosition(int x, int y, int radius, int left, int top, int right, int bottom);

// The once-a-day moon check of the per-second tick: true, and `moonDay`
// moves to `today` (days since 1970-01-01 UTC), when the moon is shown and a
// new UTC day began since it was last drawn; the tick then redraws it.
bool TakeNewMoonDay(long long& moonDay, long long today, bool showMoon);

}  // namespace clockface
