// Notebooks of any size, measured on the real program under Wine from
// outside: start-up to the tray icon with 1 and with 10,000 pages in the
// same run, the windows and GUI objects the program owns after that, the
// switch to a page never shown (100,000 characters), the save of a 19 MB
// notebook with one page changed, and the page manager's operations on
// 10,000 pages. Prints one line per measurement; no pass or fail.
//
//   scripts/bench-notebook.sh [runs]     (times cp + sync of the same file too)
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "res/resource.h"
#include "bench/wine_timing.h"
#include "tests/e2e/jotstack_process.h"
#include "tests/win32/dib_canvas.h"

namespace {

using winebench::Median;
using winebench::Now;

constexpr int kPages = 10000;

struct Census {
    DWORD pid = 0;
    int windows = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM lp)
{
    ++reinterpret_cast<Census*>(lp)->windows;
    return TRUE;
}

BOOL CALLBACK CountTop(HWND hwnd, LPARAM lp)
{
    auto* c = reinterpret_cast<Census*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == c->pid) {
        ++c->windows;
        ::EnumChildWindows(hwnd, CountChild, lp);
    }
    return TRUE;
}

// Every window of the process: top-level ones and all their descendants.
int WindowsOf(DWORD pid)
{
    Census c{pid, 0};
    ::EnumWindows(CountTop, reinterpret_cast<LPARAM>(&c));
    return c.windows;
}

// Pages of about 950 characters each: 10,000 of them make 19 MB.
Notebook PagesOf(int count, size_t textUnits)
{
    Notebook pages;
    pages.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        pages.push_back({L"页" + std::to_wstring(i), TextInLines(textUnits, static_cast<wchar_t>(L'一' + i % 500))});
    return pages;
}

struct StartResult {
    double ms = -1;
    int windows = 0;
    DWORD userObjects = 0;
    DWORD gdiObjects = 0;
};

StartResult TimeStart(const std::string& bytes)
{
    StartResult r;
    ScratchDir dir;
    JotstackProcess app(dir);
    WriteBytes(app.StoragePath(), bytes);
    const double t0 = Now();
    if (!app.Start(300000))
        return r;
    r.ms = Now() - t0;
    ::Sleep(300);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(app.MainWindow(), &pid);
    r.windows = WindowsOf(pid);
    if (HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid)) {
        r.userObjects = ::GetGuiResources(process, GR_USEROBJECTS);
        r.gdiObjects = ::GetGuiResources(process, GR_GDIOBJECTS);
        ::CloseHandle(process);
    }
    app.Kill();
    return r;
}

// The page manager, opened on the shown window.
HWND OpenManager(JotstackProcess& app)
{
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.PostCommand(ID_PAGE_MANAGER);
    return app.WaitForOwnWindow(L"#32770", L"页签管理", 20000);
}

int ListCount(HWND manager)
{
    return static_cast<int>(::SendMessageW(::GetDlgItem(manager, IDC_PAGE_LIST), LB_GETCOUNT, 0, 0));
}

void Select(HWND manager, int index)
{
    HWND list = ::GetDlgItem(manager, IDC_PAGE_LIST);
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(IDC_PAGE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

double Button(HWND manager, int id)
{
    const double t0 = Now();
    ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(manager, id)));
    return Now() - t0;
}

// Add or Rename: the name dialog gets its name and OK; the time runs from
// OK until the list shows the change.
double NameDialogOperation(JotstackProcess& app, HWND manager, int button, const wchar_t* name, int expectCount)
{
    ::PostMessageW(manager, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(manager, button)));
    HWND dlg = nullptr;
    for (int i = 0; i < 2000 && !dlg; ++i) {
        dlg = app.FindOwnWindow(L"#32770", button == IDC_PAGE_ADD ? L"新建页签" : L"页签更名");
        if (!dlg)
            ::Sleep(5);
    }
    if (!dlg)
        return -1;
    ::SetDlgItemTextW(dlg, IDC_PAGE_NAME, name);
    const double t0 = Now();
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    HWND list = ::GetDlgItem(manager, IDC_PAGE_LIST);
    for (int i = 0; i < 20000; ++i) {
        if (!::IsWindow(dlg) && ListCount(manager) == expectCount) {
            // The renamed entry's text is there too.
            wchar_t text[64] = {};
            const LRESULT sel = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
            ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
            if (button == IDC_PAGE_ADD || wcscmp(text, name) == 0)
                return Now() - t0;
        }
        ::Sleep(1);
    }
    return -1;
}

