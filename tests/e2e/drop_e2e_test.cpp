// Real drops on the real program: a helper process offers data through OLE
// drag and drop (as a browser or the shell does) and drops it on a page or
// on the floating drop window; the checks read the page afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "res/resource.h"
#include "tests/e2e/jotstack_process.h"
#include "tests/e2e/x_input.h"

namespace {

// Moves the cursor and waits until Wine reports it there and it stays: the
// X server's answer to the warp can come late and set an older position
// again, and the program reads the position the moment it handles a move.
void PlaceCursor(int x, int y)
{
    for (int i = 0; i < 20; ++i) {
        ::SetCursorPos(x, y);
        ::Sleep(50);
        POINT now{};
        ::GetCursorPos(&now);
        if (now.x == x && now.y == y) {
            ::Sleep(100);
            ::GetCursorPos(&now);
            if (now.x == x && now.y == y)
                return;
        }
    }
}

std::string Utf8(const std::wstring& w)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring HelperPath()
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    return dir + L"jot_drag_helper.exe";
}

// Starts the helper; it ends when its drop is over.
class DragHelper {
public:
    explicit DragHelper(const std::wstring& args)
    {
        std::wstring cmd = L"\"" + HelperPath() + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        m_ok = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != FALSE;
    }
    ~DragHelper()
    {
        if (!m_ok) return;
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_pi.hProcess, 3);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }
    // The helper's exit code (0: the drop was taken), -1 on timeout.
    int Wait(DWORD ms = 20000)
    {
        if (!m_ok || ::WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(m_pi.hProcess, &code);
        return static_cast<int>(code);
    }

private:
    bool m_ok = false;
    PROCESS_INFORMATION m_pi{};
};

std::wstring Point(POINT p) { return std::to_wstring(p.x) + L" " + std::to_wstring(p.y); }

std::wstring Quote(const std::wstring& s) { return L"\"" + s + L"\""; }

const char kClipboard[] =
    "Version:0.9\r\nStartHTML:00000000\r\nEndHTML:00000000\r\nStartFragment:00000000\r\nEndFragment:00000000\r\n"
    "SourceURL:http://news.example.com/section/today.html\r\n"
    "<html><body>\r\n<!--StartFragment--><ul><li><a href=\"story1.html\">First <b>story</b></a>"
    "<li><a href=\"/about#team\">关于我们</a><li><a href=\"https://other.example.org/x?q=1\">Other</a></ul>"
    "<!--EndFragment-->\r\n</body>\r\n</html>";

class DropE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (JotstackUnderTest().empty()) GTEST_SKIP() << "JOTSTACK_EXE is not set";
        WriteBytes(m_dir.File(L"clip.html"), kClipboard);
    }

    void Settings(const wchar_t* key, int value)
    {
        ::WritePrivateProfileStringW(L"ParaBlock", key, std::to_wstring(value).c_str(), m_dir.File(L"Jotstack.ini").c_str());
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

    // Screen position of a character of the current page.
    static POINT CharPoint(HWND edit, int index)
    {
        const LRESULT pos = ::SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        POINT p{static_cast<short>(LOWORD(pos)) + 2, static_cast<short>(HIWORD(pos)) + 4};
        ::ClientToScreen(edit, &p);
        return p;
    }

    static std::wstring PageText(const JotstackProcess& app) { return ReadWindowText(app.ActiveEdit()); }

    ScratchDir m_dir;
};

}  // namespace

