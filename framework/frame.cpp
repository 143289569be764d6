#include "framework/frame.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "framework/app.h"
#include "framework/controlbar.h"
#include "framework/doc.h"
#include "framework/strings.h"
#include "res/resource.h"

namespace {

constexpr wchar_t kFrameClass[] = L"JotstackFrame";
constexpr wchar_t kMDIChildClass[] = L"JotstackMDIChild";

class MenuCmdUI : public CCmdUI {
public:
    MenuCmdUI(HMENU menu, UINT index, UINT id) : CCmdUI(id), m_menu(menu), m_index(index) {}
    void Enable(bool on) override
    {
        CCmdUI::Enable(on);
        ::EnableMenuItem(m_menu, m_index, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        ::CheckMenuItem(m_menu, m_index, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    }
    void SetText(const wchar_t* text) override
    {
        ::ModifyMenuW(m_menu, m_index, MF_BYPOSITION | MF_STRING, m_nID, text);
    }

private:
    HMENU m_menu;
    UINT m_index;
};

// Answers "is this command enabled?" without touching any element.
class TestCmdUI : public CCmdUI {
public:
    using CCmdUI::CCmdUI;
};

}  // namespace

// ---- CFrameWnd -----------------------------------------------------------------

const wchar_t* CFrameWnd::GetFrameClassName() const
{
    return kFrameClass;
}

bool CFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context)
{
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    m_nIDResource = idResource;
    if (CWinApp* app = AfxGetApp(); app && m_strTitle.empty())
        m_strTitle = app->m_strAppName;

    const wchar_t* cls = GetFrameClassName();
    if (!CWnd::RegisterWindowClass(cls, CS_DBLCLKS, ::LoadIconW(inst, MAKEINTRESOURCEW(idResource)),
                                   ::LoadCursorW(nullptr, IDC_ARROW), nullptr))
        return false;

    HMENU menu = ::LoadMenuW(inst, MAKEINTRESOURCEW(idResource));
    m_hAccelTable = ::LoadAcceleratorsW(inst, MAKEINTRESOURCEW(idResource));
    m_pCreateContext = context;   // taken by WM_CREATE
    if (!CreateEx(0, cls, m_strTitle.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, menu)) {
        // The object may be gone already (a window that was made and then
        // destroyed deletes it, and takes its menu with it): touch only locals.
        if (menu && ::IsMenu(menu))
            ::DestroyMenu(menu);
        return false;
    }
    m_hMenuDefault = menu;
    return true;
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CFrameWnd* frame = GetActiveFrame();
    CView* view = frame ? frame->GetActiveView() : nullptr;
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* view, bool notify)
{
    CView* old = m_pViewActive;
    if (old == view)
        return;
    m_pViewActive = view;
    if (notify) {
        if (old)
            old->OnActivateView(false, view, old);
        if (view)
            view->OnActivateView(true, view, old);
    }
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1)
        cmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
    ShowWindow(cmdShow);
    ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::OnUpdateFrameTitle(bool addToTitle)
{
    std::wstring title = m_strTitle;
    if (addToTitle) {
        if (CDocument* doc = GetActiveDocument(); doc && !doc->GetTitle().empty())
            title = doc->GetTitle() + L" - " + m_strTitle;
    }
    if (GetWindowText() != title)
        SetWindowText(title);
}

HWND CFrameWnd::GetPaneWindow() const
{
    return GetDlgItem(AFX_IDW_PANE_FIRST);
}

void CFrameWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    RECT rc = GetClientRect();
    const int width = rc.right - rc.left;
    HDWP dwp = ::BeginDeferWindowPos(static_cast<int>(m_controlBars.size()) + 1);
    for (CControlBar* bar : m_controlBars) {
        if (!bar->m_hWnd || !bar->IsWindowVisible())
            continue;
        int h = bar->CalcHeight(width);
        int y = bar->IsTop() ? rc.top : rc.bottom - h;
        if (bar->IsTop())
            rc.top += h;
        else
            rc.bottom -= h;
        dwp = ::DeferWindowPos(dwp, bar->m_hWnd, nullptr, rc.left, y, width, h,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (HWND pane = GetPaneWindow()) {
        dwp = ::DeferWindowPos(dwp, pane, nullptr, rc.left, rc.top, width,
                               std::max<LONG>(0, rc.bottom - rc.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::EndDeferWindowPos(dwp);
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    m_controlBars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    m_controlBars.erase(std::remove(m_controlBars.begin(), m_controlBars.end(), bar),
                        m_controlBars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : m_controlBars)
        if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == id)
            return bar;
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, bool show, bool delay)
{
    if (!bar || !bar->m_hWnd)
        return;
    bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    if (!delay)
        RecalcLayout();
}

void CFrameWnd::SetMessageText(const std::wstring& text)
{
    if (auto* bar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR)))
        bar->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT id)
{
    SetMessageText(str::PromptStatusText(str::Load(id)));
}

void CFrameWnd::SetIdleMessage()
{
    m_nMenuSelectId = 0;
    SetMessageText(AFX_IDS_IDLEMESSAGE);
}

void CFrameWnd::UpdateCmdUI(CCmdUI& ui, bool disableIfNoHandler)
{
    CmdRequest update{ui.m_nID, CmdMode::Update, &ui};
    if (OnCmdMsg(update))
        return;
    if (disableIfNoHandler) {
        CmdRequest probe{ui.m_nID, CmdMode::Probe, nullptr};
        ui.Enable(OnCmdMsg(probe));
    }
}

bool CFrameWnd::IsCommandEnabled(UINT id)
{
    TestCmdUI test(id);
    UpdateCmdUI(test, m_bAutoMenuEnable);
    return test.m_bEnabled;
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    for (CControlBar* bar : m_controlBars)
        if (bar->m_hWnd && bar->IsWindowVisible())
            bar->OnUpdateCmdUI(this, m_bAutoMenuEnable);
}

void CFrameWnd::UpdateMenuPopup(HMENU popup)
{
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1) || id >= AFX_IDM_FIRST_MDICHILD)
            continue;   // separator, popup, or a window of the window list
        MenuCmdUI ui(popup, static_cast<UINT>(i), id);
        UpdateCmdUI(ui, m_bAutoMenuEnable);
    }
}

