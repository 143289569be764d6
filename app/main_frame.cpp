#include "app/main_frame.h"

#include <shellapi.h>

#include <optional>

#include "app/jotstack_app.h"
#include "app/para_block.h"
#include "app/position_record.h"
#include "app/shell_paths.h"
#include "app/tools_commands.h"
#include "calendar/calendar_text.h"
#include "calendar/lunar_year.h"
#include "framework/dpi.h"
#include "framework/strings.h"
#include "notes/child_frame.h"
#include "notes/jotstack_doc.h"
#include "notes/jotstack_view.h"
#include "notes/page_dialogs.h"
#include "res/resource.h"

namespace {

constexpr UINT kIndicators[] = {
    ID_SEPARATOR,            // message area
    ID_SEPARATOR,            // under the tab strip
    ID_INDICATOR_LINE_COL,
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
};

constexpr int kTabStripLeft = 250;   // the message area keeps this many pixels (at 96 DPI)
constexpr DWORD kTabStripStyle = 0x000A;   // four scroll buttons, tooltips

// The notification-area icon's data in its first, short layout.
NOTIFYICONDATAW TrayIconData(HWND owner, UINT flags)
{
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = owner;
    nid.uID = kTrayIconId;
    nid.uFlags = flags;
    nid.uCallbackMessage = WM_TRAY_NOTIFY;
    return nid;
}

HICON TrayIcon()
{
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_JOTSTACK),
                                           IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                           ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

int TodayNumber(const SYSTEMTIME& t)
{
    return t.wYear * 10000 + t.wMonth * 100 + t.wDay;
}

}  // namespace

void ShowTrayMenu(CWnd* owner)
{
    UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
    if (!menu)
        return;
    HMENU popup = ::GetSubMenu(menu.Get(), 0);
    if (!popup)
        return;
    ::SetMenuDefaultItem(popup, 0, TRUE);
    POINT pt{};
    ::GetCursorPos(&pt);
    // SetForegroundWindow first, or the menu does not close when the user
    // clicks elsewhere.
    ::SetForegroundWindow(owner->m_hWnd);
    ::TrackPopupMenu(popup, TPM_LEFTBUTTON, pt.x, pt.y, 0, owner->m_hWnd, nullptr);
    owner->PostMessage(WM_NULL);
}

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    delete m_pClockWnd;
    delete m_pFloatWnd;
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (auto* app = dynamic_cast<CSingleInstanceApp*>(AfxGetApp())) {
        m_strClassName = app->GetInstanceClassName();
        if (!m_strClassName.empty())
            cs.lpszClass = m_strClassName.c_str();
    }
    return CMDIFrameWnd::PreCreateWindow(cs);
}

HMENU CMainFrame::GetWindowMenuPopup(HMENU menuBar)
{
    if (!menuBar)
        return nullptr;
    int count = ::GetMenuItemCount(menuBar);
    return count >= 2 ? ::GetSubMenu(menuBar, count - 2) : nullptr;
}

void CMainFrame::OnUpdateFrameTitle(bool addToTitle)
{
    // Pages are always shown maximised, and the system then shows the
    // frame's own title with " - [page]" appended. During an activation the
    // new page may not count as maximised yet; composing "title - page"
    // then would make it part of the frame's own title for good.
    bool maximized = false;
    if (dynamic_cast<CChildFrame*>(MDIGetActive(&maximized))) {
        if (!maximized)
            SetWindowText(m_strTitle);
        return;
    }
    CMDIFrameWnd::OnUpdateFrameTitle(addToTitle);
}

