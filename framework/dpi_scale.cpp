#include "framework/dpi_scale.h"

#include <cstdint>
#include <limits>

namespace dpiscale {

namespace {

// n * num / den rounded to nearest, halves away from zero (MulDiv's rule).
int MulDivRound(int n, int num, int den)
{
    const int64_t p = static_cast<int64_t>(n) * num;
    const int64_t half = den / 2;
    const int64_t q = p >= 0 ? (p + half) / den : -((-p + half) / den);
    if (q > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (q < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(q);
}

}  // namespace

int SaneDpi(int dpi)
{
    return dpi >= kMinDpi && dpi <= kMaxDpi ? dpi : kBaseDpi;
}

int Scale(int length96, int dpi)
{
    return MulDivRound(length96, SaneDpi(dpi), kBaseDpi);
}

int Unscale(int length, int dpi)
{
    return MulDivRound(length, kBaseDpi, SaneDpi(dpi));
}

int Rescale(int length, int fromDpi, int toDpi)
{
    return MulDivRound(length, SaneDpi(toDpi), SaneDpi(fromDpi));
}

int ScaleFontHeight(int height96, int dpi)
{
    if (height96 == 0)
        return 0;
    const int h = Scale(height96, dpi);
    return h != 0 ? h : (height96 < 0 ? -1 : 1);
}

int UnscaleFontHeight(int height, int dpi)
{
    if (height == 0)
        return 0;
    const int h = Unscale(height, dpi);
    return h != 0 ? h : (height < 0 ? -1 : 1);
}

ImageScale ImageScaleFor(int dpi)
{
    const int d = SaneDpi(dpi);
    if (d < 120)
        return ImageScale::x100;
    if (d < 168)
        return ImageScale::x150;
    return ImageScale::x200;
}

int ImageLength(int length100, ImageScale scale)
{
    return (length100 * static_cast<int>(scale) + 50) / 100;
}

}  // namespace dpiscale
