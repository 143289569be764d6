#include "tabstrip/visual_style_rules.h"

#include <algorithm>

namespace tabstrip {

bool ShouldLoadVisualStyles(unsigned major, unsigned minor)
{
    const uint64_t packed = uint64_t(minor) * 65536 + major;
    return packed > 65540;
}

std::u16string StyleBitmapResourceName(std::u16string_view fileName)
{
    std::u16string name(fileName);
    std::replace(name.begin(), name.end(), u'\\', u'_');
    std::replace(name.begin(), name.end(), u'.', u'_');
    return name;
}

std::optional<std::array<uint32_t, 4>> FindGlyphColours(const PixelImage& image, bool sideBySide,
                                                        uint32_t transparent)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < size_t(image.width) * size_t(image.height))
        return std::nullopt;
    std::array<uint32_t, 4> colours{};
    for (int n = 0; n < 4; ++n) {
        std::optional<uint32_t> found;
        if (sideBySide) {
            const int strip = image.width / 4;
            for (int x = n * strip; x < (n + 1) * strip && !found; ++x)
                for (int y = 0; y < image.height && !found; ++y)
                    if (image.At(x, y) != transparent)
                        found = image.At(x, y);
        } else {
            const int strip = image.height / 4;
            for (int y = n * strip; y < (n + 1) * strip && !found; ++y)
                for (int x = 0; x < image.width && !found; ++x)
                    if (image.At(x, y) != transparent)
                        found = image.At(x, y);
        }
        if (!found)
            return std::nullopt;
        colours[size_t(n)] = *found;
    }
    return colours;
}

TabRect StateImageSource(int imageWidth, int imageHeight, bool sideBySide, int s)
{
    if (sideBySide) {
        const int w = imageWidth / 4;
        return {s * w, 0, s * w + w, imageHeight};
    }
    const int h = imageHeight / 4;
    return {0, s * h, imageWidth, s * h + h};
}

std::vector<GridSlice> NineGridSlices(const TabRect& src, const TabRect& dst, Margins m)
{
    m.left = std::max(m.left, 0);
    m.right = std::max(m.right, 0);
    m.top = std::max(m.top, 0);
    m.bottom = std::max(m.bottom, 0);
    const int sx[4] = {src.left, src.left + m.left, src.right - m.right, src.right};
    const int sy[4] = {src.top, src.top + m.top, src.bottom - m.bottom, src.bottom};
    const int dx[4] = {dst.left, dst.left + m.left, dst.right - m.right, dst.right};
    const int dy[4] = {dst.top, dst.top + m.top, dst.bottom - m.bottom, dst.bottom};
    std::vector<GridSlice> slices;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            GridSlice s;
            s.src = {sx[col], sy[row], sx[col + 1], sy[row + 1]};
            s.dst = {dx[col], dy[row], dx[col + 1], dy[row + 1]};
            if (s.src.right <= s.src.left || s.src.bottom <= s.src.top ||
                s.dst.right <= s.dst.left || s.dst.bottom <= s.dst.top)
                continue;
            s.stretch = s.src.right - s.src.left != s.dst.right - s.dst.left ||
                        s.src.bottom - s.src.top != s.dst.bottom - s.dst.top;
            slices.push_back(s);
        }
    }
    return slices;
}

}  // namespace tabstrip
