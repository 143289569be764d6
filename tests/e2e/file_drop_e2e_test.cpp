// Files dragged from X programs onto a page. Under Wine such a drag arrives
// through the X server: from a Linux file manager by the XDND protocol (Wine
// passes it to the page's OLE drop target), from older X programs by the
// OffiX protocol (Wine posts WM_DROPFILES to the top-level window). A small
// Python program (helpers/x_file_drop.py) plays the drag source on our X
// display.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/jotstack_process.h"

namespace {

// The Unix path Wine gives a Windows path (empty when it has none).
std::string UnixPath(const std::wstring& path)
{
    using ToUnix = char*(CDECL*)(const wchar_t*);
    static const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* unix = toUnix(path.c_str());
    if (!unix) return {};
    std::string result(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

std::wstring Wide(const std::string& utf8)
{
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

// Runs the drag source ("xdnd" or "offix") on the X display and waits for
// its report (Wine starts a Unix program without a handle to wait on). Its
// exit code: 0 when the drop was taken (or sent, for OffiX); -1 when it
// could not be started or did not finish.
int XFileDrop(const ScratchDir& dir, const wchar_t* protocol, POINT at, const std::vector<std::wstring>& files)
{
    const std::wstring result = dir.File(L"drop-result.txt");
    ::DeleteFileW(result.c_str());
    std::wstring cmd = L"Z:\\usr\\bin\\python3 " + Wide(JOT_X_FILE_DROP_SCRIPT) + L" \"" + Wide(UnixPath(result)) +
                       L"\" " + protocol + L" " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y);
    for (const std::wstring& f : files) cmd += L" \"" + Wide(UnixPath(f)) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    if (pi.hThread) ::CloseHandle(pi.hThread);
    if (pi.hProcess) ::CloseHandle(pi.hProcess);
    for (int i = 0; i < 200 && !FileExists(result); ++i) ::Sleep(100);
    const std::string report = ReadBytes(result);
    if (report.empty()) return -1;
    std::printf("%s", report.c_str());
    return std::atoi(report.c_str());
}

bool MakeShortcut(const std::wstring& shortcut, const std::wstring& target)
{
    bool saved = false;
    ::CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)))) {
        link->SetPath(target.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            saved = SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
            file->Release();
        }
        link->Release();
    }
    ::CoUninitialize();
    return saved;
}

// Screen position of a character of a page.
POINT CharPoint(HWND edit, int index)
{
    const LRESULT pos = ::SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    POINT p{static_cast<short>(LOWORD(pos)) + 2, static_cast<short>(HIWORD(pos)) + 4};
    ::ClientToScreen(edit, &p);
    return p;
}

class XFileDropE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (JotstackUnderTest().empty()) GTEST_SKIP() << "JOTSTACK_EXE is not set";
        if (UnixPath(m_dir.Path()).empty()) GTEST_SKIP() << "not running under Wine";
        if (!FileExists(L"Z:\\usr\\lib\\python3\\dist-packages\\Xlib\\__init__.py"))
            GTEST_SKIP() << "python3-xlib is missing (scripts/install-deps.sh installs it)";
    }

    // Shows the main window with text in the current page.
    void OpenWithText(JotstackProcess& app, const std::wstring& text)
    {
        ASSERT_TRUE(app.Start());
        app.Command(ID_SHOW_MAIN_WINDOW);
        ::Sleep(300);
        app.TypeIntoCurrentPage(text);
        ::Sleep(200);
    }

    ScratchDir m_dir;
};

}  // namespace

