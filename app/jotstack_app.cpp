#include "app/jotstack_app.h"

#include <ole2.h>

#include "app/emergency_copy.h"
#include "app/about_dlg.h"
#include "app/main_frame.h"
#include "app/notes_folder.h"
#include "app/para_block.h"
#include "framework/strings.h"
#include "notes/child_frame.h"
#include "notes/jotstack_doc.h"
#include "notes/jotstack_view.h"
#include "notes/storage_file.h"
#include "res/resource.h"

namespace {

constexpr UINT kClassStyle = CS_DBLCLKS;
// The instance handle's place in the class and mutex names. The real handle
// differs between the 32-bit and the 64-bit program (and moves with address
// space randomisation), yet both must find each other: two copies on one
// notebook would save over each other. The classic image base stands in.
constexpr unsigned kNameInstance = 0x400000;

struct PrefixSearch {
    const std::wstring* prefix;
    HWND found;
};

BOOL CALLBACK MatchClassPrefix(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<PrefixSearch*>(lp);
    wchar_t cls[256] = {};
    int n = ::GetClassNameW(hwnd, cls, 256);
    if (n >= static_cast<int>(s->prefix->size()) &&
        std::wstring_view(cls, s->prefix->size()) == *s->prefix) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A top-level window whose class name starts with the prefix.
HWND FindWindowByClassPrefix(const std::wstring& prefix)
{
    PrefixSearch search{&prefix, nullptr};
    ::EnumWindows(MatchClassPrefix, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

// ---- CSingleInstanceApp ---------------------------------------------------------

CSingleInstanceApp::~CSingleInstanceApp()
{
    if (m_hMutex)
        ::CloseHandle(m_hMutex);
    if (m_hStableMutex)
        ::CloseHandle(m_hStableMutex);
}

bool CSingleInstanceApp::InitSingleInstance(UINT iconId)
{
    HINSTANCE inst = m_hInstance;
    HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    HICON icon = ::LoadIconW(inst, MAKEINTRESOURCEW(iconId));

    const std::wstring shortName = str::Format(L"%ls:%x:%x", m_strAppName.c_str(), kNameInstance, kClassStyle);
    if (cursor || icon)
        m_strClassName = str::Format(L"%ls:%x:%x:%x:%x", m_strAppName.c_str(), kNameInstance, kClassStyle,
                                     static_cast<unsigned>(reinterpret_cast<UINT_PTR>(cursor)), 0u);
    else
        m_strClassName = shortName;

    m_hMutex = ::CreateMutexW(nullptr, FALSE, m_strClassName.c_str());
    bool running = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (shortName != m_strClassName) {
        m_hStableMutex = ::CreateMutexW(nullptr, FALSE, shortName.c_str());
        running = running || ::GetLastError() == ERROR_ALREADY_EXISTS;
    }

    if (running) {
        if (m_hMutex)
            ::CloseHandle(m_hMutex);
        if (m_hStableMutex)
            ::CloseHandle(m_hStableMutex);
        m_hMutex = nullptr;
        m_hStableMutex = nullptr;
        HWND other = ::FindWindowExW(nullptr, nullptr, m_strClassName.c_str(), nullptr);
        if (!other)
            other = FindWindowByClassPrefix(m_strAppName + L":");
        if (other) {
            ::ShowWindow(other, SW_RESTORE);
            ::BringWindowToTop(other);
            ::SetForegroundWindow(other);
            COPYDATASTRUCT cds{};
            cds.dwData = kSecondInstanceTag;
            ::SendMessageW(other, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
        }
        return false;
    }

    if (!CWnd::RegisterWindowClass(m_strClassName.c_str(), kClassStyle, icon, cursor, nullptr)) {
        ::MessageBoxW(nullptr, L"不能注册窗口类！", m_strAppName.c_str(), MB_OK | MB_ICONSTOP);
        return false;
    }
    return true;
}

// ---- CJotstackApp ---------------------------------------------------------------

void PumpMessages()
{
    MSG msg{};
    CWinApp* app = AfxGetApp();
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(-1);
            return;
        }
        if (app && app->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

CJotstackApp::CJotstackApp() = default;

bool CJotstackApp::EnsureTrayIcon(int attempts)
{
    if (m_bTrayIcon)
        return true;
    if (attempts <= 0) {
        m_bTrayIcon = 0;
        return false;
    }
    auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    for (int i = 0; i < attempts && frame; ++i) {
        PumpMessages();
        if (frame->AddTrayIcon()) {
            m_bTrayIcon = 1;
            return true;
        }
        PumpMessages();
        if (attempts > 1)
            ::Sleep(200);
    }
    m_bTrayIcon = 0;
    return false;
}

bool CJotstackApp::InitInstance()
{
    if (!InitSingleInstance(IDI_JOTSTACK))
        return false;

    ::OleInitialize(nullptr);

    if (HMODULE user32 = ::GetModuleHandleW(L"USER32.DLL"))
        m_pfnSetLayeredWindowAttributes = reinterpret_cast<PFN_SetLayeredWindowAttributes>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")));

    SetRegistryKey(L"Orvane's Tools");

    // Where the notes live decides the name of every file below: beside the
    // program, or in the user's own folder when the program's folder cannot
    // be written.
    const notesplace::Place place = notesfolder::Settle();

    // Settings and notes live under paths that the profile functions and
    // the file dialogs take whole. A cut path would
    // send them to some other file, so a folder that deep is refused.
    if (!InitParaFile() || notesfile::StoragePath().empty() ||
        notesfile::BackupPath(notesfile::StoragePath()).size() + 5 >= MAX_PATH) {
        ::MessageBoxW(nullptr,
                      L"抱歉，Jotstack 所在文件夹的路径太长（超过 260 个字符），"
                      L"无法在这里保存设置和笔记。\r\n\r\n请把 Jotstack 移到路径较短的文件夹后再启动。",
                      m_strAppName.c_str(), MB_OK | MB_ICONSTOP);
        return false;
    }
    // A copy that Windows redirected an older Jotstack's saves to is offered
    // before the notes are read.
    notesfolder::OfferVirtualStoreCopy(nullptr);
    g_paraBlock.Load();
    CJotstackView::LoadFontSettings();

    // Let file drops and the second-instance notice through the message
    // filter from processes with lower rights.
    if (HMODULE user32 = ::LoadLibraryW(L"user32.dll")) {
        using Filter = BOOL(WINAPI*)(UINT, DWORD);
        if (auto filter = reinterpret_cast<Filter>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilter")))) {
            filter(WM_DROPFILES, 1);
            filter(WM_COPYDATA, 1);
            filter(0x0049 /* WM_COPYGLOBALDATA */, 1);
        }
        ::FreeLibrary(user32);
    }

    AddDocTemplate(new CDocTemplate(
        IDR_JOTSTACK_PAGE, [] { return new CJotstackDoc; }, [] { return new CChildFrame; },
        [] { return new CJotstackView; }));

    auto* frame = new CMainFrame;
    bool deleted = false;
    frame->m_pDeletedFlag = &deleted;
    bool created = frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr);
    if (deleted)
        return false;
    frame->m_pDeletedFlag = nullptr;
    if (!created) {
        delete frame;
        return false;
    }
    m_pMainWnd = frame;

    if (notesfile::PrepareStorageFile(notesfile::StoragePath()) != notesfile::Prepared::Ok) {
        ::MessageBoxW(frame->m_hWnd, L"抱歉，不能创建记录文件。", m_strAppName.c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    OnFileNew();
    CJotstackView* view = frame->GetActiveNoteView();
    CJotstackDoc* doc = view ? view->GetDocument() : nullptr;
    if (!doc)
        return false;
    frame->AttachNotes(doc);
    if (!doc->LoadNotes()) {
        // Going on with an empty notebook would let the next save push the
        // real notes out of the backup.
        ::MessageBoxW(frame->m_hWnd, L"抱歉，不能读取记录文件。", m_strAppName.c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    frame->RestorePages();

    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    PumpMessages();

    frame->ApplyTransparency();

    if (!m_bTrayIcon) {
        for (int attempt = 0; attempt < 30; ++attempt) {
            PumpMessages();
            if (frame->AddTrayIcon()) {
                m_bTrayIcon = 1;
                break;
            }
            PumpMessages();
            ::Sleep(200);
        }
    }
    if (m_bTrayIcon) {
        PumpMessages();
        frame->ShowWindow(SW_HIDE);
        PumpMessages();
    }
    notesfolder::TellPlaceOnce(frame->m_hWnd, place);
    // Notes that the last logoff could not save went elsewhere: say where.
    emergency::TellAboutCopies(frame->m_hWnd, notesfile::StoragePath());
    if (g_paraBlock.GetPara(PARA_FLOAT_WND_SHOW))
        frame->ShowFloatWindow();
    if (g_paraBlock.GetPara(PARA_CLOCK_SHOW))
        frame->ShowClock();
    return true;
}

int CJotstackApp::ExitInstance()
{
    ::OleUninitialize();
    return CSingleInstanceApp::ExitInstance();
}

bool CJotstackApp::HandleCommand(CmdRequest& req)
{
    switch (req.id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
        return req.Run([] {});
    case ID_APP_ABOUT:
        return req.Run([] {
            CAboutDlg dlg;
            dlg.DoModal();
        });
    }
    return CSingleInstanceApp::HandleCommand(req);
}
