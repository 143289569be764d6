// The settings block's key table: the 21 integer settings, their INI key
// names, their defaults and the limits applied after loading. Portable; the
// Win32 side (CParaBlock) reads and writes the INI file.
#pragma once

#include <array>
#include <functional>

enum ParaIndex : int {
    PARA_TOOLBAR = 0,
    PARA_STATUS_BAR = 1,
    PARA_TOP_MOST = 2,
    PARA_TAB_STOPS = 3,
    PARA_WORD_WRAP = 4,
    PARA_CUR_VIEW = 5,
    PARA_CLOCK_SHOW = 6,
    PARA_CLOCK_RADIUS = 7,
    PARA_CLOCK_SHOW_SECOND = 8,
    PARA_CLOCK_SHOW_MOON = 9,
    PARA_CLOCK_TRANSPARENCY = 10,
    PARA_CLOCK_X = 11,
    PARA_CLOCK_Y = 12,
    PARA_ASK_HTML = 13,
    PARA_HTML_SEL = 14,
    PARA_TRANSPARENCY = 15,
    PARA_FLOAT_WND_SHOW = 16,
    PARA_FLOAT_WND_X = 17,
    PARA_FLOAT_WND_Y = 18,
    PARA_FLOAT_WND_TRANS = 19,
    PARA_HTML_ADD_BLANK = 20,
};

namespace para {

inline constexpr int kCount = 21;
using Values = std::array<int, kCount>;

// The primary monitor's work area in screen pixels.
struct WorkArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// INI key name of a setting ("PARA_TOOLBAR" ...); null for a bad index.
const char* KeyName(int index);

// Defaults of a fresh installation; the clock and the floating window sit
// 150 pixels left of the work area's right edge and 140 below its top (at
// 96 DPI; on a screen of another DPI those distances scaled with it, so
// that the larger clock still sits on the screen).
Values Defaults(const WorkArea& work, int dpi = 96);

// Brings loaded values into their limits: radius 50..200, transparencies
// 0..100 (floating window 0..80), window positions inside the work area
// less 10 pixels (0 when the work area is smaller than that).
void ApplyLimits(Values& values, const WorkArea& work);

// Loads every key through read(key) (which returns -1 for a missing key):
// -1 keeps the current value, anything else replaces it; then the limits.
void Load(Values& values, const std::function<int(const char* key)>& read, const WorkArea& work);

}  // namespace para
