// Painting of CCustomTabCtrl: the whole strip is drawn into an off-screen
// bitmap and copied in one step, so it never flickers however often the
// mouse makes it repaint.
#include "tabstrip/custom_tab_ctrl.h"

#include <algorithm>

#include "tabstrip/tab_glyphs.h"

using tabstrip::DisplayState;

namespace {

RECT ToRect(const tabstrip::TabRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

HPEN NewPen(int sysColour)
{
    return ::CreatePen(PS_SOLID, 1, ::GetSysColor(sysColour));
}

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}

}  // namespace

void CCustomTabCtrl::Paint(HDC target) const
{
    const RECT client = GetClientRect();
    const int w = client.right, h = client.bottom;
    if (!target || w <= 0 || h <= 0)
        return;
    MemoryDc mem(target);
    GdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(target, w, h));
    if (!mem || !bitmap)
        return;
    SelectObjectScope selectBitmap(mem.Get(), bitmap.Get());
    ::FillRect(mem.Get(), &client, ::GetSysColorBrush(COLOR_BTNFACE));

    // Tabs in index order so that each covers the slanted end of the one
    // before it; the selected tab last, over both neighbours.
    const auto& items = m_logic.Model().Items();
    for (const tabstrip::TabItem& item : items) {
        if (item.state == DisplayState::Hidden || item.selected || item.rect.left >= w)
            continue;
        DrawTab(mem.Get(), item, item.highlighted ? m_fontBold.Get() : m_fontNormal.Get());
    }
    const tabstrip::TabItem* selected = m_logic.Item(m_logic.GetCurSel());
    if (selected && selected->state != DisplayState::Hidden)
        DrawTab(mem.Get(), *selected, m_fontBold.Get());

    DrawButtons(mem.Get(), h);

    // The strip's top line, open above the selected tab so that the tab
    // joins the area above it.
    GdiObject<HPEN> dark(NewPen(COLOR_BTNTEXT));
    {
        SelectObjectScope selectPen(mem.Get(), dark.Get());
        const int from = tabstrip::ButtonBlockWidth(h);
        if (selected && selected->state != DisplayState::Hidden) {
            Line(mem.Get(), from, 1, std::max(from, selected->rect.left), 1);
            Line(mem.Get(), std::max(from, selected->rect.right), 1, w, 1);
        } else {
            Line(mem.Get(), from, 1, w, 1);
        }
    }

    ::BitBlt(target, 0, 0, w, h, mem.Get(), 0, 0, SRCCOPY);
}

