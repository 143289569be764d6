#include "framework/app.h"

#include "framework/doc.h"
#include "framework/frame.h"
#include "framework/strings.h"
#include "res/resource.h"

namespace {
CWinApp* g_app = nullptr;

// Messages that do not count as user activity: after them the idle
// update need not run again (it would run after every timer tick otherwise).
bool IsIdleMessage(const MSG& msg, POINT& lastMouse, UINT& lastMouseMsg)
{
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.message == lastMouseMsg && msg.pt.x == lastMouse.x && msg.pt.y == lastMouse.y)
            return false;
        lastMouse = msg.pt;
        lastMouseMsg = msg.message;
        return true;
    }
    return msg.message != WM_PAINT && msg.message != WM_TIMER && msg.message != 0x0118;
}
}  // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinApp::CWinApp()
{
    g_app = this;
    m_hInstance = ::GetModuleHandleW(nullptr);
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::AddDocTemplate(CDocTemplate* tmpl)
{
    m_templates.emplace_back(tmpl);
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* tmpl = GetFirstDocTemplate())
        tmpl->OpenDocumentFile(nullptr);
}

void CWinApp::CloseAllDocuments()
{
    for (auto& tmpl : m_templates)
        tmpl->CloseAllDocuments();
}

bool CWinApp::PreTranslateMessage(MSG* msg)
{
    // The window under the message and its parents first (a dialog's keys),
    // then the main window (accelerators).
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = CWnd::FromHandle(hwnd)) {
            if (wnd->PreTranslateMessage(msg))
                return true;
            if (wnd == m_pMainWnd)
                return false;
        }
    }
    return m_pMainWnd && m_pMainWnd->PreTranslateMessage(msg);
}

bool CWinApp::OnIdle(long count)
{
    if (count == 0) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
            frame && frame->IsWindowVisible())
            frame->OnIdleUpdateCmdUI();
    }
    return false;
}

int CWinApp::Run()
{
    MSG msg{};
    bool idle = true;
    long idleCount = 0;
    POINT lastMouse{-1, -1};
    UINT lastMouseMsg = 0;
    for (;;) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg, lastMouse, lastMouseMsg)) {
            idle = true;
            idleCount = 0;
        }
    }
    m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

bool CWinApp::HandleCommand(CmdRequest& req)
{
    switch (req.id) {
    case ID_APP_EXIT:
        // The main window decides what closing means.
        return req.Run([this] {
            if (m_pMainWnd)
                m_pMainWnd->SendMessage(WM_CLOSE);
        });
    }
    return CCmdTarget::HandleCommand(req);
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_strAppName = str::Load(AFX_IDS_APP_TITLE);
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
