#include "tests/e2e/jotstack_process.h"

#include <shellapi.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr UINT kSelectAndNotify = WM_USER + 16;
constexpr UINT kGetItemCount = WM_USER + 17;
constexpr UINT kGetCurSel = WM_USER + 18;

}  // namespace

void PumpMessagesFor(DWORD ms)
{
    DWORD end = ::GetTickCount() + ms;
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

// A program path from the environment; a Unix path is mapped to Wine's Z: drive.
static std::wstring WindowsPathFromEnvironment(const char* name)
{
    const char* env = std::getenv(name);
    std::string path = env ? env : "";
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide[0] == L'/') {
        for (wchar_t& c : wide)
            if (c == L'/')
                c = L'\\';
        wide = L"Z:" + wide;
    }
    return wide;
}

std::wstring JotstackUnderTest()
{
    return WindowsPathFromEnvironment("JOTSTACK_EXE");
}

std::wstring JotstackX86UnderTest()
{
    return WindowsPathFromEnvironment("JOTSTACK_EXE_X86");
}

std::wstring ReadWindowText(HWND hwnd)
{
    LRESULT len = ::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = ::SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(len + 1),
                                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::wstring TextInLines(size_t n, wchar_t c)
{
    std::wstring text;
    text.reserve(n + n / 39);
    while (text.size() < n) {
        text.append(78, c);
        text += L"\r\n";
    }
    text.resize(n);
    if (!text.empty() && text.back() == L'\r')
        text.back() = c;   // no half line end
    return text;
}

std::wstring ReadIni(const std::wstring& ini, const wchar_t* section, const wchar_t* key)
{
    wchar_t buf[1024] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", buf, 1024, ini.c_str());
    return buf;
}

JotstackProcess::JotstackProcess(const ScratchDir& dir) : JotstackProcess(dir.Path()) {}

JotstackProcess::JotstackProcess(const std::wstring& dir) : JotstackProcess(dir, JotstackUnderTest()) {}

JotstackProcess::JotstackProcess(const std::wstring& dir, const std::wstring& exe) : m_dir(dir)
{
    m_exe = m_dir + L"\\Jotstack.exe";
    ::CopyFileW(exe.c_str(), m_exe.c_str(), FALSE);
}

JotstackProcess::~JotstackProcess()
{
    if (IsRunning())
        Kill();
    if (m_pi.hProcess)
        ::CloseHandle(m_pi.hProcess);
    if (m_pi.hThread)
        ::CloseHandle(m_pi.hThread);
}

bool JotstackProcess::Start(DWORD timeoutMs)
{
    return Launch() && WaitUntilInTray(timeoutMs);
}

bool JotstackProcess::Launch()
{
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring cmd = L"\"" + m_exe + L"\"";
    return ::CreateProcessW(m_exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, m_dir.c_str(),
                            &si, &m_pi) != FALSE;
}

bool JotstackProcess::WaitUntilInTray(DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        if (!IsRunning())
            return false;
        if (!m_main)
            m_main = FindMainWindow();
        if (m_main && !::IsWindowVisible(m_main) && TrayIconExists() && PageCount() > 0)
            return true;
        PumpMessagesFor(50);
    }
    // Says which part of a start did not come, for the test log.
    std::fprintf(stderr, "Jotstack start timed out: main window %s, %s, tray icon %s, %d pages\n",
                 m_main ? "found" : "missing",
                 m_main && ::IsWindowVisible(m_main) ? "visible" : "hidden",
                 TrayIconExists() ? "present" : "missing", PageCount());
    return false;
}

int JotstackProcess::RunSecondCopy(DWORD timeoutMs)
{
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + m_exe + L"\"";
    if (!::CreateProcessW(m_exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          m_dir.c_str(), &si, &pi))
        return -2;
    int result = -1;
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        if (::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(pi.hProcess, &code);
            result = static_cast<int>(code);
            break;
        }
        PumpMessagesFor(0);
    }
    if (result == -1)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return result;
}

bool JotstackProcess::WaitForExit(DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        if (::WaitForSingleObject(m_pi.hProcess, 50) == WAIT_OBJECT_0)
            return true;
        PumpMessagesFor(0);
    }
    return false;
}

void JotstackProcess::Kill()
{
    ::TerminateProcess(m_pi.hProcess, 9);
    ::WaitForSingleObject(m_pi.hProcess, 10000);
}