bool CFrameWnd::OnCmdMsg(CmdRequest& req)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(req))
        return true;
    if (CCmdTarget::OnCmdMsg(req))
        return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(req);
}

bool CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg) != 0;
    return false;
}

bool CFrameWnd::OnCommand(UINT id, UINT code, HWND control)
{
    // Menus (code 0), accelerators (code 1) and toolbar buttons (BN_CLICKED
    // from a bar) are commands; other control notifications are not.
    if (control && code != 0)
        return false;
    // A command whose state says disabled is dropped, also when it comes
    // from an accelerator.
    if (!IsCommandEnabled(id))
        return true;
    CmdRequest req{id, CmdMode::Execute, nullptr};
    return OnCmdMsg(req);
}

bool CFrameWnd::OnNotify(NMHDR* hdr, LRESULT* result)
{
    switch (hdr->code) {
    case TTN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        UINT id = static_cast<UINT>(hdr->idFrom);
        if (info->uFlags & TTF_IDISHWND)
            id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(hdr->idFrom)));
        std::wstring tip = str::PromptTipText(str::Load(id));
        lstrcpynW(info->szText, tip.c_str(), static_cast<int>(std::size(info->szText)));
        info->lpszText = info->szText;
        *result = 0;
        return true;
    }
    case TBN_HOTITEMCHANGE: {
        // The toolbar's fly-by help: the hot button's prompt in the status bar.
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(hdr);
        if (hot->dwFlags & HICF_LEAVING)
            SetIdleMessage();
        else
            SetMessageText(static_cast<UINT>(hot->idNew));
        *result = 0;
        return true;
    }
    }
    return false;
}

bool CFrameWnd::OnCreateClient(CREATESTRUCTW*, CCreateContext* context)
{
    if (!context || !context->m_newView)
        return true;
    CView* view = context->m_newView();
    if (!view)
        return false;
    if (!view->CreateView(this, AFX_IDW_PANE_FIRST, context)) {
        delete view;
        return false;
    }
    return true;
}