void CCustomTabCtrl::DrawTab(HDC dc, const tabstrip::TabItem& item, HFONT font) const
{
    const int L = item.rect.left, T = item.rect.top, R = item.rect.right, B = item.rect.bottom;
    const int h = B - T;
    const bool lit = item.selected || item.highlighted;
    const COLORREF fill = ::GetSysColor(lit ? COLOR_WINDOW : COLOR_BTNFACE);
    const COLORREF text = ::GetSysColor(lit ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);

    // The region is built from the very outline that hit testing uses, so
    // a click lands on exactly the pixels painted as the tab.
    POINT pts[6];
    for (size_t i = 0; i < item.outline.size(); ++i)
        pts[i] = {item.outline[i].x, item.outline[i].y};
    GdiObject<HRGN> region(::CreatePolygonRgn(pts, 6, WINDING));
    GdiObject<HBRUSH> brush(::CreateSolidBrush(fill));
    if (region && brush)
        ::FillRgn(dc, region.Get(), brush.Get());

    GdiObject<HPEN> dark(NewPen(COLOR_BTNTEXT));
    GdiObject<HPEN> shadow(NewPen(COLOR_BTNSHADOW));
    SelectObjectScope selectPen(dc, dark.Get());

    if (item.state == DisplayState::Sliver || item.state == DisplayState::SliverSelected) {
        Line(dc, L, T, L + h / 2, B);
        if (!item.selected) {
            ::SelectObject(dc, shadow.Get());
            Line(dc, L - 1, T, L + h / 2 - 1, B);
        }
        return;
    }

    Line(dc, L, T, L + h / 2, B);              // left edge
    ::SelectObject(dc, shadow.Get());
    ::LineTo(dc, R - h / 2, B);                // bottom edge
    if (!item.selected)
        Line(dc, R - h / 2 - 1, B, R - 1, T);  // inner shadow of the right edge
    ::SelectObject(dc, dark.Get());
    Line(dc, R - h / 2, B, R, T);              // right edge

    RECT textRect{L + h / 2, T + 2, R - h / 2, B - 2};
    SelectObjectScope selectFont(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    const COLORREF oldBk = ::SetBkColor(dc, fill);
    const COLORREF oldText = ::SetTextColor(dc, text);
    ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(item.label.c_str()),
                static_cast<int>(item.label.size()), &textRect,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
}

void CCustomTabCtrl::DrawButtons(HDC dc, int height) const
{
    GdiObject<HPEN> dark(NewPen(COLOR_BTNTEXT));
    {
        SelectObjectScope selectPen(dc, dark.Get());
        SelectObjectScope selectBrush(dc, ::GetStockObject(WHITE_BRUSH));
        const RECT block = ToRect(tabstrip::ButtonBlockRect(height));
        ::Rectangle(dc, block.left, block.top, block.right, block.bottom);
    }

    const tabstrip::ScrollButtons& buttons = m_logic.Buttons();
    for (int b = 0; b < tabstrip::kButtonCount; ++b) {
        const auto button = static_cast<tabstrip::ScrollButton>(b);
        const int state = static_cast<int>(buttons.State(button));
        if (state == 0)
            continue;
        RECT rc = ToRect(tabstrip::ButtonPaintRect(button, height));
        COLORREF glyph = ::GetSysColor(COLOR_BTNTEXT);
        if (m_look.HasImages()) {
            const bool right =
                button == tabstrip::ScrollButton::Next || button == tabstrip::ScrollButton::Last;
            m_look.DrawImage(dc, rc, right, state - 1);
            glyph = m_look.GlyphColour(state);
        } else {
            UINT flags = DFCS_BUTTONPUSH;
            if (buttons.State(button) == tabstrip::ButtonState::Pressed)
                flags |= DFCS_PUSHED;
            ::DrawFrameControl(dc, &rc, DFC_BUTTON, flags);
        }
        const tabstrip::TabPoint at = tabstrip::GlyphOrigin({rc.left, rc.top, rc.right, rc.bottom}, m_glyphStrip);
        DrawGlyph(dc, tabstrip::GlyphCellOf(button), glyph, {at.x, at.y});
    }
}

// Paints the cell's ink pixels in `colour` and leaves the rest of the cell
// (8 x 7 at 100 %) as it was: XOR a copy coloured ink-on-white, AND the
// monochrome mask (ink black, rest white) to clear the ink pixels, XOR the
// copy again.
void CCustomTabCtrl::DrawGlyph(HDC dc, int cell, COLORREF colour, POINT at) const
{
    const int width = m_glyphStrip.cellWidth;
    const int height = m_glyphStrip.cellHeight;
    if (!m_glyphs)
        return;
    MemoryDc mono(dc);
    MemoryDc tinted(dc);
    GdiObject<HBITMAP> tintedBitmap(::CreateCompatibleBitmap(dc, width, height));
    if (!mono || !tinted || !tintedBitmap)
        return;
    SelectObjectScope selectMono(mono.Get(), m_glyphs.Get());
    SelectObjectScope selectTinted(tinted.Get(), tintedBitmap.Get());
    const int sx = cell * width;

    ::SetTextColor(tinted.Get(), colour);
    ::SetBkColor(tinted.Get(), RGB(255, 255, 255));
    ::BitBlt(tinted.Get(), 0, 0, width, height, mono.Get(), sx, 0, SRCCOPY);

    const COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    ::BitBlt(dc, at.x, at.y, width, height, tinted.Get(), 0, 0, SRCINVERT);
    ::BitBlt(dc, at.x, at.y, width, height, mono.Get(), sx, 0, SRCAND);
    ::BitBlt(dc, at.x, at.y, width, height, tinted.Get(), 0, 0, SRCINVERT);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
}
