// Times the page editor of the real program under Wine on a page of
// 1,000,000 characters with 50,000 occurrences of the find string, side by
// side with Wine's own notepad.exe on the same text in the same run:
//   - the floor: an edit control of the page's kind taking the result text
//     in one WM_SETTEXT, word wrap off and on;
//   - Replace All, the first Find Next (which counts the matches) and a
//     following Find Next, in Jotstack and in notepad;
//   - the word-wrap toggle and the date/time insertion on that page.
// Prints one line per measurement; no pass or fail.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

#include "res/resource.h"
#include "bench/wine_timing.h"
#include "tests/e2e/jotstack_process.h"

namespace {

using winebench::Median;
using winebench::Now;

constexpr int kFindEdit = 0x0480;
constexpr int kReplaceEdit = 0x0481;
constexpr int kReplaceOne = 0x0400;
constexpr int kReplaceAll = 0x0401;

// 12,500 lines of 80 characters, four "foo" in each: 1,000,000 characters,
// 50,000 occurrences (short lines: Wine lays out one very long line slowly).
std::wstring BigPage()
{
    std::wstring line;
    for (int i = 0; i < 4; ++i)
        line += L"foo0123456789abcd";
    line += L"0123456789\r\n";
    std::wstring text;
    text.reserve(1000000);
    while (text.size() < 1000000)
        text += line;
    return text;
}

std::wstring Replaced(std::wstring text)
{
    for (size_t p = text.find(L"foo"); p != std::wstring::npos; p = text.find(L"foo", p + 3))
        text.replace(p, 3, L"bar");
    return text;
}

// The floor: an edit control like the page's taking the text in one call.
double SetTextFloor(const std::wstring& text, bool wrap)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (!wrap)
        style |= WS_HSCROLL | ES_AUTOHSCROLL;
    HWND top = ::CreateWindowExW(0, L"STATIC", L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 900, 700, nullptr, nullptr, nullptr, nullptr);
    HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, 0, 0, 880, 660, top,
                                  nullptr, nullptr, nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = 134;
    lf.lfPitchAndFamily = 2;
    lstrcpyW(lf.lfFaceName, L"宋体");
    HFONT font = ::CreateFontIndirectW(&lf);
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ::SendMessageW(edit, EM_SETLIMITTEXT, 0xFFFFF, 0);
    double t0 = Now();
    ::SetWindowTextW(edit, text.c_str());
    ::UpdateWindow(edit);
    double ms = Now() - t0;
    ::DestroyWindow(top);
    ::DeleteObject(font);
    return ms;
}

// The first item of a window's menu whose text contains one of the words.
UINT FindMenuCommand(HMENU menu, const wchar_t* a, const wchar_t* b)
{
    int n = ::GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (UINT id = FindMenuCommand(sub, a, b))
                return id;
            continue;
        }
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        if (wcsstr(text, a) || wcsstr(text, b))
            return ::GetMenuItemID(menu, i);
    }
    return 0;
}

void SetDlgText(HWND dlg, int id, const wchar_t* text)
{
    HWND ctl = ::GetDlgItem(dlg, id);
    ::SendMessageW(ctl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(ctl));
}

// Clicks a dialog button and waits until the program has handled it
// (the handler runs inside the sent message); returns the milliseconds,
// or -1 when it did not finish within the timeout.
double TimedClick(HWND dlg, int id, UINT timeoutMs)
{
    DWORD_PTR result = 0;
    double t0 = Now();
    LRESULT ok = ::SendMessageTimeoutW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)),
                                       SMTO_NORMAL, timeoutMs, &result);
    double ms = Now() - t0;
    return ok ? ms : -1.0;
}

void Jotstack(const std::wstring& page, const std::wstring& expected)
{
    ScratchDir dir;
    JotstackProcess app(dir);
    // Word wrap off, as the floor and notepad's default.
    ::WritePrivateProfileStringW(L"ParaBlock", L"PARA_WORD_WRAP", L"0", app.IniPath().c_str());
    if (!app.Start()) {
        std::printf("jotstack: did not start\n");
        return;
    }
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.TypeIntoCurrentPage(page);
    HWND edit = app.ActiveEdit();
    ::SendMessageW(edit, EM_SETSEL, 0, 0);

    app.PostCommand(ID_EDIT_REPLACE);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"替换", 10000);
    if (!dlg) {
        std::printf("jotstack: no replace dialog\n");
        return;
    }
    SetDlgText(dlg, kFindEdit, L"foo");
    SetDlgText(dlg, kReplaceEdit, L"bar");
    double first = TimedClick(dlg, IDOK, 60000);
    double next = TimedClick(dlg, IDOK, 60000);
    std::printf("jotstack: first Find Next (counts 50,000 matches): %.0f ms\n", first);
    std::printf("jotstack: next Find Next: %.0f ms\n", next);
    // Three rounds, foo -> bar -> foo -> bar, each from a fresh dialog (which
    // starts the visits over; else the round through the page completes
    // during Replace All and says so in a message box).
    std::vector<double> times;
    bool right = true;
    const wchar_t* words[] = {L"foo", L"bar"};
    for (int round = 0; round < 3; ++round) {
        ::SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
        ::SendMessageW(edit, EM_SETSEL, 0, 0);
        app.PostCommand(ID_EDIT_REPLACE);
        for (int i = 0; i < 100 && ::IsWindow(dlg); ++i)
            ::Sleep(20);
        dlg = app.WaitForOwnWindow(L"#32770", L"替换", 10000);
        if (!dlg) {
            std::printf("jotstack: no replace dialog\n");
            return;
        }
        SetDlgText(dlg, kFindEdit, words[round % 2]);
        SetDlgText(dlg, kReplaceEdit, words[(round + 1) % 2]);
        ::SendMessageW(app.MainWindow(), WM_NULL, 0, 0);
        ::Sleep(300);
        times.push_back(TimedClick(dlg, kReplaceAll, 120000));
        edit = app.ActiveEdit();
        const std::wstring& want = round % 2 ? page : expected;
        right = right && ReadWindowText(edit) == want;
    }
    std::printf("jotstack: Replace All of 50,000 (wrap off): %.0f ms (median of 3; %s)\n",
                Median(times), right ? "results checked" : "WRONG RESULT");
    ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);

    // Let the program finish what Replace All left (painting) first.
    ::SendMessageW(app.MainWindow(), WM_NULL, 0, 0);
    ::Sleep(500);
    ::SendMessageW(app.MainWindow(), WM_NULL, 0, 0);
    double t0 = Now();
    app.Command(ID_WORD_WRAP);
    std::printf("jotstack: word wrap on, 1,000,000 characters: %.0f ms\n", Now() - t0);
    t0 = Now();
    app.Command(ID_INSERT_DATE_TIME);
    std::printf("jotstack: insert date/time (wrap on): %.0f ms\n", Now() - t0);
    t0 = Now();
    app.Command(ID_WORD_WRAP);
    std::printf("jotstack: word wrap off again: %.0f ms\n", Now() - t0);
    t0 = Now();
    app.Command(ID_INSERT_DATE_TIME);
    std::printf("jotstack: insert date/time (wrap off): %.0f ms\n", Now() - t0);
    app.Kill();
}

