#include "clock/clock_wnd.h"

#include <algorithm>

#include "framework/dpi.h"
#include "res/resource.h"

namespace {

constexpr UINT kFaceId = 0xFFFF;

void AddExStyle(HWND hwnd, DWORD add)
{
    const LONG ex = ::GetWindowLongW(hwnd, GWL_EXSTYLE);
    ::SetWindowLongW(hwnd, GWL_EXSTYLE, ex | static_cast<LONG>(add));
}

// The stored place, moved only as far as needed for the clock's centre to
// be on the work area of the nearest monitor: a clock whose drawn parts all
// lie off-screen could never be grabbed again.
POINT ReachablePlace(const ClockSettings& s)
{
    const RECT corner{s.x, s.y, s.x + 1, s.y + 1};
    const int radius = dpi::Scale(s.radius, dpi::ForRect(corner));
    const RECT wanted{s.x, s.y, s.x + 2 * radius, s.y + 2 * radius};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT work{};
    if (HMONITOR monitor = ::MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST); monitor && ::GetMonitorInfoW(monitor, &info))
        work = info.rcWork;
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const clockface::Point p =
        clockface::ReachableClockPosition(s.x, s.y, radius, work.left, work.top, work.right, work.bottom);
    return POINT{p.x, p.y};
}

}  // namespace

CClockWnd::CClockWnd(PFN_SetLayeredWindowAttributes setLayered)
    : CDialog(IDD_CLOCK), m_pfnSetLayered(setLayered)
{
    m_hHand = ::LoadCursorW(nullptr, IDC_HAND);
    if (!m_hHand)
        m_hHand = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_CLOCK_HAND));
}

bool CClockWnd::ShowClock(const ClockSettings& settings)
{
    if (!m_pfnSetLayered)
        return false;
    if (!m_hWnd || !::IsWindow(m_hWnd)) {
        if (!Create(IDD_CLOCK, nullptr))
            return false;
        // A tool window: no taskbar button.
        AddExStyle(m_hWnd, WS_EX_TOOLWINDOW);
        const POINT at = ReachablePlace(settings);
        SetWindowPos(HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ::LockWindowUpdate(m_hWnd);
    m_nRadius = settings.radius;
    const int side = SideAt(dpi::ForWindow(m_hWnd));
    SetWindowPos(nullptr, 0, 0, side, side, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_wndFace.SetShowSecondHand(settings.showSecondHand);
    m_wndFace.SetShowMoon(settings.showMoon);
    SetClockTransparency(static_cast<BYTE>(std::clamp(settings.transparency, 0, 255)));
    ::LockWindowUpdate(nullptr);
    ShowWindow(SW_SHOWNOACTIVATE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return true;
}

int CClockWnd::SideAt(int dpi) const
{
    return 2 * dpi::Scale(m_nRadius, dpi);
}

void CClockWnd::OnDpiChanged(int dpi, const RECT* suggested)
{
    dpi::Remember(m_hWnd, dpi);
    const RECT now = GetWindowRect();
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
    const int side = SideAt(dpi);
    SetWindowPos(nullptr, at.x, at.y, side, side, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CClockWnd::SetClockTransparency(BYTE percent)
{
    if (!m_pfnSetLayered || !m_hWnd)
        return;
    const int t = std::min<int>(percent, 100);
    const BYTE alpha = static_cast<BYTE>((100 - t) * 255 / 100);
    const COLORREF key = m_wndFace.BackgroundColour();
    if (alpha == 255)
        m_pfnSetLayered(m_hWnd, key, 0, LWA_COLORKEY);
    else
        m_pfnSetLayered(m_hWnd, key, alpha, LWA_COLORKEY | LWA_ALPHA);
}

bool CClockWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddExStyle(m_hWnd, WS_EX_LAYERED);
    const RECT client = GetClientRect();
    m_wndFace.Create(m_hWnd, client, kFaceId);
    return true;
}

LRESULT CClockWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE: {
        const LRESULT result = CDialog::WindowProc(msg, wp, lp);
        if (m_hWnd && m_wndFace.m_hWnd)
            m_wndFace.MoveWindow(GetClientRect(), true);
        return result;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(wp);
        break;
    case WM_SETCURSOR:
        if (m_hHand) {
            ::SetCursor(m_hHand);
            return TRUE;
        }
        break;
    case kWmDpiChanged:
        OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_DESTROY:
        dpi::Forget(m_hWnd);
        break;
    }
    return CDialog::WindowProc(msg, wp, lp);
}

void CClockWnd::OnMouseMove(WPARAM keys)
{
    // The left button alone drags; with Shift, Ctrl or another button held
    // the clock stays where it is.
    if (keys != MK_LBUTTON)
        return;
    ::ReleaseCapture();
    // The system's move loop runs inside this call until the button is up.
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    if (!m_hWnd)
        return;
    const RECT rc = GetWindowRect();
    if (m_pfnOnMoved)
        m_pfnOnMoved(rc.left, rc.top);
}
