// jotdrive: pokes a running Jotstack from outside, for the scripts that take
// the user guide's screenshots. Each call does one thing and ends:
//
//   jotdrive command ID         post menu command ID to the main window
//   jotdrive traymenu           open the notification-area menu
//   jotdrive menu LETTER        open the menu-bar menu with that access key
//   jotdrive escape             press Esc in the program (closes an open menu)
//   jotdrive type TEXT          replace the current page's text
//   jotdrive wait TITLE [MS]    wait until a window with that title exists
//   jotdrive close TITLE        close the window with that title (Cancel)
//   jotdrive move TITLE X Y     move the window with that title
//   jotdrive click TITLE ID     click button ID of the dialog with that title
//   jotdrive ok TITLE           confirm the dialog with that title (OK)
//   jotdrive list               list the top-level windows
//
// Exit status 0 on success, 1 when the window was not found, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    if (::FindWindowExW(hwnd, nullptr, L"MDIClient", nullptr)) {
        wchar_t text[256] = {};
        ::GetWindowTextW(hwnd, text, 256);
        if (std::wcsstr(text, L"Jotstack")) {
            s->found = hwnd;
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CALLBACK FindTitled(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    if (std::wcscmp(text, s->title) == 0 && ::IsWindowVisible(hwnd)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ListOne(HWND hwnd, LPARAM)
{
    wchar_t text[256] = {}, cls[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    ::GetClassNameW(hwnd, cls, 256);
    char utf8[1024] = {};
    std::wstring line = std::wstring(cls) + L" | " + text;
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("%p %d %s\n", static_cast<void*>(hwnd), ::IsWindowVisible(hwnd) ? 1 : 0, utf8);
    return TRUE;
}

HWND MainWindow()
{
    Search s{nullptr, nullptr};
    ::EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND Titled(const std::wstring& title)
{
    Search s{title.c_str(), nullptr};
    ::EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring Wide(const wchar_t* arg)
{
    return arg;
}

int ToInt(const wchar_t* arg)
{
    return static_cast<int>(std::wcstol(arg, nullptr, 10));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    std::wstring verb = argv[1];
    if (verb == L"wait" && argc >= 3) {
        std::wstring title = Wide(argv[2]);
        DWORD ms = argc >= 4 ? static_cast<DWORD>(ToInt(argv[3])) : 10000;
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < ms) {
            if (Titled(title))
                return 0;
            ::Sleep(100);
        }
        return 1;
    }
    if (verb == L"list") {
        ::EnumWindows(ListOne, 0);
        return 0;
    }
    if (verb == L"close" && argc >= 3) {
        HWND w = Titled(Wide(argv[2]));
        if (!w)
            return 1;
        ::PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    if ((verb == L"click" && argc >= 4) || (verb == L"ok" && argc >= 3)) {
        HWND w = Titled(Wide(argv[2]));
        if (!w)
            return 1;
        if (verb == L"ok") {
            ::PostMessageW(w, WM_COMMAND, IDOK, 0);
            return 0;
        }
        HWND item = ::GetDlgItem(w, ToInt(argv[3]));
        if (!item)
            return 1;
        ::SendMessageW(item, BM_CLICK, 0, 0);
        return 0;
    }
    if (verb == L"move" && argc >= 5) {
        HWND w = Titled(Wide(argv[2]));
        if (!w)
            return 1;
        ::SetWindowPos(w, nullptr, ToInt(argv[3]), ToInt(argv[4]), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER);
        return 0;
    }
    HWND main = MainWindow();
    if (!main)
        return 1;
    if (verb == L"command" && argc >= 3) {
        ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(ToInt(argv[2])), 0);
        return 0;
    }
    if (verb == L"menu" && argc >= 3) {
        // As if Alt and the menu's underlined letter were pressed.
        ::SetForegroundWindow(main);
        ::PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(argv[2][0]));
        return 0;
    }
    if (verb == L"traymenu") {
        ::PostMessageW(main, WM_USER + 10, 130, WM_RBUTTONUP);
        return 0;
    }
    if (verb == L"escape") {
        // Into the program's queue, where an open menu's loop reads its keys
        // (a key from the X server goes to whichever window has the focus).
        ::PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 1);
        ::PostMessageW(main, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        return 0;
    }
    if (verb == L"type" && argc >= 3) {
        HWND client = ::FindWindowExW(main, nullptr, L"MDIClient", nullptr);
        HWND child = client ? reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
        HWND edit = child ? ::FindWindowExW(child, nullptr, L"Edit", nullptr) : nullptr;
        if (!edit)
            return 1;
        std::wstring text = Wide(argv[2]);
        std::wstring crlf;
        for (wchar_t c : text) {
            if (c == L'\n')
                crlf += L'\r';
            crlf += c;
        }
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(crlf.c_str()));
        ::SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
        return 0;
    }
    return 2;
}
