// Control bars of a frame: the toolbar and the status bar, both built on the
// common controls. The frame places them (RecalcLayout) and keeps their
// buttons and panes in step with the commands when the program is idle.
#pragma once

#include <string>
#include <vector>

#include "framework/handles.h"
#include "framework/wnd.h"

class CFrameWnd;

// Control-bar style bits (kept apart from the window style).
inline constexpr DWORD CBRS_ALIGN_TOP = 0x1000;
inline constexpr DWORD CBRS_ALIGN_BOTTOM = 0x4000;
inline constexpr DWORD CBRS_BORDER_TOP = 0x0200;
inline constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010;
inline constexpr DWORD CBRS_FLYBY = 0x0020;
inline constexpr DWORD CBRS_GRIPPER = 0x00400000;
inline constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
inline constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
inline constexpr DWORD CBRS_ALL = 0x0040FFFF;

inline constexpr UINT ID_SEPARATOR = 0;

class CControlBar : public CWnd {
public:
    ~CControlBar() override;

    // The height the bar wants at the given width.
    virtual int CalcHeight(int width) const = 0;
    // Updates the bar's elements from the commands routed through target.
    virtual void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) = 0;

    DWORD m_dwStyle = 0;   // CBRS_ bits
    bool IsTop() const { return (m_dwStyle & CBRS_ALIGN_TOP) != 0; }

protected:
    // Splits the style, creates the common control and registers the bar
    // with its frame.
    bool CreateBar(const wchar_t* className, DWORD controlStyle, DWORD style, CFrameWnd* parent,
                   UINT id);
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    CFrameWnd* m_pFrame = nullptr;
};

class CToolBar : public CControlBar {
public:
    // tbStyle: TBSTYLE_ bits such as TBSTYLE_FLAT; style: window and CBRS_ bits.
    bool CreateEx(CFrameWnd* parent, DWORD tbStyle, DWORD style, UINT id);
    // Bitmaps of the same buttons drawn at 150 % and 200 % (resource ids),
    // for screens of a higher DPI; set before LoadToolBar. Without them the
    // 100 % bitmap serves every DPI.
    void SetScaledBitmaps(UINT id150, UINT id200);
    // Loads the button bitmap and the toolbar resource (type 241: WORD
    // version 1, button width, button height, count, then the command ids,
    // 0 for a separator), for the DPI of the bar's window: the bitmap drawn
    // for it, and padding and separators scaled with it.
    bool LoadToolBar(UINT idResource);
    // The same for another DPI (the frame moved to another monitor): the
    // control is made afresh, since it cannot change its image size.
    bool UpdateForDpi(int dpi);
    int CalcHeight(int width) const override;
    void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) override;

    const std::vector<UINT>& ButtonIds() const { return m_ids; }

private:
    bool LoadForDpi(UINT idResource, int dpi);

    std::vector<UINT> m_ids;
    UINT m_nResource = 0;
    UINT m_nBitmap150 = 0;
    UINT m_nBitmap200 = 0;
    int m_nDpi = 0;
};

class CStatusBar : public CControlBar {
public:
    bool Create(CFrameWnd* parent, DWORD style, UINT id);
    // Sets the panes: ID_SEPARATOR panes carry text of the program's own,
    // the others the text of the string with the same id.
    bool SetIndicators(const UINT* ids, int count);
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    RECT GetItemRect(int index) const;
    bool SetPaneText(int index, const std::wstring& text, bool update = true);
    std::wstring GetPaneText(int index) const;
    void SetPaneWidth(int index, int width);
    int CalcHeight(int width) const override;
    void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) override;
    // The system's status-bar font made for a DPI, and the height and
    // indicator widths that go with it. At the system DPI the control keeps
    // the font it chose itself.
    void UpdateForDpi(int dpi);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // The height the control gives itself for its font.
    void MeasureHeight();
    // Width of an indicator pane for its text.
    int IndicatorWidth(const std::wstring& text) const;
    // Recomputes the part edges; the first pane stretches.
    void UpdateParts();
    // Hands one pane's text to the control (none while it is disabled).
    void ShowPaneText(size_t index);

    struct Pane {
        UINT id = 0;
        int width = 0;
        bool stretch = false;
        bool noBorders = false;
        bool disabled = false;
        std::wstring text;
    };
    std::vector<Pane> m_panes;
    int m_nHeight = 20;
    int m_nDpi = 0;
    GdiObject<HFONT> m_font;   // null: the control's own font
};
