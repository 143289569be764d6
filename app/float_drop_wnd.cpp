#include "app/float_drop_wnd.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include "app/jotstack_app.h"
#include "app/main_frame.h"
#include "app/para_block.h"
#include "notes/drop_rules.h"
#include "notes/ie_drag_dlg.h"
#include "notes/jotstack_view.h"
#include "res/resource.h"

CFloatDropWnd::CFloatDropWnd()
    : CDialog(IDD_FLOAT_DROP, nullptr)
{
    m_hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_JOTSTACK));
}

CFloatDropWnd::~CFloatDropWnd()
{
    m_dropTarget.Revoke();
}

bool CFloatDropWnd::CreateFloat()
{
    return Create(IDD_FLOAT_DROP, nullptr);
}

int CFloatDropWnd::Side() const
{
    return dpi::Scale(kSize, dpi::ForWindow(m_hWnd));
}

void CFloatDropWnd::LoadIconFor(int dpi)
{
    if (dpi == m_nIconDpi)
        return;
    m_nIconDpi = dpi;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HICON shared = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_JOTSTACK));
    UniqueIcon own;
    if (dpi != dpiscale::kBaseDpi)
        own.Reset(dpi::LoadIconForDpi(instance, MAKEINTRESOURCEW(IDI_JOTSTACK), 32, dpi));
    HICON icon = own ? own.Get() : shared;
    // A flash in progress shows the new icon when it ends.
    if (m_hFlashIcon)
        m_hFlashIcon = icon;
    else
        m_hIcon = icon;
    m_ownIcon = std::move(own);
}

