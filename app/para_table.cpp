#include "app/para_table.h"

#include <algorithm>
#include <climits>

#include "framework/dpi_scale.h"

namespace para {

namespace {

constexpr const char* kKeys[kCount] = {
    "PARA_TOOLBAR",        "PARA_STATUS_BAR",      "PARA_TOP_MOST",
    "PARA_TAB_STOPS",      "PARA_WORD_WRAP",       "PARA_CUR_VIEW",
    "PARA_CLOCK_SHOW",     "PARA_CLOCK_RADIUS",    "PARA_CLOCK_SHOW_SECOND",
    "PARA_CLOCK_SHOW_MOON", "PARA_CLOCK_TRANSPARENCY", "PARA_CLOCK_X",
    "PARA_CLOCK_Y",        "PARA_ASK_HTML",        "PARA_HTML_SEL",
    "PARA_TRANSPARENCY",   "PARA_FLOAT_WND_SHOW",  "PARA_FLOAT_WND_X",
    "PARA_FLOAT_WND_Y",    "PARA_FLOAT_WND_TRANS", "PARA_HTML_ADD_BLANK",
};

// A window's left or top edge stays within [0, limit]; a negative limit
// (a work area narrower than 10 pixels) pins it to 0.
int LimitEdge(int value, long long limit)
{
    long long v = std::min<long long>(value, limit);
    return v < 0 ? 0 : static_cast<int>(v);
}

// An edge moved by some pixels, saturated at the ends of int.
int Offset(int edge, int by)
{
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(edge) + by, INT_MIN, INT_MAX));
}

}  // namespace

const char* KeyName(int index)
{
    return index >= 0 && index < kCount ? kKeys[index] : nullptr;
}

Values Defaults(const WorkArea& work, int dpi)
{
    const int left = dpiscale::Scale(150, dpi);
    const int down = dpiscale::Scale(140, dpi);
    Values v{};
    v[PARA_TOOLBAR] = 1;
    v[PARA_STATUS_BAR] = 1;
    v[PARA_TOP_MOST] = 0;
    v[PARA_TAB_STOPS] = 32;
    v[PARA_WORD_WRAP] = 1;
    v[PARA_CUR_VIEW] = 0;
    v[PARA_CLOCK_SHOW] = 0;
    v[PARA_CLOCK_RADIUS] = 60;
    v[PARA_CLOCK_SHOW_SECOND] = 0;
    v[PARA_CLOCK_SHOW_MOON] = 0;
    v[PARA_CLOCK_TRANSPARENCY] = 40;
    v[PARA_CLOCK_X] = Offset(work.right, -left);
    v[PARA_CLOCK_Y] = Offset(work.top, down);
    v[PARA_ASK_HTML] = 0;
    v[PARA_HTML_SEL] = 0;
    v[PARA_TRANSPARENCY] = 0;
    v[PARA_FLOAT_WND_SHOW] = 0;
    v[PARA_FLOAT_WND_X] = Offset(work.right, -left);
    v[PARA_FLOAT_WND_Y] = Offset(work.top, down);
    v[PARA_FLOAT_WND_TRANS] = 40;
    v[PARA_HTML_ADD_BLANK] = 0;
    return v;
}

void ApplyLimits(Values& v, const WorkArea& work)
{
    v[PARA_CLOCK_RADIUS] = std::clamp(v[PARA_CLOCK_RADIUS], 50, 200);
    v[PARA_CLOCK_TRANSPARENCY] = std::clamp(v[PARA_CLOCK_TRANSPARENCY], 0, 100);
    v[PARA_TRANSPARENCY] = std::clamp(v[PARA_TRANSPARENCY], 0, 100);
    v[PARA_FLOAT_WND_TRANS] = std::clamp(v[PARA_FLOAT_WND_TRANS], 0, 80);

    // In 64 bits: a work area is the system's word, but no sum of two
    // edges may overflow whatever it says.
    const long long w = static_cast<long long>(work.right) - work.left - 10;
    const long long h = static_cast<long long>(work.bottom) - work.top - 10;
    v[PARA_CLOCK_X] = LimitEdge(v[PARA_CLOCK_X], w);
    v[PARA_FLOAT_WND_X] = LimitEdge(v[PARA_FLOAT_WND_X], w);
    v[PARA_CLOCK_Y] = LimitEdge(v[PARA_CLOCK_Y], h);
    v[PARA_FLOAT_WND_Y] = LimitEdge(v[PARA_FLOAT_WND_Y], h);
}

void Load(Values& values, const std::function<int(const char* key)>& read, const WorkArea& work)
{
    for (int i = 0; i < kCount; ++i) {
        int stored = read(kKeys[i]);
        if (stored != -1)
            values[static_cast<size_t>(i)] = stored;
    }
    ApplyLimits(values, work);
}

}  // namespace para
