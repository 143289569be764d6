#include "tabstrip/tab_button_look.h"

#include <new>
#include <vector>

#include "tabstrip/visual_style_access.h"
#include "tabstrip/visual_style_rules.h"

namespace {

// Parts and properties of the style data (vssym32.h values).
constexpr int kPartRightArrow = 3;   // SPNP_UPHORZ
constexpr int kPartLeftArrow = 4;    // SPNP_DOWNHORZ
constexpr int kPropBackgroundType = 4001;
constexpr int kPropImageCount = 2401;
constexpr int kPropImageFile = 3001;
constexpr int kPropImageLayout = 4011;
constexpr int kPropSizingMargins = 3601;
constexpr int kPropGlyphType = 4012;
constexpr int kPropGlyphTransparentColour = 3820;
constexpr int kPropGlyphImageFile = 3008;
constexpr int kPropGlyphTextColour = 3819;
constexpr int kBackgroundImageFile = 0;
constexpr int kGlyphImage = 1;
constexpr int kGlyphFont = 2;

// The bitmap's pixels as COLORREF values, top row first.
bool ReadPixels(HBITMAP bitmap, tabstrip::PixelImage& image)
{
    BITMAP bm{};
    if (!::GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bgra;
    try {
        bgra.resize(size_t(bm.bmWidth) * size_t(bm.bmHeight));
        image.pixels.resize(bgra.size());
    } catch (const std::bad_alloc&) {
        return false;   // no glyph colours: the classic look
    }
    HDC screen = ::GetDC(nullptr);
    const int lines = ::GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), bgra.data(), &info,
                                  DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (lines != bm.bmHeight)
        return false;
    image.width = bm.bmWidth;
    image.height = bm.bmHeight;
    for (size_t i = 0; i < bgra.size(); ++i) {
        const uint32_t p = bgra[i];
        image.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    return true;
}

}  // namespace

void CTabButtonLook::Clear()
{
    m_left = Image{};
    m_right = Image{};
}

COLORREF CTabButtonLook::GlyphColour(int buttonState) const
{
    if (buttonState < 1 || buttonState > 4)
        return ::GetSysColor(COLOR_BTNTEXT);
    return m_glyph[buttonState - 1];
}

bool CTabButtonLook::Load(HWND hwnd)
{
    Clear();
    CVisualStyleAccess style;
    if (!style.Open(hwnd, L"SPIN"))
        return false;

    auto loadImage = [&](int part, Image& image) {
        int type = -1;
        int count = 0;
        wchar_t file[MAX_PATH] = L"";
        if (!style.GetThemeEnumValue(part, 0, kPropBackgroundType, &type) ||
            type != kBackgroundImageFile)
            return false;
        if (!style.GetThemeInt(part, 0, kPropImageCount, &count) || count != 4)
            return false;
        if (!style.GetThemeFilename(part, 0, kPropImageFile, file, MAX_PATH))
            return false;
        image.bitmap.Reset(style.LoadStyleBitmap(file));
        return image.bitmap && style.GetThemeEnumValue(part, 0, kPropImageLayout, &image.layout) &&
               style.GetThemeMargins(part, 0, kPropSizingMargins, &image.margins);
    };

    auto loadGlyphColours = [&] {
        int glyphType = 0;
        if (!style.GetThemeEnumValue(kPartLeftArrow, 0, kPropGlyphType, &glyphType))
            return false;
        if (glyphType == kGlyphImage) {
            COLORREF transparent = RGB(255, 0, 255);
            style.GetThemeColor(kPartLeftArrow, 0, kPropGlyphTransparentColour, &transparent);
            wchar_t file[MAX_PATH] = L"";
            if (!style.GetThemeFilename(kPartLeftArrow, 0, kPropGlyphImageFile, file, MAX_PATH))
                return false;
            GdiObject<HBITMAP> glyph(style.LoadStyleBitmap(file));
            tabstrip::PixelImage pixels;
            if (!glyph || !ReadPixels(glyph.Get(), pixels))
                return false;
            const auto colours = tabstrip::FindGlyphColours(pixels, m_left.layout != 0, transparent);
            if (!colours)
                return false;
            for (int i = 0; i < 4; ++i)
                m_glyph[i] = (*colours)[size_t(i)];
            return true;
        }
        if (glyphType == kGlyphFont) {
            for (int state = 1; state <= 3; ++state)
                if (!style.GetThemeColor(kPartRightArrow, state, kPropGlyphTextColour,
                                         &m_glyph[state - 1]))
                    return false;
            m_glyph[3] = ::GetSysColor(COLOR_GRAYTEXT);
            return true;
        }
        return false;
    };

    const bool ok = loadImage(kPartLeftArrow, m_left) && loadImage(kPartRightArrow, m_right) &&
                    loadGlyphColours();
    if (!ok)
        Clear();
    return ok;
}

void CTabButtonLook::DrawImage(HDC hdc, const RECT& dst, bool rightArrow, int stateIndex) const
{
    const Image& image = rightArrow ? m_right : m_left;
    BITMAP bm{};
    if (!image.bitmap || !::GetObjectW(image.bitmap.Get(), sizeof(bm), &bm))
        return;
    MemoryDc source(hdc);
    if (!source)
        return;
    SelectObjectScope select(source.Get(), image.bitmap.Get());
    const tabstrip::TabRect src =
        tabstrip::StateImageSource(bm.bmWidth, bm.bmHeight, image.layout != 0, stateIndex);
    const tabstrip::Margins margins{image.margins.cxLeftWidth, image.margins.cxRightWidth,
                                    image.margins.cyTopHeight, image.margins.cyBottomHeight};
    const int oldMode = ::SetStretchBltMode(hdc, COLORONCOLOR);
    for (const auto& s : tabstrip::NineGridSlices(src, {dst.left, dst.top, dst.right, dst.bottom},
                                                  margins)) {
        const int dw = s.dst.right - s.dst.left, dh = s.dst.bottom - s.dst.top;
        if (s.stretch)
            ::StretchBlt(hdc, s.dst.left, s.dst.top, dw, dh, source.Get(), s.src.left, s.src.top,
                         s.src.right - s.src.left, s.src.bottom - s.src.top, SRCCOPY);
        else
            ::BitBlt(hdc, s.dst.left, s.dst.top, dw, dh, source.Get(), s.src.left, s.src.top,
                     SRCCOPY);
    }
    ::SetStretchBltMode(hdc, oldMode);
}