// From posting the tab's selection until the new page's first line shows
// on the screen: the strip of the screen where it goes changes (the page
// on screen before is empty).
double TimeToFirstLine(JotstackProcess& app, int index)
{
    RECT rc{};
    ::GetWindowRect(app.MdiClient(), &rc);
    const int width = rc.right - rc.left - 60, height = 16;
    DibCanvas strip(width, height);
    HDC screen = ::GetDC(nullptr);
    // What the strip shows before: the empty page.
    ::BitBlt(strip.Dc(), 0, 0, width, height, screen, rc.left + 10, rc.top + 6, SRCCOPY);
    const uint32_t* px = strip.Bits();
    const std::vector<uint32_t> before(px, px + width * height);
    const double t0 = Now();
    ::PostMessageW(app.TabStrip(), WM_USER + 16, static_cast<WPARAM>(index), 0);
    double seen = -1;
    while (Now() - t0 < 10000) {
        ::BitBlt(strip.Dc(), 0, 0, width, height, screen, rc.left + 10, rc.top + 6, SRCCOPY);
        px = strip.Bits();
        int dark = 0;
        for (int i = 0; i < width * height; ++i)
            if ((px[i] & 0xFFFFFF) != (before[static_cast<size_t>(i)] & 0xFFFFFF))
                ++dark;
        if (dark > 40) {
            seen = Now() - t0;
            if (std::getenv("JOT_BENCH_DEBUG")) {
                HWND at = ::WindowFromPoint(POINT{rc.left + 100, rc.top + 10});
                wchar_t cls[64] = {};
                ::GetClassNameW(at, cls, 64);
                std::printf("  %d dark pixels in the strip at %ld,%ld (%d wide); window there: %ls, visible main %d\n",
                            dark, rc.left + 10, rc.top + 6, width, cls, ::IsWindowVisible(app.MainWindow()));
            }
            break;
        }
    }
    ::ReleaseDC(nullptr, screen);
    // Wait for the program to have finished with the page.
    ::SendMessageW(app.MainWindow(), WM_NULL, 0, 0);
    return seen;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    // Start-up with 1 and with 10,000 pages, taken in turns.
    const std::string onePage = StorageBytes(PagesOf(1, 900));
    Notebook big = PagesOf(kPages, 900);
    const std::string bigBytes = StorageBytes(big);
    std::vector<double> small, large;
    StartResult lastSmall, lastLarge;
    for (int i = 0; i < runs; ++i) {
        lastSmall = TimeStart(onePage);
        small.push_back(lastSmall.ms);
        lastLarge = TimeStart(bigBytes);
        large.push_back(lastLarge.ms);
    }
    std::printf("start to tray icon, 1 page:        median %.0f ms over %d runs\n", Median(small), runs);
    std::printf("start to tray icon, %d pages:  median %.0f ms over %d runs (%.1f MB notebook)\n", kPages,
                Median(large), runs, bigBytes.size() / 1e6);
    std::printf("windows after start: %d with 1 page, %d with %d pages\n", lastSmall.windows, lastLarge.windows, kPages);
    std::printf("GetGuiResources after start: USER %lu / %lu, GDI %lu / %lu (1 page / %d pages)\n",
                static_cast<unsigned long>(lastSmall.userObjects), static_cast<unsigned long>(lastLarge.userObjects),
                static_cast<unsigned long>(lastSmall.gdiObjects), static_cast<unsigned long>(lastLarge.gdiObjects),
                kPages);

    ScratchDir dir;
    big[7777].second = TextInLines(100000, L'长');
    big[0].second.clear();   // the page on screen before each switch
    const std::string bytes = StorageBytes(big);
    JotstackProcess app(dir);
    WriteBytes(app.StoragePath(), bytes);
    if (!app.Start(300000)) {
        std::printf("start with %d pages failed\n", kPages);
        return 1;
    }
    app.Command(ID_SHOW_MAIN_WINDOW);

    // A page never shown, 100,000 characters: from the tab's selection until
    // the text is painted.
    double t0 = Now();
    app.SelectTab(7777);
    HWND edit = app.ActiveEdit();
    ::UpdateWindow(edit);
    const double toPage = Now() - t0;
    const int length = static_cast<int>(::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    std::printf("switch to a page never shown (%d characters) until all of it is laid out and painted: %.0f ms\n",
                length, toPage);
    t0 = Now();
    app.SelectTab(12);
    ::UpdateWindow(app.ActiveEdit());
    std::printf("switch to a short page never shown: %.0f ms\n", Now() - t0);
    // The same long page again after its window was given back, and the
    // moment its first line is on the screen.
    std::vector<double> firstLine;
    for (int i = 0; i < runs; ++i) {
        for (int p = 20; p < 20 + 12; ++p)
            app.SelectTab(p);   // the long page's window goes
        app.SelectTab(0);
        ::UpdateWindow(app.ActiveEdit());
        firstLine.push_back(TimeToFirstLine(app, 7777));
    }
    std::printf("switch to the long page without a window until its first line is on the screen: median %.0f ms\n",
                Median(firstLine));

    // Save with one page changed, against the file's size.
    std::vector<double> saves;
    for (int i = 0; i < runs; ++i) {
        app.TypeIntoCurrentPage(L"改了第" + std::to_wstring(i) + L"次");
        t0 = Now();
        app.Command(ID_FILE_SAVE);
        saves.push_back(Now() - t0);
    }
    std::printf("save of the %.1f MB notebook with one page changed: median %.0f ms over %d saves\n",
                static_cast<double>(bytes.size()) / 1e6, Median(saves), runs);
    // The same bytes for the script's cp and sync, on the same disk.
    if (const char* out = std::getenv("JOT_BENCH_NOTEBOOK")) {
        std::wstring path = L"Z:";
        for (const char* c = out; *c; ++c)
            path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
        WriteBytes(path, ReadBytes(app.StoragePath()));
    }
    std::fflush(stdout);

    // The page manager on 10,000 pages.
    HWND manager = OpenManager(app);
    if (!manager) {
        std::printf("no page manager\n");
        return 1;
    }
    const int count = ListCount(manager);
    Select(manager, count - 1);
    const double add = NameDialogOperation(app, manager, IDC_PAGE_ADD, L"新页签", count + 1);
    Select(manager, count);
    const double rename = NameDialogOperation(app, manager, IDC_PAGE_RENAME, L"改名了", count + 1);
    Select(manager, count);
    const double top = Button(manager, IDC_PAGE_TOP);
    const double down = Button(manager, IDC_PAGE_DOWN);
    const double bottom = Button(manager, IDC_PAGE_BOTTOM);
    Select(manager, count);   // the new, empty page, now last again
    const double del = Button(manager, IDC_PAGE_DELETE);
    std::printf("page manager on %d pages: add %.0f ms, rename %.0f ms, move to top %.0f ms, move down %.0f ms, "
                "move to bottom %.0f ms, delete %.0f ms (list now %d entries)\n",
                count, add, rename, top, down, bottom, del, ListCount(manager));
    ::PostMessageW(manager, WM_COMMAND, IDCANCEL, 0);
    ::Sleep(500);
    t0 = Now();
    ::SendMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    std::printf("hide after the page manager's changes (save and view states): %.0f ms\n", Now() - t0);
    app.Kill();
    return 0;
}