TEST_F(DropE2E, TextDroppedOnAPageBecomesTheLineBelowThePointer)
{
    JotstackProcess app(m_dir);
    OpenWithText(app, L"line one\r\nline two\r\nline three");
    DragHelper drag(L"text " + Point(CharPoint(app.ActiveEdit(), 2)) + L" " + Quote(L"dropped 文字"));
    EXPECT_EQ(drag.Wait(), 0);
    EXPECT_EQ(PageText(app), L"line one\r\ndropped 文字\r\nline two\r\nline three");
    // The inserted line is selected.
    DWORD s = 0, e = 0;
    ::SendMessageW(app.ActiveEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    EXPECT_EQ(s, 10u);
    EXPECT_EQ(e, 10u + 12u);
}

TEST_F(DropE2E, PagesStillTakeDropsAfterWordWrapIsToggled)
{
    JotstackProcess app(m_dir);
    OpenWithText(app, L"line one\r\nline two\r\nline three");
    // Word wrap replaces the page's edit control; the new one must take drops.
    app.Command(ID_WORD_WRAP);
    ::Sleep(300);
    DragHelper drag(L"text " + Point(CharPoint(app.ActiveEdit(), 2)) + L" " + Quote(L"after wrap"));
    EXPECT_EQ(drag.Wait(), 0);
    EXPECT_EQ(PageText(app), L"line one\r\nafter wrap\r\nline two\r\nline three");
}

TEST_F(DropE2E, AnsiTextOnTheLastLineGoesInAtThePointer)
{
    JotstackProcess app(m_dir);
    OpenWithText(app, L"first\r\nlast");
    DragHelper drag(L"ansi " + Point(CharPoint(app.ActiveEdit(), 9)) + L" plain");
    EXPECT_EQ(drag.Wait(), 0);
    EXPECT_EQ(PageText(app), L"first\r\nlaplain\r\nst");
}

TEST_F(DropE2E, BrowserDropGivesLinksTextWithLinksOrRawHtml)
{
    Settings(L"PARA_ASK_HTML", 1);
    Settings(L"PARA_HTML_SEL", 0);
    JotstackProcess app(m_dir);
    OpenWithText(app, L"top\r\nbottom");
    const DWORD t0 = ::GetTickCount();
    DragHelper drop0(L"html " + Point(CharPoint(app.ActiveEdit(), 1)) + L" " + Quote(m_dir.File(L"clip.html")));
    EXPECT_EQ(drop0.Wait(), 0);
    std::printf("browser drop (helper start to drop done): %lu ms\n", static_cast<unsigned long>(::GetTickCount() - t0));
    EXPECT_EQ(PageText(app),
              L"top\r\nhttp://news.example.com/section/story1.html\r\nhttp://news.example.com/about#team\r\n"
              L"https://other.example.org/x?q=1\r\nbottom");
    app.Kill();

    Settings(L"PARA_HTML_SEL", 2);
    Settings(L"PARA_HTML_ADD_BLANK", 1);
    JotstackProcess app2(m_dir);
    OpenWithText(app2, L"top\r\nbottom");
    DragHelper drop2(L"html " + Point(CharPoint(app2.ActiveEdit(), 1)) + L" " + Quote(m_dir.File(L"clip.html")));
    EXPECT_EQ(drop2.Wait(), 0);
    EXPECT_EQ(PageText(app2),
              L"top\r\n\r\nFirst story\thttp://news.example.com/section/story1.html\r\n"
              L"关于我们\thttp://news.example.com/about#team\r\nOther\thttps://other.example.org/x?q=1\r\nbottom");
    app2.Kill();

    Settings(L"PARA_HTML_SEL", 3);
    Settings(L"PARA_HTML_ADD_BLANK", 0);
    JotstackProcess app3(m_dir);
    OpenWithText(app3, L"top\r\nbottom");
    DragHelper drop3(L"html " + Point(CharPoint(app3.ActiveEdit(), 1)) + L" " + Quote(m_dir.File(L"clip.html")));
    EXPECT_EQ(drop3.Wait(), 0);
    std::string expected = std::string("top\r\n") + kClipboard + "bottom";
    EXPECT_EQ(Utf8(PageText(app3)), expected);
}

// A 200 KB selection with 2,000 links: all of them arrive. The helper
// prints how long the drop took (drop_ms); speed is watched there, not
// asserted.
TEST_F(DropE2E, LargeBrowserDropArrivesWhole)
{
    std::string clip = "Version:0.9\r\nSourceURL:https://news.example.com/index.html\r\n<html><body><ul>";
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        clip += "<li><a href=\"/articles/story-" + n + ".html?from=list&amp;n=" + n + "\">Story " + n +
                " about <b>news</b> today</a> <span>comments " + n + "</span></li>\n";
    }
    clip += "</ul></body></html>";
    WriteBytes(m_dir.File(L"big.html"), clip);
    Settings(L"PARA_ASK_HTML", 1);
    Settings(L"PARA_HTML_SEL", 2);
    JotstackProcess app(m_dir);
    OpenWithText(app, L"x");
    DragHelper drag(L"html " + Point(CharPoint(app.ActiveEdit(), 0)) + L" " + Quote(m_dir.File(L"big.html")));
    EXPECT_EQ(drag.Wait(), 0);
    const std::wstring text = PageText(app);
    size_t lines = 0;
    for (size_t p = text.find(L"\r\n"); p != std::wstring::npos; p = text.find(L"\r\n", p + 2)) ++lines;
    EXPECT_EQ(lines, 2000u);
    EXPECT_NE(text.find(L"Story 1999 about news today\thttps://news.example.com/articles/story-1999.html?from=list&n=1999\r\n"),
              std::wstring::npos);
}