LRESULT CFrameWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        if (Default() == -1)
            return -1;
        CCreateContext* context = std::exchange(m_pCreateContext, nullptr);
        if (!OnCreateClient(reinterpret_cast<CREATESTRUCTW*>(lp), context))
            return -1;
        RecalcLayout();
        return 0;
    }
    case WM_SIZE:
        // The MDI client's default handling would cover the bars; we place it.
        if (wp != SIZE_MINIMIZED)
            RecalcLayout();
        return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lp))
            UpdateMenuPopup(reinterpret_cast<HMENU>(wp));
        break;
    case WM_MENUSELECT: {
        UINT item = LOWORD(wp);
        UINT flags = HIWORD(wp);
        if (flags == 0xFFFF && lp == 0)
            SetIdleMessage();
        else if (!(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) && item != 0) {
            m_nMenuSelectId = item;
            SetMessageText(item);
        } else {
            SetMessageText(std::wstring());
        }
        break;
    }
    case WM_EXITMENULOOP:
        SetIdleMessage();
        break;
    case WM_SHOWWINDOW:
        // Bars and panes were not updated while the frame was hidden; a
        // posted message lets the idle update run once it shows again.
        if (wp && !GetParent())
            PostMessage(WM_NULL);
        break;
    case WM_SETFOCUS:
        if (m_pViewActive && m_pViewActive->m_hWnd) {
            ::SetFocus(m_pViewActive->m_hWnd);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
            app->CloseAllDocuments();
            DestroyWindow();
            return 0;
        }
        break;
    case WM_NCDESTROY:
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        break;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

// ---- CMDIFrameWnd --------------------------------------------------------------

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(bool* maximized) const
{
    BOOL max = FALSE;
    HWND active = m_hWndMDIClient
        ? reinterpret_cast<HWND>(::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                reinterpret_cast<LPARAM>(&max)))
        : nullptr;
    if (maximized)
        *maximized = active && max;
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(active));
}

void CMDIFrameWnd::MDIActivate(CWnd* child) const
{
    if (m_hWndMDIClient && child)
        ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU)
{
    return nullptr;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU menu)
{
    if (!menu)
        menu = m_hMenuDefault;
    if (!m_hWndMDIClient || !menu)
        return;
    if (::GetMenu(m_hWnd) != menu) {
        ::SendMessageW(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                       reinterpret_cast<LPARAM>(GetWindowMenuPopup(menu)));
        ::DrawMenuBar(m_hWnd);
    }
}

bool CMDIFrameWnd::OnCmdMsg(CmdRequest& req)
{
    if (CMDIChildWnd* child = MDIGetActive(); child && child->OnCmdMsg(req))
        return true;
    return CFrameWnd::OnCmdMsg(req);
}

bool CMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return false;
    if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, msg))
        return true;
    HACCEL accel = m_hAccelTable;
    if (CMDIChildWnd* child = MDIGetActive(); child && child->m_hAccelTable)
        accel = child->m_hAccelTable;
    return accel && ::TranslateAcceleratorW(m_hWnd, accel, msg) != 0;
}

void CMDIFrameWnd::OnUpdateFrameTitle(bool addToTitle)
{
    bool maximized = false;
    CMDIChildWnd* child = MDIGetActive(&maximized);
    // With a maximised child the system composes "title - [child]" itself.
    if (maximized)
        return;
    std::wstring title = m_strTitle;
    if (addToTitle && child) {
        std::wstring caption = child->GetWindowText();
        if (!caption.empty())
            title += L" - " + caption;
    }
    if (GetWindowText() != title)
        SetWindowText(title);
}

bool CMDIFrameWnd::OnCreateClient(CREATESTRUCTW* cs, CCreateContext*)
{
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = GetWindowMenuPopup(::GetMenu(m_hWnd));
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    m_hWndMDIClient = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES,
        0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
        ::GetModuleHandleW(nullptr), &ccs);
    return m_hWndMDIClient != nullptr;
}

