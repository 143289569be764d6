// CLinkStatic: a static control of a dialog turned into a hyperlink. It is
// drawn underlined in link blue, in the highlight colour while the mouse is
// over it and in purple once opened; it shows a hand cursor and a tooltip
// with its target, and shrinks to its text. The owning dialog hands it the
// static's colour request and click (OnCtlColor, GotoURL).
#pragma once

#include <string>

#include "framework/handles.h"
#include "framework/wnd.h"

class CLinkStatic : public CWnd {
public:
    CLinkStatic();
    ~CLinkStatic() override;

    // Takes over the dialog's static control id.
    bool SubclassDlgItem(int id, CWnd* parent);
    // The target; when the control exists it is fitted to its text again and
    // the tooltip follows.
    void SetURL(const std::wstring& url);
    const std::wstring& GetURL() const { return m_strURL; }
    // Opens the target; on failure beeps and explains.
    void GotoURL();
    // The reflected WM_CTLCOLORSTATIC: sets the colours, returns the brush.
    HBRUSH OnCtlColor(HDC dc);
    COLORREF CurrentColor() const;

    COLORREF m_crLink = RGB(0, 0, 238);
    COLORREF m_crVisited = RGB(85, 26, 139);
    COLORREF m_crHover;
    int m_bOverControl = 0;
    int m_bVisited = 0;
    int m_bUnderline = 1;
    int m_bAdjustToFit = 1;
    std::wstring m_strURL;
    UniqueFont m_font;
    HCURSOR m_hLinkCursor = nullptr;
    HWND m_toolTip = nullptr;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // The shell's result for the target (over 32: opened).
    virtual INT_PTR OpenTarget();
    virtual void ReportError(const std::wstring& text);

private:
    void PreSubclassWindow();
    void PositionWindow();
    void UpdateToolTip();
    void OnMouseMove();
};