TEST_F(DropE2E, AskingDialogCancelInsertsNothingAndDoNotAskSticks)
{
    Settings(L"PARA_ASK_HTML", 0);
    JotstackProcess app(m_dir);
    OpenWithText(app, L"keep\r\nend");
    {
        DragHelper drag(L"html " + Point(CharPoint(app.ActiveEdit(), 1)) + L" " + Quote(m_dir.File(L"clip.html")));
        HWND dlg = app.WaitForOwnWindow(L"#32770", L"IE拖拽", 10000);
        ASSERT_TRUE(dlg != nullptr);
        ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
        drag.Wait();
        EXPECT_EQ(PageText(app), L"keep\r\nend");
    }
    {
        DragHelper drag(L"html " + Point(CharPoint(app.ActiveEdit(), 1)) + L" " + Quote(m_dir.File(L"clip.html")));
        HWND dlg = app.WaitForOwnWindow(L"#32770", L"IE拖拽", 10000);
        ASSERT_TRUE(dlg != nullptr);
        ::SendMessageW(::GetDlgItem(dlg, IDC_HTML_URL), BM_SETCHECK, BST_UNCHECKED, 0);
        ::SendMessageW(::GetDlgItem(dlg, IDC_HTML_TEXT_URL), BM_SETCHECK, BST_CHECKED, 0);
        ::SendMessageW(::GetDlgItem(dlg, IDC_ASK_HTML), BM_SETCHECK, BST_CHECKED, 0);
        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(drag.Wait(), 0);
        EXPECT_EQ(PageText(app), L"keep\r\nFirst story\thttp://news.example.com/section/story1.html\r\n"
                                 L"关于我们\thttp://news.example.com/about#team\r\nOther\thttps://other.example.org/x?q=1\r\nend");
    }
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_ASK_HTML"), L"1");
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_HTML_SEL"), L"2");
}

TEST_F(DropE2E, FloatingWindowAppendsDropsToTheCurrentPage)
{
    Settings(L"PARA_FLOAT_WND_SHOW", 1);
    Settings(L"PARA_FLOAT_WND_X", 300);
    Settings(L"PARA_FLOAT_WND_Y", 200);
    Settings(L"PARA_ASK_HTML", 1);
    Settings(L"PARA_HTML_SEL", 0);
    // A file and a shortcut to it, dropped as the shell does.
    const std::wstring target = m_dir.File(L"目标.txt");
    WriteBytes(target, "x");
    const std::wstring shortcut = m_dir.File(L"link.lnk");
    {
        ::CoInitialize(nullptr);
        IShellLinkW* link = nullptr;
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         reinterpret_cast<void**>(&link)))) {
            link->SetPath(target.c_str());
            IPersistFile* file = nullptr;
            if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                file->Save(shortcut.c_str(), TRUE);
                file->Release();
            }
            link->Release();
        }
        ::CoUninitialize();
    }
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.TypeIntoCurrentPage(L"notes");
    HWND floating = app.WaitForOwnWindow(L"#32770", nullptr, 5000);
    ASSERT_TRUE(floating != nullptr);
    RECT rc{};
    ::GetWindowRect(floating, &rc);
    EXPECT_EQ(rc.left, 300);
    EXPECT_EQ(rc.top, 200);
    EXPECT_EQ(rc.right - rc.left, 40);
    EXPECT_TRUE(::GetWindowLongW(floating, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));
    const POINT center{rc.left + 20, rc.top + 20};

    DragHelper text(L"text " + Point(center) + L" " + Quote(L"appended"));
    EXPECT_EQ(text.Wait(), 0);
    DragHelper html(L"html " + Point(center) + L" " + Quote(m_dir.File(L"clip.html")));
    EXPECT_EQ(html.Wait(), 0);
    DragHelper files(L"files " + Point(center) + L" " + Quote(target) + L" " + Quote(shortcut));
    EXPECT_EQ(files.Wait(), 0);
    ::Sleep(500);
    EXPECT_EQ(PageText(app), L"notes\r\nappended\r\nhttp://news.example.com/section/story1.html\r\n"
                             L"http://news.example.com/about#team\r\nhttps://other.example.org/x?q=1\r\n" +
                                 target + L"\r\n" + target + L"\r\n");
    // The main window stayed in the tray all along.
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));

    // Dragging the window moves it and remembers the place.
    PlaceCursor(rc.left + 10, rc.top + 10);
    ::SendMessageW(floating, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PlaceCursor(500, 400);
    ::SendMessageW(floating, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 12));
    ::SendMessageW(floating, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
    ::GetWindowRect(floating, &rc);
    EXPECT_EQ(rc.left, 490);
    EXPECT_EQ(rc.top, 390);
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_FLOAT_WND_X"), L"490");
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_FLOAT_WND_Y"), L"390");
    // Esc (Cancel) never closes it.
    ::SendMessageW(floating, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(::IsWindow(floating));
    // A double click brings the main window back from the tray.
    ::PostMessageW(floating, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    for (int i = 0; i < 30 && !::IsWindowVisible(app.MainWindow()); ++i) ::Sleep(100);
    EXPECT_TRUE(::IsWindowVisible(app.MainWindow()));

    // Unticking "显示悬浮窗" in the settings dialog removes it.
    app.PostCommand(ID_IE_DRAG_SETTINGS);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"IE拖拽", 10000);
    ASSERT_TRUE(dlg != nullptr);
    ::SendMessageW(::GetDlgItem(dlg, IDC_FLOAT_SHOW), BM_SETCHECK, BST_UNCHECKED, 0);
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && ::IsWindow(floating); ++i) ::Sleep(100);
    EXPECT_FALSE(::IsWindow(floating));
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_FLOAT_WND_SHOW"), L"0");
}

