// The scroll buttons' borrowed look: the left- and right-pointing images of
// the current visual style's horizontal spin control, their sizing margins
// and the four glyph colours. Empty (classic push buttons) whenever any
// piece is missing, which is always the case without an active style.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "framework/handles.h"

class CTabButtonLook {
public:
    // Reloads everything for the strip's window; false (and empty) when the
    // style does not supply both four-state images and the glyph colours.
    bool Load(HWND hwnd);
    void Clear();

    bool HasImages() const { return m_left.bitmap && m_right.bitmap; }
    // Glyph colour for a button state (1 normal, 2 hot, 3 pressed, 4
    // disabled); only meaningful with images.
    COLORREF GlyphColour(int buttonState) const;

    // Draws state image `stateIndex` (0 ... 3) of the right- or left-
    // pointing button into `dst`, borders unscaled (nine-grid).
    void DrawImage(HDC hdc, const RECT& dst, bool rightArrow, int stateIndex) const;

private:
    struct Image {
        GdiObject<HBITMAP> bitmap;
        int layout = 0;   // 0: state images stacked, else side by side
        MARGINS margins{};
    };

    COLORREF m_glyph[4] = {};
    Image m_left;
    Image m_right;
};