bool CMDIFrameWnd::OnCommand(UINT id, UINT code, HWND control)
{
    // Window-list entries belong to the MDI client (DefFrameProc).
    if (id >= AFX_IDM_FIRST_MDICHILD && !control)
        return false;
    return CFrameWnd::OnCommand(id, code, control);
}

LRESULT CMDIFrameWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SETFOCUS:
        // DefFrameProc hands the focus to the active child.
        return DefWindowProc(msg, wp, lp);
    }
    return CFrameWnd::WindowProc(msg, wp, lp);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, msg, wp, lp);
}

// ---- CMDIChildWnd --------------------------------------------------------------

const wchar_t* CMDIChildWnd::GetFrameClassName() const
{
    return kMDIChildClass;
}

bool CMDIChildWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_pMDIFrame = dynamic_cast<CMDIFrameWnd*>(parent);
    if (!m_pMDIFrame || !m_pMDIFrame->m_hWndMDIClient)
        return false;
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    m_nIDResource = idResource;
    const wchar_t* cls = GetFrameClassName();
    if (!CWnd::RegisterWindowClass(cls, CS_DBLCLKS, ::LoadIconW(inst, MAKEINTRESOURCEW(idResource)),
                                   ::LoadCursorW(nullptr, IDC_ARROW), nullptr))
        return false;
    m_pCreateContext = context;   // taken by WM_CREATE
    return CreateEx(WS_EX_MDICHILD, cls, m_strTitle.c_str(), style | WS_CHILD, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_pMDIFrame->m_hWndMDIClient, nullptr);
}

void CMDIChildWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1)
        cmdShow = SW_SHOW;
    if (!IsWindowVisible() || cmdShow == SW_SHOWMAXIMIZED)
        ShowWindow(cmdShow);
    m_pMDIFrame->MDIActivate(this);
    if (m_pViewActive && m_pViewActive->m_hWnd)
        ::SetFocus(m_pViewActive->m_hWnd);
}

void CMDIChildWnd::OnUpdateFrameTitle(bool addToTitle)
{
    if (m_pMDIFrame)
        m_pMDIFrame->OnUpdateFrameTitle(addToTitle);
}

void CMDIChildWnd::MDIDestroy()
{
    if (m_pMDIFrame && m_pMDIFrame->m_hWndMDIClient)
        ::SendMessageW(m_pMDIFrame->m_hWndMDIClient, WM_MDIDESTROY,
                       reinterpret_cast<WPARAM>(m_hWnd), 0);
}

bool CMDIChildWnd::OnCmdMsg(CmdRequest& req)
{
    // Only the child's own route; the MDI frame goes on with itself and the
    // application.
    if (m_pViewActive && m_pViewActive->OnCmdMsg(req))
        return true;
    return CCmdTarget::OnCmdMsg(req);
}

LRESULT CMDIChildWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_MDIACTIVATE: {
        bool activating = reinterpret_cast<HWND>(lp) == m_hWnd;
        LRESULT r = Default();
        if (activating) {
            m_pMDIFrame->OnUpdateFrameMenu(m_hMenuShared);
            if (m_pViewActive)
                m_pViewActive->OnActivateView(true, m_pViewActive, m_pViewActive);
            OnUpdateFrameTitle(true);
        } else if (lp == 0) {
            // The last child went away: back to the frame's own menu.
            m_pMDIFrame->OnUpdateFrameMenu(nullptr);
            m_pMDIFrame->OnUpdateFrameTitle(true);
        }
        return r;
    }
    case WM_SIZE:
        // DefMDIChildProc must see the size (maximised children), and the
        // view fills the client area.
        if (wp != SIZE_MINIMIZED)
            RecalcLayout();
        return Default();
    case WM_SETFOCUS:
        if (m_pViewActive && m_pViewActive->m_hWnd) {
            ::SetFocus(m_pViewActive->m_hWnd);
            return 0;
        }
        return Default();
    case WM_CLOSE:
        MDIDestroy();
        return 0;
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
        return Default();
    }
    return CFrameWnd::WindowProc(msg, wp, lp);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return ::DefMDIChildProcW(m_hWnd, msg, wp, lp);
}