namespace {

void MouseTo(POINT p, DWORD flags = 0)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((p.x * 65535LL + w / 2) / (w - 1));
    in.mi.dy = static_cast<LONG>((p.y * 65535LL + h / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    ::SendInput(1, &in, sizeof in);
    ::Sleep(120);
}


}  // namespace

// The user's own gesture: press on the selection, drag it down two lines,
// release. The selection moves there (one undoable edit of the page).
TEST_F(DropE2E, DraggingASelectionMovesItWithinThePage)
{
    JotstackProcess app(m_dir);
    OpenWithText(app, L"alpha beta\r\nsecond\r\nthird line");
    HWND edit = app.ActiveEdit();
    ::SetForegroundWindow(app.MainWindow());
    ::SendMessageW(edit, WM_SETFOCUS, 0, 0);
    ::PostMessageW(edit, EM_SETSEL, 0, 5);   // "alpha"
    ::Sleep(300);
    const POINT from = CharPoint(edit, 2);
    const POINT to = CharPoint(edit, 24);     // the "d" of "third line"
    MouseTo(from);
    MouseTo(from, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 6; ++i) {
        MouseTo(POINT{from.x + (to.x - from.x) * i / 6, from.y + (to.y - from.y) * i / 6});
    }
    ::Sleep(300);
    MouseTo(to, MOUSEEVENTF_LEFTUP);
    ::Sleep(800);
    EXPECT_EQ(PageText(app), L" beta\r\nsecond\r\nthiralphad line");   // dropped before the "d"
}

// Dropping a selection onto itself changes nothing; with Ctrl held the
// text is copied as a new line at the drop point instead of moved.
TEST_F(DropE2E, DroppingOnItselfDoesNothingAndCtrlCopies)
{
    JotstackProcess app(m_dir);
    OpenWithText(app, L"alpha beta\r\nsecond\r\nthird line");
    HWND edit = app.ActiveEdit();
    ::SetForegroundWindow(app.MainWindow());
    ::PostMessageW(edit, EM_SETSEL, 0, 10);   // "alpha beta"
    ::Sleep(300);
    const POINT a = CharPoint(edit, 1);
    const POINT b = CharPoint(edit, 8);
    MouseTo(a);
    MouseTo(a, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 4; ++i) MouseTo(POINT{a.x + (b.x - a.x) * i / 4, a.y});
    ::Sleep(300);
    MouseTo(b, MOUSEEVENTF_LEFTUP);
    ::Sleep(800);
    EXPECT_EQ(PageText(app), L"alpha beta\r\nsecond\r\nthird line");

    ::PostMessageW(edit, EM_SETSEL, 0, 5);   // "alpha"
    ::Sleep(300);
    const POINT to = CharPoint(edit, 24);
    // Ctrl held on the X server itself (Wine reads the keyboard state there).
    XdoTool(L"keydown ctrl");
    MouseTo(a);
    MouseTo(a, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 6; ++i) MouseTo(POINT{a.x + (to.x - a.x) * i / 6, a.y + (to.y - a.y) * i / 6});
    ::Sleep(300);
    MouseTo(to, MOUSEEVENTF_LEFTUP);
    XdoTool(L"keyup ctrl");
    ::Sleep(800);
    EXPECT_EQ(PageText(app), L"alpha beta\r\nsecond\r\nthiralpha\r\nd line");
}

namespace {

void KeyPress(WORD vk)
{
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof in[0]);
    ::Sleep(150);
}

void RightClick(POINT p)
{
    MouseTo(p);
    MouseTo(p, MOUSEEVENTF_RIGHTDOWN);
    MouseTo(p, MOUSEEVENTF_RIGHTUP);
}

// The program's visible popup menu window, or null.
HWND OpenMenu(const JotstackProcess& app, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        HWND menu = app.FindOwnWindow(L"#32768");
        if (menu && ::IsWindowVisible(menu)) return menu;
        ::Sleep(100);
    }
    return nullptr;
}