void CFloatDropWnd::OnPlaced()
{
    LoadIconFor(dpi::ForWindow(m_hWnd));
    SetWindowPos(nullptr, 0, 0, Side(), Side(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFloatDropWnd::OnDpiChanged(int dpi, const RECT* suggested)
{
    dpi::Remember(m_hWnd, dpi);
    LoadIconFor(dpi);
    const RECT now = GetWindowRect();
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
    ::MoveWindow(m_hWnd, at.x, at.y, Side(), Side(), TRUE);
}

bool CFloatDropWnd::OnInitDialog()
{
    RECT desk{};
    ::GetWindowRect(::GetDesktopWindow(), &desk);
    const int side = dpi::Scale(kSize, dpi::ForRect(desk));
    ::MoveWindow(m_hWnd, desk.right - 200, desk.top + 100, side, side, TRUE);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    m_dropTarget.Register(m_hWnd, nullptr);
    return true;
}

void CFloatDropWnd::SetFloatTransparency(int percent)
{
    auto* app = dynamic_cast<CJotstackApp*>(AfxGetApp());
    if (!app || !app->m_pfnSetLayeredWindowAttributes) return;
    const std::optional<int> alpha = droprules::FloatAlpha(percent);
    if (!alpha) {
        ModifyStyleEx(WS_EX_LAYERED, 0);
        return;
    }
    ModifyStyleEx(0, WS_EX_LAYERED);
    app->m_pfnSetLayeredWindowAttributes(m_hWnd, 0, static_cast<BYTE>(*alpha), LWA_ALPHA);
}

void CFloatDropWnd::ModifyStyleEx(DWORD remove, DWORD add)
{
    const DWORD ex = GetExStyle();
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>((ex & ~remove) | add));
}

void CFloatDropWnd::OnOK()
{
    // The icon goes blank and a timer brings it back: the window's thread
    // never sleeps, so the program (and the drag source waiting for the
    // drop to finish) carries on at once.
    if (m_hIcon != nullptr) {
        m_hFlashIcon = m_hIcon;
        m_hIcon = nullptr;
        Invalidate(true);
        UpdateWindow();
    }
    ::SetTimer(m_hWnd, kFlashTimer, 200, nullptr);
}

void CFloatDropWnd::EndFlash()
{
    ::KillTimer(m_hWnd, kFlashTimer);
    if (m_hFlashIcon != nullptr) {
        m_hIcon = m_hFlashIcon;
        m_hFlashIcon = nullptr;
        Invalidate(true);
        UpdateWindow();
    }
}

void CFloatDropWnd::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (m_hIcon) {
        const int dpi = dpi::ForWindow(m_hWnd);
        if (dpi == dpiscale::kBaseDpi)
            ::DrawIcon(dc, 1, 1, m_hIcon);
        else
            ::DrawIconEx(dc, dpi::Scale(1, dpi), dpi::Scale(1, dpi), m_hIcon, dpi::Scale(32, dpi),
                         dpi::Scale(32, dpi), 0, nullptr, DI_NORMAL);
    } else {
        RECT rc = GetClientRect();
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CFloatDropWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_LBUTTONDOWN:
        m_ptGrab = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ::SetCapture(m_hWnd);
        m_bDragging = 1;
        break;
    case WM_MOUSEMOVE: {
        const POINT now{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        // A grab at exactly (0, 0) counts as no grab.
        if (m_bDragging == 1 && (m_ptGrab.x != 0 || m_ptGrab.y != 0) &&
            (now.x != m_ptGrab.x || now.y != m_ptGrab.y)) {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            ::MoveWindow(m_hWnd, cursor.x - m_ptGrab.x, cursor.y - m_ptGrab.y, Side(), Side(), TRUE);
            const RECT rc = GetWindowRect();
            g_paraBlock.SetPara(PARA_FLOAT_WND_X, rc.left);
            g_paraBlock.SetPara(PARA_FLOAT_WND_Y, rc.top);
        }
        break;
    }
    case WM_LBUTTONUP:
        if (m_bDragging) {
            ::ReleaseCapture();
            m_ptGrab = POINT{0, 0};
            m_bDragging = 0;
        }
        break;
    case WM_NCHITTEST: {
        const LRESULT hit = CDialog::WindowProc(msg, wp, lp);
        return (m_bDragging == 1 && hit == HTCLIENT) ? HTCAPTION : hit;
    }
    case WM_LBUTTONDBLCLK:
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd) {
            app->m_pMainWnd->PostMessage(WM_COMMAND, ID_SHOW_MAIN_WINDOW);
        }
        break;
    case WM_RBUTTONUP:
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd) ShowTrayMenu(app->m_pMainWnd);
        break;
    case WM_DROPFILES:
        // Drops come through OLE (m_dropTarget); a stray file list posted
        // here is only released.
        ::DragFinish(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_TIMER:
        if (wp == kFlashTimer) {
            EndFlash();
            return 0;
        }
        break;
    case kWmDpiChanged:
        OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_DESTROY:
        m_dropTarget.Revoke();
        dpi::Forget(m_hWnd);
        break;
    }
    return CDialog::WindowProc(msg, wp, lp);
}

// ---- Main-frame side: showing, hiding and the IE drag settings -------------

void CMainFrame::ShowFloatWindow()
{
    if (!m_pFloatWnd) m_pFloatWnd = new CFloatDropWnd;
    auto* wnd = static_cast<CFloatDropWnd*>(m_pFloatWnd);
    if (!wnd->m_hWnd) {
        if (!wnd->CreateFloat()) return;
        wnd->SetWindowPos(HWND_TOPMOST, g_paraBlock.GetPara(PARA_FLOAT_WND_X), g_paraBlock.GetPara(PARA_FLOAT_WND_Y),
                          0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        // At its place: the size and icon of that monitor's DPI.
        wnd->OnPlaced();
    }
    wnd->SetFloatTransparency(g_paraBlock.GetPara(PARA_FLOAT_WND_TRANS) & 0xFF);
    wnd->ShowWindow(SW_SHOWNOACTIVATE);
    wnd->Invalidate(true);
    wnd->UpdateWindow();
    ::SetFocus(m_hWnd);
}

void CMainFrame::DestroyFloatWindow()
{
    if (!m_pFloatWnd) return;
    m_pFloatWnd->DestroyWindow();
    delete m_pFloatWnd;
    m_pFloatWnd = nullptr;
}

void CMainFrame::SyncFloatWindow()
{
    if (g_paraBlock.GetPara(PARA_FLOAT_WND_SHOW))
        ShowFloatWindow();
    else
        DestroyFloatWindow();
}

void CMainFrame::OnDropFiles(HDROP drop)
{
    // Only pages accept files, yet a drop can still be posted to the frame:
    // Wine hands drops from older X drag sources (OffiX protocol) to the
    // top-level window, with no drop point. Such files would otherwise be
    // lost. The page takes them below the line under the pointer.
    CJotstackView* page = GetActiveNoteView();
    if (!page || !page->m_hWnd) {
        ::DragFinish(drop);
        return;
    }
    if (auto* files = static_cast<DROPFILES*>(::GlobalLock(drop))) {
        const DWORD at = ::GetMessagePos();
        POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
        ::ScreenToClient(page->m_hWnd, &p);
        files->pt = p;
        files->fNC = FALSE;
        ::GlobalUnlock(drop);
    }
    page->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
}

bool CMainFrame::HandleDropCommand(CmdRequest& req)
{
    if (req.id != ID_IE_DRAG_SETTINGS) return false;
    return req.Run([this] {
        CIEDragDlg dlg(this);
        if (dlg.Run() == -1) return;
        SyncFloatWindow();
    });
}
