// The main frame on a monitor of another DPI: Windows tells a per-monitor
// aware window with WM_DPICHANGED when it moves (or the user changes the
// scale), and the frame lays out everything it draws itself afresh: the
// toolbar with the bitmaps drawn for that scale, the status bar's font and
// height, the tab strip (its geometry follows the status bar's height), the
// 250-pixel message area and the font of every page that has a window.
#include "app/main_frame.h"

#include "framework/dpi.h"
#include "notes/jotstack_doc.h"

void CMainFrame::OnDpiChanged(int dpi, const RECT* suggested)
{
    dpi = dpiscale::SaneDpi(dpi);
    const int old = m_nDpi;
    // Every child asks its top-level window for the DPI from now on.
    dpi::Remember(m_hWnd, dpi);
    m_nDpi = dpi;
    if (dpi != old) {
        m_wndToolBar.UpdateForDpi(dpi);
        m_wndStatusBar.UpdateForDpi(dpi);
        if (m_wndTabs.GetSafeHwnd())
            m_wndTabs.UpdateForDpi();
        if (m_pNotes)
            m_pNotes->UpdateViewsForDpi(old, dpi);
    }
    // The rectangle the system suggests keeps the window's size in the eyes
    // of the user; the saved placement being applied keeps its own.
    if (!m_bRestoringPlacement && !IsIconic()) {
        RECT rc = GetWindowRect();
        if (suggested) {
            rc = *suggested;
        } else {
            rc.right = rc.left + dpiscale::Rescale(rc.right - rc.left, old, dpi);
            rc.bottom = rc.top + dpiscale::Rescale(rc.bottom - rc.top, old, dpi);
        }
        SetWindowPos(nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RecalcLayout();
    LayoutTabStrip();
    if (m_wndTabs.GetSafeHwnd())
        m_wndTabs.Invalidate(false);
}