bool MenuClosed(const JotstackProcess& app)
{
    for (int i = 0; i < 30; ++i) {
        HWND menu = app.FindOwnWindow(L"#32768");
        if (!menu || !::IsWindowVisible(menu)) return true;
        ::Sleep(100);
    }
    return false;
}

}  // namespace

// A right click on the floating window opens the tray menu there: its first
// item brings the main window back, and Esc closes it without a trace.
TEST_F(DropE2E, RightClickOnTheFloatingWindowOpensTheTrayMenu)
{
    Settings(L"PARA_FLOAT_WND_SHOW", 1);
    Settings(L"PARA_FLOAT_WND_X", 300);
    Settings(L"PARA_FLOAT_WND_Y", 200);
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    HWND floating = app.WaitForOwnWindow(L"#32770", nullptr, 5000);
    ASSERT_TRUE(floating != nullptr);
    ASSERT_FALSE(::IsWindowVisible(app.MainWindow()));
    const POINT center{300 + 20, 200 + 20};

    RightClick(center);
    HWND menu = OpenMenu(app, 5000);
    ASSERT_TRUE(menu != nullptr);
    // It opens at the pointer. (Wine cannot read another process's menu,
    // so its rows are recognised by what they do.)
    RECT rc{};
    ::GetWindowRect(menu, &rc);
    EXPECT_LE(std::abs(rc.left - center.x), 2);
    EXPECT_LE(std::abs(rc.top - center.y), 2);
    // Down, Down, Enter: the second row, "关于 Jotstack...".
    KeyPress(VK_DOWN);
    KeyPress(VK_DOWN);
    KeyPress(VK_RETURN);
    EXPECT_TRUE(MenuClosed(app));
    HWND about = app.WaitForOwnWindow(L"#32770", L"About Jotstack", 5000);
    ASSERT_TRUE(about != nullptr);
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 30 && ::IsWindow(about); ++i) ::Sleep(100);
    EXPECT_FALSE(::IsWindow(about));

    // Down, Enter: the first row, "显示编辑窗口", brings the main window back.
    RightClick(center);
    ASSERT_TRUE(OpenMenu(app, 5000) != nullptr);
    KeyPress(VK_DOWN);
    KeyPress(VK_RETURN);
    EXPECT_TRUE(MenuClosed(app));
    for (int i = 0; i < 30 && !::IsWindowVisible(app.MainWindow()); ++i) ::Sleep(100);
    EXPECT_TRUE(::IsWindowVisible(app.MainWindow()));

    // Opened again and left with Esc: nothing happens, the program carries on.
    RightClick(center);
    ASSERT_TRUE(OpenMenu(app, 5000) != nullptr);
    KeyPress(VK_ESCAPE);
    EXPECT_TRUE(MenuClosed(app));
    EXPECT_TRUE(::IsWindow(floating));
    EXPECT_TRUE(::IsWindowVisible(floating));
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(app.MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer), 0);
    app.TypeIntoCurrentPage(L"still here");
    EXPECT_EQ(PageText(app), L"still here");
    EXPECT_TRUE(app.IsRunning());
}