bool JotstackProcess::IsRunning() const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD JotstackProcess::ExitCode() const
{
    DWORD code = 0;
    ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

namespace {

struct MainSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<MainSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[256] = {};
    ::GetClassNameW(hwnd, cls, 256);
    if (pid == s->pid && wcsncmp(cls, L"Jotstack:", 9) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct OwnSearch {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<OwnSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !::IsWindowVisible(hwnd))
        return TRUE;
    wchar_t cls[256] = {};
    ::GetClassNameW(hwnd, cls, 256);
    if (wcscmp(cls, s->cls) != 0)
        return TRUE;
    if (s->title && ReadWindowText(hwnd) != s->title)
        return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace

HWND JotstackProcess::FindMainWindow() const
{
    MainSearch s{m_pi.dwProcessId, nullptr};
    ::EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND JotstackProcess::FindOwnWindow(const wchar_t* className, const wchar_t* title) const
{
    return FindProcessWindow(m_pi.dwProcessId, className, title);
}

HWND JotstackProcess::WaitForOwnWindow(const wchar_t* className, const wchar_t* title,
                                       DWORD timeoutMs) const
{
    return WaitForProcessWindow(m_pi.dwProcessId, className, title, timeoutMs);
}

HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title)
{
    OwnSearch s{pid, className, title, nullptr};
    ::EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitForProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        if (HWND hwnd = FindProcessWindow(pid, className, title))
            return hwnd;
        PumpMessagesFor(50);
    }
    return nullptr;
}

HWND JotstackProcess::MdiClient() const
{
    return ::FindWindowExW(m_main, nullptr, L"MDIClient", nullptr);
}

HWND JotstackProcess::TabStrip() const
{
    HWND bar = ::FindWindowExW(m_main, nullptr, L"msctls_statusbar32", nullptr);
    return bar ? ::FindWindowExW(bar, nullptr, L"CCustomTabCtrl", nullptr) : nullptr;
}

HWND JotstackProcess::ActiveChild() const
{
    HWND client = MdiClient();
    return client ? reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

HWND JotstackProcess::ActiveEdit() const
{
    HWND child = ActiveChild();
    return child ? ::FindWindowExW(child, nullptr, L"Edit", nullptr) : nullptr;
}

bool JotstackProcess::TrayIconExists() const
{
    // Modifying an icon succeeds only when the icon (window and id) exists.
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = m_main;
    nid.uID = 130;
    nid.uFlags = 0;
    return m_main && ::Shell_NotifyIconW(NIM_MODIFY, &nid);
}

int JotstackProcess::PageCount() const
{
    HWND strip = TabStrip();
    const int tabs = strip ? static_cast<int>(::SendMessageW(strip, kGetItemCount, 0, 0)) : 0;
    // A build whose strip does not answer (the benchmarks time older ones
    // too) had a window for every page.
    return tabs > 0 ? tabs : PageWindowCount();
}

int JotstackProcess::CurrentTab() const
{
    HWND strip = TabStrip();
    return strip ? static_cast<int>(::SendMessageW(strip, kGetCurSel, 0, 0)) : -1;
}

int JotstackProcess::PageWindowCount() const
{
    HWND client = MdiClient();
    int count = 0;
    for (HWND child = client ? ::GetWindow(client, GW_CHILD) : nullptr; child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        ::GetClassNameW(child, cls, 64);
        if (wcscmp(cls, L"JotstackMDIChild") == 0)
            ++count;
    }
    return count;
}

void JotstackProcess::SelectTab(int index) const
{
    ::SendMessageW(TabStrip(), kSelectAndNotify, static_cast<WPARAM>(index), 0);
}

std::vector<VisiblePage> JotstackProcess::Pages() const
{
    std::vector<VisiblePage> pages;
    const int count = PageCount();
    for (int i = 0; i < count; ++i) {
        SelectTab(i);
        HWND child = ActiveChild();
        HWND edit = ActiveEdit();
        pages.push_back({ReadWindowText(child), edit ? ReadWindowText(edit) : L"<no edit>"});
    }
    return pages;
}

void JotstackProcess::TypeIntoCurrentPage(const std::wstring& text) const
{
    HWND edit = ActiveEdit();
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
}

void JotstackProcess::Command(UINT id) const
{
    ::SendMessageW(m_main, WM_COMMAND, id, 0);
}

void JotstackProcess::PostCommand(UINT id) const
{
    ::PostMessageW(m_main, WM_COMMAND, id, 0);
}

size_t JotstackProcess::PrivateBytes() const
{
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    if (!m_pi.hProcess ||
        !::GetProcessMemoryInfo(m_pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                                sizeof(pmc)))
        return 0;
    // Wine leaves PrivateUsage at 0; the page-file usage is the same commit
    // charge of private memory.
    return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

const std::wstring kStorageSeparator = L"\f\f\f\f\a\a\a\a\b\b\b\b";

Notebook ManyPages(int count)
{
    Notebook pages;
    pages.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        pages.push_back({L"页" + std::to_wstring(i), L"第" + std::to_wstring(i) + L"页的笔记\r\nsecond line"});
    return pages;
}

std::string StorageBytes(const Notebook& pages)
{
    std::wstring text;
    for (const auto& [name, body] : pages)
        text += kStorageSeparator + name + L"\r\n" + body;
    return Utf16Bytes(text);
}