// Two files and a shortcut dragged from the file manager onto the first
// line: their paths become lines below it, the shortcut as its target.
TEST_F(XFileDropE2E, FilesFromAFileManagerBecomeTheirPathsBelowThePointerLine)
{
    const std::wstring target = m_dir.File(L"目标 文件.txt");
    const std::wstring other = m_dir.File(L"plan#2.txt");
    const std::wstring shortcut = m_dir.File(L"link.lnk");
    ASSERT_TRUE(WriteBytes(target, "x"));
    ASSERT_TRUE(WriteBytes(other, "y"));
    ASSERT_TRUE(MakeShortcut(shortcut, target));

    JotstackProcess app(m_dir);
    OpenWithText(app, L"line one\r\nline two");

    EXPECT_EQ(XFileDrop(m_dir, L"xdnd", CharPoint(app.ActiveEdit(), 2), {target, other, shortcut}), 0);
    ::Sleep(300);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()),
              L"line one\r\n" + target + L"\r\n" + other + L"\r\n" + target + L"\r\nline two");
    // One undo takes the whole drop back.
    ::SendMessageW(app.ActiveEdit(), EM_UNDO, 0, 0);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"line one\r\nline two");
}

// An older X program drops its files on the main window as a whole (Wine
// posts WM_DROPFILES to the frame, without a drop point): they still reach
// the current page, below the line under the pointer.
TEST_F(XFileDropE2E, FilesFromAnOlderXProgramReachThePageUnderThePointer)
{
    const std::wstring first = m_dir.File(L"旧程序.txt");
    const std::wstring shortcut = m_dir.File(L"short cut.lnk");
    ASSERT_TRUE(WriteBytes(first, "x"));
    ASSERT_TRUE(MakeShortcut(shortcut, first));

    JotstackProcess app(m_dir);
    OpenWithText(app, L"one\r\ntwo\r\nthree");
    const int sent = XFileDrop(m_dir, L"offix", CharPoint(app.ActiveEdit(), 6), {first, shortcut});
    if (sent == 5)
        GTEST_SKIP() << "Wine takes OffiX drops only on a display without a window manager";
    EXPECT_EQ(sent, 0);
    std::wstring text;
    for (int i = 0; i < 30 && (text = ReadWindowText(app.ActiveEdit())) == L"one\r\ntwo\r\nthree"; ++i) ::Sleep(100);
    EXPECT_EQ(text, L"one\r\ntwo\r\n" + first + L"\r\n" + first + L"\r\nthree");
    EXPECT_TRUE(app.IsRunning());
}

// The same drag onto the floating drop window: the paths are appended to the
// current page while the main window stays in the tray.
TEST_F(XFileDropE2E, FilesFromAFileManagerOnTheFloatingWindowGoToTheEndOfThePage)
{
    const std::wstring file = m_dir.File(L"报告.txt");
    ASSERT_TRUE(WriteBytes(file, "x"));
    for (const auto& [key, value] : {std::pair{L"PARA_FLOAT_WND_SHOW", L"1"}, std::pair{L"PARA_FLOAT_WND_X", L"300"},
                                     std::pair{L"PARA_FLOAT_WND_Y", L"200"}}) {
        ::WritePrivateProfileStringW(L"ParaBlock", key, value, m_dir.File(L"Jotstack.ini").c_str());
    }
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.TypeIntoCurrentPage(L"notes");
    HWND floating = app.WaitForOwnWindow(L"#32770", nullptr, 5000);
    ASSERT_TRUE(floating != nullptr);

    EXPECT_EQ(XFileDrop(m_dir, L"xdnd", POINT{320, 220}, {file}), 0);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"notes\r\n" + file + L"\r\n");
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));
}

// In a notebook of ten thousand pages, onto a page shown for the first time
// just before: the drop lands on that page, and the save holds it there.
TEST_F(XFileDropE2E, FilesDroppedOnAPageOfTenThousandNeverShownBefore)
{
    const std::wstring file = m_dir.File(L"附件.txt");
    ASSERT_TRUE(WriteBytes(file, "x"));
    Notebook pages = ManyPages(10000);
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes(pages)));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    app.Command(ID_SHOW_MAIN_WINDOW);
    ::Sleep(300);
    app.SelectTab(9876);
    ::Sleep(300);
    EXPECT_EQ(XFileDrop(m_dir, L"xdnd", CharPoint(app.ActiveEdit(), 2), {file}), 0);
    ::Sleep(300);
    const std::wstring expected = L"第9876页的笔记\r\n" + file + L"\r\nsecond line";
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), expected);
    app.Command(ID_FILE_SAVE);
    pages[9876].second = expected;
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes(pages));
}
