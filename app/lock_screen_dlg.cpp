#include "app/lock_screen_dlg.h"

#include "app/os_actions.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kHintTimer = 1;
constexpr UINT kHintMs = 3000;
constexpr DWORD kKeyRepeatMs = 500;   // a held key toggles the hint once
constexpr COLORREF kLockText = RGB(0, 0, 255);

}  // namespace

LRESULT CLockEdit::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CONTEXTMENU)
        return 0;
    return CWnd::WindowProc(msg, wp, lp);
}

CLockScreenDlg::CLockScreenDlg(COsActions& os, CWnd* parent)
    : CDialog(IDD_LOCK_SCREEN, parent), m_os(os), m_brBlack(::CreateSolidBrush(RGB(0, 0, 0)))
{
}

CLockScreenDlg::~CLockScreenDlg()
{
    // A dialog that ended without the gesture (the program is going away)
    // must not leave the cursor hidden or Alt+Tab swallowed.
    if (m_bCursorHidden)
        ::ShowCursor(TRUE);
}

bool CLockScreenDlg::OnInitDialog()
{
    m_edit.SubclassWindow(GetDlgItem(IDC_LOCK_EDIT));
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(HWND_TOPMOST, 0, 0, cx, cy, 0);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    if (HWND text = GetDlgItem(IDC_LOCK_TEXT)) {
        RECT rc{};
        ::GetWindowRect(text, &rc);
        int w = rc.right - rc.left, h = rc.bottom - rc.top;
        ::SetWindowPos(text, nullptr, (cx - w) / 2, (cy - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(text, SW_HIDE);
    }
    ::SetWindowPos(m_edit.m_hWnd, nullptr, -10, -10, 10, 10, SWP_NOZORDER);
    ::ShowCursor(FALSE);
    m_bCursorHidden = true;
    m_bUnlocked = 0;
    m_dwLastKeyTick = 0;
    m_bPrevSaverRunning = m_os.SetScreenSaverRunning(true) ? 1 : 0;
    m_nHotKeyId = 100;
    m_bHotKey = ::RegisterHotKey(m_hWnd, m_nHotKeyId, MOD_ALT, VK_TAB) != FALSE;
    ::SetFocus(m_edit.m_hWnd);
    return false;   // the focus was set here
}

bool CLockScreenDlg::IsHintVisible() const
{
    HWND text = GetDlgItem(IDC_LOCK_TEXT);
    return text && (::GetWindowLongW(text, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CLockScreenDlg::ToggleHint()
{
    DWORD now = ::GetTickCount();
    if (now - m_dwLastKeyTick > kKeyRepeatMs) {
        HWND text = GetDlgItem(IDC_LOCK_TEXT);
        if (IsHintVisible()) {
            ::ShowWindow(text, SW_HIDE);
            ::KillTimer(m_hWnd, kHintTimer);
        } else {
            ::ShowWindow(text, SW_SHOW);
            ::SetTimer(m_hWnd, kHintTimer, kHintMs, nullptr);
        }
    }
    m_dwLastKeyTick = now;
}

void CLockScreenDlg::OnOK()
{
    ToggleHint();
}

void CLockScreenDlg::OnCancel()
{
    ToggleHint();
}

void CLockScreenDlg::Unlock()
{
    ::KillTimer(m_hWnd, kHintTimer);
    m_os.SetScreenSaverRunning(false);
    if (m_bHotKey)
        ::UnregisterHotKey(m_hWnd, m_nHotKeyId);
    m_bHotKey = false;
    SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    if (m_bCursorHidden)
        ::ShowCursor(TRUE);
    m_bCursorHidden = false;
    m_bUnlocked = 1;
    EndDialog(IDOK);
}

LRESULT CLockScreenDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SYSCOMMAND:
        // No screen saver while locked.
        if ((wp & 0xFFF0) == SC_SCREENSAVE)
            return 1;
        break;
    case WM_TIMER:
        if (wp == kHintTimer) {
            ::KillTimer(m_hWnd, kHintTimer);
            ::ShowWindow(GetDlgItem(IDC_LOCK_TEXT), SW_HIDE);
            return 0;
        }
        break;
    case WM_LBUTTONUP: {
        LRESULT r = CDialog::WindowProc(msg, wp, lp);
        if ((wp & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT))
            Unlock();
        return r;
    }
    case WM_RBUTTONUP: {
        LRESULT r = CDialog::WindowProc(msg, wp, lp);
        if (wp & MK_LBUTTON)
            Unlock();
        return r;
    }
    case WM_DESTROY:
        if (m_bHotKey)
            ::UnregisterHotKey(m_hWnd, m_nHotKeyId);
        m_bHotKey = false;
        break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, kLockText);
        ::SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(m_brBlack.Get());
    }
    }
    return CDialog::WindowProc(msg, wp, lp);
}