int CMainFrame::OnCreate(LPARAM lp)
{
    if (CMDIFrameWnd::WindowProc(WM_CREATE, 0, lp) == -1)
        return -1;

    m_nDpi = dpi::ForWindow(m_hWnd);
    m_wndToolBar.SetScaledBitmaps(IDB_TOOLBAR_150, IDB_TOOLBAR_200);
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_FLYBY,
                               AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;

    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;
    m_wndStatusBar.UpdateForDpi(m_nDpi);
    m_wndStatusBar.SetPaneText(0, str::Load(AFX_IDS_IDLEMESSAGE));

    // The strip's failure is not fatal: the pages still work from the list.
    m_wndTabs.Create(WS_CHILD | WS_VISIBLE | kTabStripStyle, RECT{0, 0, 0, 0}, m_wndStatusBar.m_hWnd,
                     IDC_TABSTRIP);

    m_nTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

    std::wstring text = IniReadString(L"Position", L"WindowPos", L"", 256);
    m_strWrittenPos = text;
    const ScreenBox desktop{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                            ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                            ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    auto record = ParsePositionRecord(str::ToUtf8(text));
    if (record && IsUsablePlacement(*record, desktop)) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        wp.flags = record->flags;
        wp.showCmd = CorrectShowCommand(record->showCmd);
        wp.ptMinPosition = POINT{record->minX, record->minY};
        wp.ptMaxPosition = POINT{record->maxX, record->maxY};
        wp.rcNormalPosition = RECT{record->left, record->top, record->right, record->bottom};
        m_bRestoringPlacement = true;
        ::SetWindowPlacement(m_hWnd, &wp);
        m_bRestoringPlacement = false;
        if (!g_paraBlock.GetPara(PARA_TOOLBAR))
            ShowControlBar(&m_wndToolBar, false, false);
        if (!g_paraBlock.GetPara(PARA_STATUS_BAR))
            ShowControlBar(&m_wndStatusBar, false, false);
    }
    RecalcLayout();
    LayoutTabStrip();
    return 0;
}

void CMainFrame::LayoutTabStrip()
{
    if (!m_wndStatusBar.m_hWnd || !m_wndTabs.GetSafeHwnd())
        return;
    RECT pane = m_wndStatusBar.GetItemRect(1);
    pane.left = dpi::Scale(kTabStripLeft, m_nDpi);
    ::SetWindowPos(m_wndTabs.m_hWnd, nullptr, pane.left, pane.top, pane.right - pane.left,
                   pane.bottom - pane.top + 1, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::OnSize(WPARAM type)
{
    if (type != SIZE_MINIMIZED) {
        LayoutTabStrip();
        return;
    }
    SaveNotes(SaveOccasion::Hide, false);
    SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    auto* app = dynamic_cast<CJotstackApp*>(AfxGetApp());
    if (app && app->EnsureTrayIcon(1))
        ShowWindow(SW_HIDE);
}

void CMainFrame::OnClose()
{
    const bool saved = SaveState();
    auto* app = dynamic_cast<CJotstackApp*>(AfxGetApp());
    if (m_bExiting && !saved) {
        // Ending now would throw the unsaved notes away: stay in the tray
        // with the pages still marked, so that the next exit tries again.
        m_bExiting = 0;
        TellSaveFailure(SaveOccasion::Exit, true);
        return;
    }
    if (!m_bExiting) {
        // Close, Esc and File-Exit only hide the window; the notes are saved.
        if (!saved)
            TellSaveFailure(SaveOccasion::Hide, false);
        ShowWindow(SW_MINIMIZE);
        if (app && app->EnsureTrayIcon(1))
            ShowWindow(SW_HIDE);
        return;
    }
    if (m_pClockWnd) {
        m_pClockWnd->DestroyWindow();
        delete m_pClockWnd;
        m_pClockWnd = nullptr;
    }
    if (m_pFloatWnd) {
        m_pFloatWnd->DestroyWindow();
        delete m_pFloatWnd;
        m_pFloatWnd = nullptr;
    }
    RemoveTrayIcon();
    CMDIFrameWnd::WindowProc(WM_CLOSE, 0, 0);
}

bool CMainFrame::AddTrayIcon()
{
    NOTIFYICONDATAW nid = TrayIconData(m_hWnd, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    nid.hIcon = TrayIcon();
    lstrcpynW(nid.szTip, L"Jotstack", 64);
    return ::Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void CMainFrame::RemoveTrayIcon()
{
    NOTIFYICONDATAW nid = TrayIconData(m_hWnd, 0);
    ::Shell_NotifyIconW(NIM_DELETE, &nid);
}

void CMainFrame::ShowFromTray()
{
    ShowWindow(SW_RESTORE);
    HWND popup = ::GetLastActivePopup(m_hWnd);
    ::SetForegroundWindow(popup ? popup : m_hWnd);
}

void CMainFrame::UpdateTrayTip()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    int today = TodayNumber(now);
    if (today == m_nTipDate)
        return;
    ::GetLocalTime(&now);
    int s = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    int hourIndex = s <= 3599 ? 0 : (s - 3600) / 7200 + 1;
    cal::LunarYear year;
    cal::BuildLunarYear(year, now.wYear);
    std::wstring tip = cal::FormatDayInfo(year, now.wMonth, now.wDay, hourIndex);
    NOTIFYICONDATAW nid = TrayIconData(m_hWnd, NIF_TIP);
    lstrcpynW(nid.szTip, tip.c_str(), 64);
    ::Shell_NotifyIconW(NIM_MODIFY, &nid);
    m_nTipDate = today;
}

LRESULT CMainFrame::OnTrayNotify(WPARAM id, LPARAM mouseMsg)
{
    if (id != kTrayIconId)
        return 0;
    switch (mouseMsg) {
    case WM_MOUSEMOVE:
        UpdateTrayTip();
        break;
    case WM_LBUTTONDOWN:
        ShowFromTray();
        break;
    case WM_RBUTTONUP:
        ShowTrayMenu(this);
        break;
    }
    return 1;
}

CJotstackView* CMainFrame::GetActiveNoteView() const
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? dynamic_cast<CJotstackView*>(child->GetActiveView()) : nullptr;
}

void CMainFrame::AttachNotes(CJotstackDoc* doc)
{
    m_pNotes = doc;
    if (doc)
        doc->AttachHost(this);
}

void CMainFrame::ActivatePage(int index)
{
    if (m_pNotes)
        m_pNotes->ShowPage(index);
}

void CMainFrame::RestorePages()
{
    if (m_pNotes)
        m_pNotes->RestorePages(g_paraBlock.GetPara(PARA_CUR_VIEW));
}

bool CMainFrame::PreTranslateMessage(MSG* msg)
{
    // Ctrl+Tab and Ctrl+F6 (with Shift: backwards) go to the next page in
    // tab order. The multiple-document client would only cycle through the
    // pages that have a window.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_TAB || msg->wParam == VK_F6) &&
        ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0 && m_pNotes &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        const int count = m_pNotes->PageCount();
        const int current = std::max(0, m_pNotes->CurrentPage());
        const int step = ::GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
        m_pNotes->ShowPage((current + step) % count);
        return true;
    }
    return CMDIFrameWnd::PreTranslateMessage(msg);
}

void CMainFrame::ApplyTransparency()
{
    auto* app = dynamic_cast<CJotstackApp*>(AfxGetApp());
    if (!app || !app->m_pfnSetLayeredWindowAttributes)
        return;
    int t = shellpaths::TransparencyPercent(g_paraBlock.GetPara(PARA_TRANSPARENCY));
    if (t > 0) {
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(GetExStyle() | WS_EX_LAYERED));
        app->m_pfnSetLayeredWindowAttributes(m_hWnd, 0,
                                             static_cast<BYTE>(shellpaths::TransparencyAlpha(t)),
                                             LWA_ALPHA);
    } else {
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(GetExStyle() & ~WS_EX_LAYERED));
    }
}