void Notepad(const std::wstring& page)
{
    ScratchDir dir;
    std::wstring file = dir.File(L"big.txt");
    WriteBytes(file, Utf16Bytes(page));
    std::wstring cmd = L"notepad.exe \"" + file + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        std::printf("notepad: did not start\n");
        return;
    }
    HWND main = WaitForProcessWindow(pi.dwProcessId, L"Notepad", nullptr, 30000);
    HWND edit = main ? ::FindWindowExW(main, nullptr, L"Edit", nullptr) : nullptr;
    // Menus of another process cannot be read under Wine; then the id that
    // Wine's notepad gives its Replace command.
    UINT replaceCmd = main ? FindMenuCommand(::GetMenu(main), L"替换", L"Replace") : 0;
    if (!replaceCmd)
        replaceCmd = 0x122;
    if (!edit || !replaceCmd) {
        std::printf("notepad: window %p, edit %p, Replace command %u: cannot go on\n",
                    static_cast<void*>(main), static_cast<void*>(edit), replaceCmd);
        ::TerminateProcess(pi.hProcess, 0);
        return;
    }
    // Wait for the file to be in the control.
    for (int i = 0; i < 600 && ::GetWindowTextLengthW(edit) < 1000000; ++i)
        ::Sleep(100);
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    ::PostMessageW(main, WM_COMMAND, replaceCmd, 0);
    HWND dlg = WaitForProcessWindow(pi.dwProcessId, L"#32770", nullptr, 10000);
    if (!dlg) {
        std::printf("notepad: no replace dialog\n");
        ::TerminateProcess(pi.hProcess, 0);
        return;
    }
    SetDlgText(dlg, kFindEdit, L"foo");
    SetDlgText(dlg, kReplaceEdit, L"bar");
    double first = TimedClick(dlg, IDOK, 60000);
    double next = TimedClick(dlg, IDOK, 60000);
    std::printf("notepad: first Find Next: %.0f ms\n", first);
    std::printf("notepad: next Find Next: %.0f ms\n", next);
    // One at a time: each Replace replaces the selected match and finds the next.
    const int ones = 20;
    double t0 = Now();
    for (int i = 0; i < ones; ++i)
        TimedClick(dlg, kReplaceOne, 60000);
    double per = (Now() - t0) / ones;
    std::printf("notepad: one Replace: %.1f ms (x 50,000 = %.0f s)\n", per, per * 50000 / 1000);
    double all = TimedClick(dlg, kReplaceAll, 120000);
    if (all < 0)
        std::printf("notepad: Replace All did not finish within 120 s\n");
    else
        std::printf("notepad: Replace All: %.0f ms\n", all);
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "--floor-only") == 0) {
        // A page at its limit of plain letters in lines of 80.
        std::wstring full;
        while (full.size() < 1048575)
            full += std::wstring(78, L'a') + L"\r\n";
        full.resize(1048575);
        std::printf("floor: 1,048,575 letters in lines of 80, wrap off: %.0f ms\n",
                    SetTextFloor(full, false));
        std::printf("floor: 1,048,575 letters in lines of 80, wrap on: %.0f ms\n",
                    SetTextFloor(full, true));
        return 0;
    }
    std::wstring page = BigPage();
    std::wstring result = Replaced(page);
    std::printf("page: %zu characters\n", page.size());
    // The machine is shared: medians of three.
    std::vector<double> off, on;
    for (int i = 0; i < 3; ++i) {
        off.push_back(SetTextFloor(result, false));
        on.push_back(SetTextFloor(result, true));
    }
    std::printf("floor: WM_SETTEXT of the result, wrap off: %.0f ms (median of 3)\n", Median(off));
    std::printf("floor: WM_SETTEXT of the result, wrap on: %.0f ms (median of 3)\n", Median(on));
    Jotstack(page, result);
    Notepad(page);
    return 0;
}
