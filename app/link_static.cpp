#include "app/link_static.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/link_rules.h"
#include "app/registry_key.h"
#include "framework/app.h"
#include "framework/dpi.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kToolId = 1;

// The default value of a key under HKEY_CLASSES_ROOT, or empty.
std::wstring ClassesRootDefault(const std::wstring& subKey)
{
    CRegistryKey key(HKEY_CLASSES_ROOT);
    std::wstring value;
    if (!key.Open(HKEY_CLASSES_ROOT, subKey, KEY_QUERY_VALUE) || !key.ReadString(L"", value))
        return {};
    return value;
}

}  // namespace

CLinkStatic::CLinkStatic() : m_crHover(::GetSysColor(COLOR_HIGHLIGHT)) {}

CLinkStatic::~CLinkStatic()
{
    // Owned by the control, the tooltip usually went with the dialog.
    if (m_toolTip && ::IsWindow(m_toolTip))
        ::DestroyWindow(m_toolTip);
    // Loaded from our own resources, so not a shared system cursor.
    if (m_hLinkCursor)
        ::DestroyCursor(m_hLinkCursor);
}

bool CLinkStatic::SubclassDlgItem(int id, CWnd* parent)
{
    HWND ctrl = parent ? parent->GetDlgItem(id) : nullptr;
    if (!ctrl || !SubclassWindow(ctrl))
        return false;
    PreSubclassWindow();
    return true;
}

void CLinkStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    std::wstring text = GetWindowText();
    if (m_strURL.empty())
        m_strURL = text;
    if (text.empty())
        SetWindowText(m_strURL);

    auto current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTW lf{};
    if (::GetObjectW(current ? static_cast<HGDIOBJ>(current) : ::GetStockObject(DEFAULT_GUI_FONT),
                     sizeof(lf), &lf)) {
        lf.lfUnderline = static_cast<BYTE>(m_bUnderline);
        m_font.Reset(::CreateFontIndirectW(&lf));
        if (m_font)
            SetFont(m_font.Get(), true);
    }
    PositionWindow();

    // The cursor drawn for the monitor's scale, with its own hot spot on the
    // finger tip (a stretched small one would point beside the link).
    if (!m_hLinkCursor)
        m_hLinkCursor = dpi::LoadCursorForDpi(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_LINK_CURSOR),
                                              dpi::ForWindow(m_hWnd));

    m_toolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (m_toolTip) {
        TTTOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V1_SIZE;
        // The tooltip watches the control's mouse messages itself: modal
        // dialogs run the system's loop, where nobody would relay them.
        ti.uFlags = TTF_SUBCLASS;
        ti.hwnd = m_hWnd;
        ti.uId = kToolId;
        ti.rect = GetClientRect();
        ti.lpszText = const_cast<wchar_t*>(m_strURL.c_str());
        ::SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void CLinkStatic::SetURL(const std::wstring& url)
{
    m_strURL = url;
    if (m_hWnd) {
        PositionWindow();
        UpdateToolTip();
    }
}

void CLinkStatic::UpdateToolTip()
{
    if (!m_toolTip)
        return;
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ti.hwnd = m_hWnd;
    ti.uId = kToolId;
    ti.rect = GetClientRect();
    ti.lpszText = const_cast<wchar_t*>(m_strURL.c_str());
    ::SendMessageW(m_toolTip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
    ::SendMessageW(m_toolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CLinkStatic::PositionWindow()
{
    if (!m_bAdjustToFit || !m_hWnd)
        return;
    RECT rc = GetWindowRect();
    HWND parent = GetParent();
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);

    std::wstring text = GetWindowText();
    WindowDc dc(m_hWnd);
    auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    SelectObjectScope select(dc.Get(), font);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);

    hyperlink::Rect fitted = hyperlink::FitToText(hyperlink::Rect{rc.left, rc.top, rc.right, rc.bottom}, GetStyle(),
                                        extent.cx, extent.cy);
    SetWindowPos(nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                 fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

COLORREF CLinkStatic::CurrentColor() const
{
    if (m_bOverControl)
        return m_crHover;
    return m_bVisited ? m_crVisited : m_crLink;
}

HBRUSH CLinkStatic::OnCtlColor(HDC dc)
{
    ::SetTextColor(dc, CurrentColor());
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CLinkStatic::OnMouseMove()
{
    if (m_bOverControl) {
        POINT pt{};
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        RECT rc = GetClientRect();
        if (::PtInRect(&rc, pt))
            return;
        m_bOverControl = 0;
        ::ReleaseCapture();
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return;
    }
    m_bOverControl = 1;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // Captured so that leaving the link is noticed.
    ::SetCapture(m_hWnd);
}

LRESULT CLinkStatic::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SETCURSOR:
        if (m_hLinkCursor) {
            ::SetCursor(m_hLinkCursor);
            return TRUE;
        }
        return FALSE;
    case WM_MOUSEMOVE: {
        LRESULT r = CWnd::WindowProc(msg, wp, lp);
        OnMouseMove();
        return r;
    }
    case WM_CAPTURECHANGED:
        // Somebody else took the mouse (a message box, a menu): no hover.
        if (m_bOverControl && reinterpret_cast<HWND>(lp) != m_hWnd) {
            m_bOverControl = 0;
            Invalidate(true);
        }
        break;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

INT_PTR CLinkStatic::OpenTarget()
{
    auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", m_strURL.c_str(), nullptr, nullptr, SW_SHOW));
    if (result > 32)
        return result;
    // No handler for the target itself: hand it to the browser that opens
    // web pages.
    std::wstring htmlClass = ClassesRootDefault(L".htm");
    if (htmlClass.empty())
        return result;
    std::wstring command = ClassesRootDefault(htmlClass + L"\\shell\\open\\command");
    if (command.empty())
        return result;
    std::wstring line = hyperlink::BrowserCommandLine(command, m_strURL);
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    return reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(owner, L"open", line.c_str(), nullptr, nullptr, SW_SHOW));
}

void CLinkStatic::ReportError(const std::wstring& text)
{
    ::MessageBoxW(GetParent(), text.c_str(), L"Jotstack", MB_OK | MB_ICONEXCLAMATION);
}

void CLinkStatic::GotoURL()
{
    INT_PTR result = OpenTarget();
    if (result > 32) {
        m_bVisited = 1;
        Invalidate(true);
        return;
    }
    m_bVisited = 0;
    ::MessageBeep(MB_ICONEXCLAMATION);
    ReportError(L"Unable to open hyperlink:\n\n" + hyperlink::ErrorText(result));
}