void CMainFrame::ToggleBar(CControlBar& bar, int para)
{
    bool show = !bar.IsWindowVisible();
    ShowControlBar(&bar, show, false);
    LayoutTabStrip();
    g_paraBlock.SetPara(para, bar.IsWindowVisible() ? 1 : 0);
}

void CMainFrame::UpdateLineColumn(CCmdUI& ui)
{
    CJotstackView* view = GetActiveNoteView();
    if (!view)
        return;
    int start = 0, end = 0;
    view->GetSel(start, end);
    int pos = std::max(start, end);
    int line = static_cast<int>(view->SendMessage(EM_LINEFROMCHAR, static_cast<WPARAM>(pos))) + 1;
    int lineStart = static_cast<int>(view->SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line - 1)));
    int column = pos - lineStart + 1;
    std::wstring format = str::Load(ID_INDICATOR_LINE_COL);
    ui.SetText(str::Format(format.c_str(), line, column).c_str());
}

bool CMainFrame::HandleCommand(CmdRequest& req)
{
    if (HandleDropCommand(req) || HandleClockCalendarCommand(req) || HandleToolsCommand(*this, req))
        return true;
    switch (req.id) {
    case ID_SHOW_MAIN_WINDOW:
        return req.Run([this] { ShowFromTray(); });
    case ID_TRAY_EXIT:
        return req.Run([this] {
            m_bExiting = 1;
            PostMessage(WM_COMMAND, ID_APP_EXIT);
        });
    case ID_VIEW_TOOLBAR:
        return req.Run([this] { ToggleBar(m_wndToolBar, PARA_TOOLBAR); },
                       [this](CCmdUI& ui) { ui.SetCheck(m_wndToolBar.IsWindowVisible()); });
    case ID_VIEW_STATUS_BAR:
        return req.Run([this] { ToggleBar(m_wndStatusBar, PARA_STATUS_BAR); },
                       [this](CCmdUI& ui) { ui.SetCheck(m_wndStatusBar.IsWindowVisible()); });
    case ID_TOP_MOST:
        return req.Run(
            [this] {
                int top = g_paraBlock.GetPara(PARA_TOP_MOST);
                SetWindowPos(top ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
                g_paraBlock.SetPara(PARA_TOP_MOST, top ? 0 : 1);
            },
            [](CCmdUI& ui) { ui.SetCheck(g_paraBlock.GetPara(PARA_TOP_MOST) ? 1 : 0); });
    case ID_PAGE_MANAGER:
        return req.Run([this] {
            if (!m_pNotes)
                return;
            CPageManagerDlg dlg(this, *m_pNotes);
            dlg.DoModal();
        });
    case ID_WINDOW_NEW:
    case ID_WINDOW_ARRANGE:
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_TILE_VERT:
        return req.Run([] {});
    case ID_INDICATOR_LINE_COL:
        return req.Update([this](CCmdUI& ui) { UpdateLineColumn(ui); });
    case ID_INDICATOR_CAPS:
        return req.Update([](CCmdUI& ui) { ui.Enable((::GetKeyState(VK_CAPITAL) & 1) != 0); });
    case ID_INDICATOR_NUM:
        return req.Update([](CCmdUI& ui) { ui.Enable((::GetKeyState(VK_NUMLOCK) & 1) != 0); });
    case ID_CLOCK_OPTIONS:
        return req.Update([](CCmdUI& ui) {
            auto* app = dynamic_cast<CJotstackApp*>(AfxGetApp());
            ui.Enable(app && app->m_pfnSetLayeredWindowAttributes);
        });
    }
    return CMDIFrameWnd::HandleCommand(req);
}

bool CMainFrame::OnNotify(NMHDR* hdr, LRESULT* result)
{
    if (hdr->idFrom == IDC_TABSTRIP && hdr->code == 0) {
        ActivatePage(reinterpret_cast<CTC_NMHDR*>(hdr)->iItem);
        *result = 0;
        return true;
    }
    return CMDIFrameWnd::OnNotify(hdr, result);
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == m_nTaskbarCreated && m_nTaskbarCreated != 0) {
        AddTrayIcon();
        return 0;
    }
    switch (msg) {
    case WM_CREATE:
        return OnCreate(lp);
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SIZE: {
        LRESULT r = CMDIFrameWnd::WindowProc(msg, wp, lp);
        OnSize(wp);
        return r;
    }
    case WM_QUERYENDSESSION:
        return OnQueryEndSession();
    case WM_ENDSESSION:
        OnEndSession(wp != FALSE);
        return 0;
    case WM_SETFOCUS: {
        LRESULT r = CMDIFrameWnd::WindowProc(msg, wp, lp);
        if (g_paraBlock.GetPara(PARA_TOP_MOST))
            SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        return r;
    }
    case WM_COPYDATA: {
        auto* data = reinterpret_cast<COPYDATASTRUCT*>(lp);
        if (data && data->dwData == kSecondInstanceTag) {
            // The icon is shown afresh so that the user sees where the
            // program lives (the second copy already raised the window).
            RemoveTrayIcon();
            ::Sleep(1000);
            AddTrayIcon();
        }
        return Default();
    }
    case WM_ERASEBKGND: {
        RECT rc = GetClientRect();
        ::FillRect(reinterpret_cast<HDC>(wp), &rc, ::GetSysColorBrush(COLOR_WINDOW));
        return TRUE;
    }
    case WM_TRAY_NOTIFY:
        return OnTrayNotify(wp, lp);
    case WM_FLOAT_WND_SYNC:
        SyncFloatWindow();
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case kWmDpiChanged:
        OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_DESTROY:
        dpi::Forget(m_hWnd);
        break;
    }
    return CMDIFrameWnd::WindowProc(msg, wp, lp);
}
