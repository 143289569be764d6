// CCustomTabCtrl: the self-drawn strip of trapezoid page tabs with four
// scroll buttons at its left end. It keeps a label and a pointer-sized value
// per tab and tells its parent about clicks and selection changes with
// WM_NOTIFY (a CTC_NMHDR). Its rules live in tabstrip::TabStripLogic; this
// class paints them and turns window messages into calls.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/wnd.h"
#include "framework/handles.h"
#include "tabstrip/tab_button_look.h"
#include "tabstrip/tab_glyphs.h"
#include "tabstrip/tab_strip_logic.h"

// Style bits of the strip, in the low word of the window style.
inline constexpr DWORD CTCS_FOURBUTTONS = 0x0002;   // first and last besides previous and next
inline constexpr DWORD CTCS_TOOLTIPS = 0x0008;      // accepted; the strip shows no tooltips

// Selects the tab wParam and sends the selection notification; an invalid
// index is ignored.
inline constexpr UINT WM_CTC_SELECT_AND_NOTIFY = WM_USER + 16;
// The number of tabs and the selected one (-1 for none), for programs that
// look at the strip from outside (accessibility tools, test drivers), as
// TCM_GETITEMCOUNT and TCM_GETCURSEL answer for the system's tab control.
inline constexpr UINT WM_CTC_GETITEMCOUNT = WM_USER + 17;
inline constexpr UINT WM_CTC_GETCURSEL = WM_USER + 18;

// Commands the scroll buttons post to the strip itself (WM_COMMAND).
inline constexpr UINT ID_CTC_PREVIOUS = tabstrip::kCmdPrevious;   // 5031
inline constexpr UINT ID_CTC_NEXT = tabstrip::kCmdNext;           // 5032
inline constexpr UINT ID_CTC_FIRST = tabstrip::kCmdFirst;         // 5033
inline constexpr UINT ID_CTC_LAST = tabstrip::kCmdLast;           // 5034

// Timer of the held-button auto-repeat.
inline constexpr UINT_PTR CTC_REPEAT_TIMER = 1;

// Return codes of the item operations.
inline constexpr int CTC_OK = tabstrip::kOk;
inline constexpr int CTC_ERR_MEMORY = tabstrip::kErrNoMemory;
inline constexpr int CTC_ERR_INDEX = tabstrip::kErrBadIndex;

// Hit-test results that are not item indexes.
inline constexpr int CTC_HIT_FIRST = tabstrip::kHitFirst;
inline constexpr int CTC_HIT_PREVIOUS = tabstrip::kHitPrevious;
inline constexpr int CTC_HIT_NEXT = tabstrip::kHitNext;
inline constexpr int CTC_HIT_LAST = tabstrip::kHitLast;
inline constexpr int CTC_HIT_NOTHING = tabstrip::kHitNothing;

// Notification codes: 0 the selection changed (mouse, scroll commands,
// WM_CTC_SELECT_AND_NOTIFY); NM_CLICK before a left click is processed;
// NM_DBLCLK after a left double click was processed as a click; NM_RCLICK;
// NM_RDBLCLK.
inline constexpr UINT CTCN_SELCHANGE = 0;

// What WM_NOTIFY's lParam points to. Every field after hdr and iItem is
// zero when iItem < 0.
struct CTC_NMHDR {
    NMHDR hdr;                                           // sender, control id, code
    int iItem;                                           // item, or the hit-test result of a mouse notification
    wchar_t szLabel[tabstrip::kNotifyLabelBuffer];       // label, cut to 29 units, terminated
    DWORD_PTR dwData;                                    // the item's data
    RECT rcItem;                                         // the item's tab rectangle
    POINT ptHit;                                         // client point of a mouse notification, else (0, 0)
    int fSelected;                                       // the item's selected flag
    int fHighlighted;                                    // the item's highlighted flag (always 0)
};

class CCustomTabCtrl : public CWnd {
public:
    // Registers the window class (once) and creates the fonts and the glyph
    // bitmap. Throws CResourceException when the class cannot be registered.
    CCustomTabCtrl();
    ~CCustomTabCtrl() override;

    // Creates the strip (styles WS_CHILD | WS_VISIBLE | CTCS_...).
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    // Item operations. Results: CTC_OK (or the new index), CTC_ERR_MEMORY,
    // CTC_ERR_INDEX. None of them notifies the parent.
    int InsertItem(int index, const wchar_t* label, DWORD_PTR data = 0);
    // Appends many tabs with one layout and one repaint.
    int AppendItems(const std::vector<std::pair<std::wstring, DWORD_PTR>>& items);
    int DeleteItem(int index);
    int SetCurSel(int index);
    int GetCurSel() const;
    int GetItemCount() const;
    int GetItemText(int index, std::wstring& label) const;
    int SetItemText(int index, const wchar_t* label);
    int GetItemData(int index, DWORD_PTR& data) const;
    int FindItemByData(DWORD_PTR data) const;   // first match, or -1

    // Where things are: a tab's rectangle (CTC_OK / CTC_ERR_INDEX), the
    // part under a client point, the scroll position.
    int GetItemRect(int index, RECT& rect) const;
    int HitTest(POINT pt) const;
    int GetFirstVisible() const;

    // Fonts and arrow glyphs for the DPI of the strip's monitor (the tabs'
    // geometry follows the strip's height, which the status bar sets). The
    // frame calls it after a DPI change; creation does it too.
    void UpdateForDpi();
    int Dpi() const { return m_nDpi; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void OnCreate();
    void OnLButtonDown(POINT pt);
    void OnLButtonDblClk(POINT pt);
    void OnMouseMove(POINT pt, WPARAM keys);
    void OnTimer(UINT_PTR id);
    void ProcessClick(int hit, POINT pt);
    void Apply(const tabstrip::ButtonEffects& fx);
    void StartRepeatTimer();
    void StopRepeatTimer();
    void Repaint();
    // Sends WM_NOTIFY to the parent. False when the strip did not survive
    // the parent's handling.
    bool Notify(UINT code, int item, POINT pt);
    int Measure(std::u16string_view label) const;

    void Paint(HDC target) const;
    void DrawTab(HDC dc, const tabstrip::TabItem& item, HFONT font) const;
    void DrawButtons(HDC dc, int height) const;
    void DrawGlyph(HDC dc, int cell, COLORREF colour, POINT at) const;

    void CreateFontsAndGlyphs(int dpi);

    tabstrip::TabStripLogic m_logic;
    GdiObject<HFONT> m_fontNormal;
    GdiObject<HFONT> m_fontBold;
    GdiObject<HBITMAP> m_glyphs;
    tabstrip::GlyphStrip m_glyphStrip;
    int m_nDpi = 0;
    HDC m_measureDc = nullptr;   // memory DC with the bold font, for label widths
    CTabButtonLook m_look;
};
