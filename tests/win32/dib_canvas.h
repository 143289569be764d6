// A top-down 32-bit DIB selected into a memory DC: what the paint tests
// draw into and read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>

class DibCanvas {
public:
    DibCanvas(int w, int h, uint32_t fill = 0x00123456) : m_w(w), m_h(h)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < w * h; ++i)
            m_bits[i] = fill;
    }
    ~DibCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    // The pixels row by row, 0x00RRGGBB each.
    const uint32_t* Bits() const
    {
        ::GdiFlush();
        return m_bits;
    }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const uint32_t p = m_bits[y * m_w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // How many pixels of exactly `colour` lie in [left, right) x [top, bottom).
    int Count(COLORREF colour, int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += At(x, y) == colour ? 1 : 0;
        return n;
    }

private:
    int m_w;
    int m_h;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

// Where the next GDI handle lands in the process's handle table. Handles
// freed are reused first, so this stays put while drawing code gives back
// everything it creates and climbs when it leaks (GetGuiResources is not
// available everywhere, Wine returns 0).
inline unsigned GdiHandleHighWater()
{
    HBRUSH probe = ::CreateSolidBrush(RGB(1, 2, 3));
    const unsigned index = LOWORD(reinterpret_cast<UINT_PTR>(probe));
    ::DeleteObject(probe);
    return index;
}
