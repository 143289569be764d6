#include "notes/child_frame.h"

#include "framework/doc.h"

bool CChildFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style &= ~static_cast<LONG>(WS_SYSMENU);
    cs.style |= WS_MAXIMIZE;
    return CMDIChildWnd::PreCreateWindow(cs);
}

void CChildFrame::ActivateFrame(int)
{
    CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
}

void CChildFrame::OnUpdateFrameTitle(bool addToTitle)
{
    // The caption is the page name; only the main frame's title follows.
    // (The page's tab follows its view's activation.)
    CMDIChildWnd::OnUpdateFrameTitle(addToTitle);
}

void CChildFrame::RecalcLayout()
{
    // Activating a page restores the previously maximised one behind it. Its
    // view is never seen at that size, and re-wrapping a long page for it
    // would cost a noticeable moment on every tab switch, so the view keeps
    // the size it had while maximised.
    if (!IsZoomed() && GetActiveView() && GetActiveView()->m_hWnd) {
        RECT rc = GetActiveView()->GetWindowRect();
        if (rc.right > rc.left)
            return;
    }
    CMDIChildWnd::RecalcLayout();
}

void CChildFrame::ClosePage()
{
    m_bAllowClose = true;
    SendMessage(WM_SYSCOMMAND, SC_CLOSE);
}

LRESULT CChildFrame::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SYSCOMMAND: {
        UINT cmd = static_cast<UINT>(wp & 0xFFF0);
        if (!m_bAllowClose && (cmd == SC_MINIMIZE || cmd == SC_CLOSE || cmd == SC_RESTORE))
            return 0;
        break;
    }
    }
    return CMDIChildWnd::WindowProc(msg, wp, lp);
}
