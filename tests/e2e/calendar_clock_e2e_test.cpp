// The perpetual calendar and the desktop clock in the real Jotstack.exe:
// the dialog opened from the menu command, its read-out for today and for
// chosen dates, the spins across a year boundary, a click on a day; the
// clock shown at start-up, dragged, and back at its place after a restart.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"
#include "tests/e2e/x_input.h"

namespace {

// JOT_E2E_SHOT_MS=n holds the finished windows on the screen for n ms, so a
// screenshot of the X display can be taken from outside.
void HoldForScreenshot()
{
    if (const char* ms = std::getenv("JOT_E2E_SHOT_MS"))
        ::Sleep(static_cast<DWORD>(std::atoi(ms)));
}

// Waits until the text of a window starts with `prefix`; returns the text.
std::wstring WaitForText(HWND hwnd, const std::wstring& prefix, DWORD timeoutMs = 10000)
{
    const DWORD start = ::GetTickCount();
    std::wstring text;
    do {
        text = ReadWindowText(hwnd);
        if (!text.empty() && text.compare(0, prefix.size(), prefix) == 0)
            return text;
        PumpMessagesFor(50);
    } while (::GetTickCount() - start < timeoutMs);
    return text;
}

std::string Narrow(const std::wstring& w)
{
    if (w.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

void ChooseListEntry(HWND dlg, int listId, int index)
{
    HWND list = ::GetDlgItem(dlg, listId);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// What the up-down control sends when an arrow moved it to `pos`.
void PressSpin(HWND dlg, int spinId, int pos)
{
    HWND spin = ::GetDlgItem(dlg, spinId);
    ::SendMessageW(spin, UDM_SETPOS32, 0, pos);
    ::SendMessageW(dlg, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(spin));
}

int ListIndex(HWND dlg, int listId)
{
    return static_cast<int>(::SendDlgItemMessageW(dlg, listId, CB_GETCURSEL, 0, 0));
}

// The four pillars at the end of the read-out's second line.
std::wstring Pillars(const std::wstring& text)
{
    const size_t first = text.find(L"\r\n");
    const size_t second = text.find(L"\r\n", first + 2);
    if (first == std::wstring::npos || second == std::wstring::npos || second < first + 13)
        return {};
    return text.substr(second - 11, 11);
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::wstring DateText(int year, int month, int day)
{
    return std::to_wstring(year) + L"年" + std::to_wstring(month) + L"月" + std::to_wstring(day) + L"日";
}

class CalendarClockE2E : public JotstackE2ETest {
protected:
    HWND OpenCalendar(JotstackProcess& app)
    {
        app.PostCommand(ID_PERPETUAL_CALENDAR);
        return app.WaitForOwnWindow(L"#32770", L"万年历", 10000);
    }
};

}  // namespace

TEST_F(CalendarClockE2E, CalendarOpensOnTodayWithTheReadOut)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenCalendar(app);
    ASSERT_NE(dlg, nullptr);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring text = WaitForText(::GetDlgItem(dlg, IDC_CAL_INFO), DateText(now.wYear, now.wMonth, now.wDay));
    EXPECT_EQ(text.compare(0, DateText(now.wYear, now.wMonth, now.wDay).size(), DateText(now.wYear, now.wMonth, now.wDay)), 0)
        << Narrow(text);
    EXPECT_NE(text.find(L"星期"), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"\r\n农历"), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"凌晨零时月面可见"), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_YEAR), now.wYear - 1901);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_MONTH), now.wMonth - 1);
    EXPECT_GE(ListIndex(dlg, IDC_CAL_DOUBLE_HOUR), 0);
    HoldForScreenshot();

    // Away to another year, and back with "今天".
    ChooseListEntry(dlg, IDC_CAL_YEAR, 2030 - 1901);
    WaitForText(::GetDlgItem(dlg, IDC_CAL_INFO), L"2030年");
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_CAL_TODAY, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_CAL_TODAY)));
    EXPECT_TRUE(StartsWith(WaitForText(::GetDlgItem(dlg, IDC_CAL_INFO), DateText(now.wYear, now.wMonth, now.wDay)),
                           DateText(now.wYear, now.wMonth, now.wDay)));
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_YEAR), now.wYear - 1901);

    // Today again, already shown at the same double-hour: nothing happens
    // (the read-out is not even rewritten).
    PumpMessagesFor(300);
    ::SetWindowTextW(::GetDlgItem(dlg, IDC_CAL_INFO), L"unchanged");
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_CAL_TODAY, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_CAL_TODAY)));
    PumpMessagesFor(300);
    SYSTEMTIME later{};
    ::GetLocalTime(&later);
    if (later.wHour == now.wHour && later.wDay == now.wDay) {
        EXPECT_EQ(ReadWindowText(::GetDlgItem(dlg, IDC_CAL_INFO)), L"unchanged");
    }
    ::SendMessageW(dlg, WM_CLOSE, 0, 0);
    PumpMessagesFor(200);
    EXPECT_EQ(app.FindOwnWindow(L"#32770", L"万年历"), nullptr);
}

TEST_F(CalendarClockE2E, ChosenDatesSpinsAcrossYearsAndADayClick)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenCalendar(app);
    ASSERT_NE(dlg, nullptr);
    HWND info = ::GetDlgItem(dlg, IDC_CAL_INFO);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    WaitForText(info, DateText(now.wYear, now.wMonth, now.wDay));

    // 31 January 2025 (click), then February clamps to the 28th.
    ChooseListEntry(dlg, IDC_CAL_YEAR, 2025 - 1901);
    ChooseListEntry(dlg, IDC_CAL_MONTH, 0);
    WaitForText(info, L"2025年1月");
    HWND grid = ::GetDlgItem(dlg, IDC_CAL_GRID);
    // 1 January 2025 is a Wednesday: the 31st is at column 5, row 4.
    const int x = 12 + 57 * 5 + 20;
    const int y = 46 + 40 * 4 + 15;
    ::PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    std::wstring text = WaitForText(info, L"2025年1月31日");
    EXPECT_TRUE(StartsWith(text, L"2025年1月31日")) << Narrow(text);
    EXPECT_NE(text.find(L"星期五"), std::wstring::npos) << Narrow(text);

    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 2);
    text = WaitForText(info, L"2025年2月28日");
    EXPECT_TRUE(StartsWith(text, L"2025年2月28日")) << Narrow(text);
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 3);
    text = WaitForText(info, L"2025年3月31日");
    EXPECT_TRUE(StartsWith(text, L"2025年3月31日")) << Narrow(text);

    // December -> January of the next year, and back.
    ChooseListEntry(dlg, IDC_CAL_MONTH, 11);
    WaitForText(info, L"2025年12月");
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 13);
    text = WaitForText(info, L"2026年1月");
    EXPECT_TRUE(StartsWith(text, L"2026年1月")) << Narrow(text);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_YEAR), 2026 - 1901);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_MONTH), 0);
    EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_CAL_MONTH_SPIN, UDM_GETPOS32, 0, 0), 1);
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 0);
    text = WaitForText(info, L"2025年12月");
    EXPECT_TRUE(StartsWith(text, L"2025年12月")) << Narrow(text);

    // Spring Festival 2025 in the read-out.
    ChooseListEntry(dlg, IDC_CAL_MONTH, 0);
    WaitForText(info, L"2025年1月");
    const int sx = 12 + 57 * 3 + 20;   // 29 January: Wednesday, row 4
    const int sy = 46 + 40 * 4 + 15;
    ::PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(sx, sy));
    text = WaitForText(info, L"2025年1月29日");
    EXPECT_NE(text.find(L"农历乙巳(木蛇)年正月（大）初一，春节"), std::wstring::npos) << Narrow(text);

    // Another double-hour changes the hour pillar only; 23:00 moves the day
    // pillar on as well.
    ChooseListEntry(dlg, IDC_CAL_DOUBLE_HOUR, 5);
    PumpMessagesFor(300);
    const std::wstring at9 = Pillars(ReadWindowText(info));
    ChooseListEntry(dlg, IDC_CAL_DOUBLE_HOUR, 6);
    PumpMessagesFor(300);
    const std::wstring at11 = Pillars(ReadWindowText(info));
    ASSERT_EQ(at9.size(), 11u) << Narrow(at9);
    ASSERT_EQ(at11.size(), 11u) << Narrow(at11);
    EXPECT_EQ(at9.substr(0, 9), at11.substr(0, 9));
    EXPECT_NE(at9.substr(9), at11.substr(9));
    ChooseListEntry(dlg, IDC_CAL_DOUBLE_HOUR, 12);
    PumpMessagesFor(300);
    const std::wstring at23 = Pillars(ReadWindowText(info));
    EXPECT_EQ(at9.substr(0, 6), at23.substr(0, 6));
    EXPECT_NE(at9.substr(6, 2), at23.substr(6, 2));

    // The ends of the range: nothing beyond December 2100 or before January 1901.
    ChooseListEntry(dlg, IDC_CAL_YEAR, 2100 - 1901);
    ChooseListEntry(dlg, IDC_CAL_MONTH, 11);
    WaitForText(info, L"2100年12月");
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 13);
    PumpMessagesFor(300);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_YEAR), 2100 - 1901);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_MONTH), 11);
    EXPECT_TRUE(StartsWith(ReadWindowText(info), L"2100年12月"));
    EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_CAL_MONTH_SPIN, UDM_GETPOS32, 0, 0), 12);
    ChooseListEntry(dlg, IDC_CAL_YEAR, 0);
    ChooseListEntry(dlg, IDC_CAL_MONTH, 0);
    WaitForText(info, L"1901年1月");
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 0);
    PumpMessagesFor(300);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_YEAR), 0);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_MONTH), 0);
    EXPECT_TRUE(StartsWith(ReadWindowText(info), L"1901年1月"));
    ::SendMessageW(dlg, WM_CLOSE, 0, 0);
}

namespace {

void WriteClockSettings(const std::wstring& ini, int x, int y)
{
    const std::pair<const wchar_t*, int> values[] = {
        {L"PARA_CLOCK_SHOW", 1}, {L"PARA_CLOCK_RADIUS", 80}, {L"PARA_CLOCK_SHOW_SECOND", 1},
        {L"PARA_CLOCK_SHOW_MOON", 1}, {L"PARA_CLOCK_TRANSPARENCY", 0}, {L"PARA_CLOCK_X", x},
        {L"PARA_CLOCK_Y", y},
    };
    for (const auto& [key, value] : values)
        ::WritePrivateProfileStringW(L"ParaBlock", key, std::to_wstring(value).c_str(), ini.c_str());
}

// Presses the left button at (x, y), moves by (dx, dy) in small steps and
// lets go: what a user does to drag the clock by its hands. The events come
// from the X server, as a mouse's do: the window manager moves the window
// while the button is down and sees the button come up.
void DragWithMouse(int x, int y, int dx, int dy)
{
    XdoTool(L"mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y));
    PumpMessagesFor(200);
    XdoTool(L"mousedown 1");
    PumpMessagesFor(200);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        XdoTool(L"mousemove " + std::to_wstring(x + dx * i / steps) + L" " + std::to_wstring(y + dy * i / steps));
        PumpMessagesFor(50);
    }
    PumpMessagesFor(200);
    XdoTool(L"mouseup 1");
    PumpMessagesFor(500);
}

}  // namespace

TEST_F(CalendarClockE2E, ClockShownAtStartDraggedAndBackAfterARestart)
{
    int storedX = 0;
    int storedY = 0;
    {
        JotstackProcess app(m_dir);
        WriteClockSettings(app.IniPath(), 300, 200);
        ASSERT_TRUE(app.Start());
        HWND clock = app.WaitForOwnWindow(L"#32770", nullptr, 10000);
        ASSERT_NE(clock, nullptr);
        RECT rc{};
        ::GetWindowRect(clock, &rc);
        EXPECT_EQ(rc.left, 300);
        EXPECT_EQ(rc.top, 200);
        EXPECT_EQ(rc.right - rc.left, 160);
        EXPECT_EQ(rc.bottom - rc.top, 160);
        const LONG ex = ::GetWindowLongW(clock, GWL_EXSTYLE);
        EXPECT_TRUE(ex & WS_EX_LAYERED);
        EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(ex & WS_EX_TOPMOST);
        COLORREF key = 1;
        BYTE alpha = 0;
        DWORD flags = 0;
        if (::GetLayeredWindowAttributes(clock, &key, &alpha, &flags)) {
            EXPECT_EQ(key, RGB(0, 0, 0));
            EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));   // transparency 0: no alpha
        }
        HoldForScreenshot();

        // Grab it at the centre, where the hands meet. The system's move
        // loop starts with the first move, so the clock follows all but the
        // first small step.
        DragWithMouse(380, 280, 60, 40);
        ::GetWindowRect(clock, &rc);
        EXPECT_NEAR(rc.left, 360, 8);
        EXPECT_NEAR(rc.top, 240, 8);
        const RECT dropped = rc;
        EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CLOCK_X"), std::to_wstring(dropped.left));
        EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CLOCK_Y"), std::to_wstring(dropped.top));

        // The left button with Shift, Ctrl or the right button as well: no drag.
        const POINT centre{(rc.right - rc.left) / 2, (rc.bottom - rc.top) / 2};
        for (WPARAM keys : {MK_LBUTTON | MK_SHIFT, MK_LBUTTON | MK_CONTROL, MK_LBUTTON | MK_RBUTTON}) {
            ::PostMessageW(clock, WM_MOUSEMOVE, keys, MAKELPARAM(centre.x, centre.y));
            PumpMessagesFor(300);
        }
        ::GetWindowRect(clock, &rc);
        EXPECT_EQ(rc.left, dropped.left);
        EXPECT_EQ(rc.top, dropped.top);
        EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CLOCK_X"), std::to_wstring(dropped.left));

        storedX = dropped.left;
        storedY = dropped.top;
        app.Command(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(15000));
    }
    JotstackProcess again(m_dir);
    ASSERT_TRUE(again.Start());
    HWND clock = again.WaitForOwnWindow(L"#32770", nullptr, 10000);
    ASSERT_NE(clock, nullptr);
    RECT rc{};
    ::GetWindowRect(clock, &rc);
    EXPECT_EQ(rc.left, storedX);
    EXPECT_EQ(rc.top, storedY);
    again.Command(ID_TRAY_EXIT);
    EXPECT_TRUE(again.WaitForExit(15000));
}

TEST_F(CalendarClockE2E, ClockSettingsOutOfRangeStayReachable)
{
    JotstackProcess app(m_dir);
    WriteClockSettings(app.IniPath(), 100000, -5000);
    ::WritePrivateProfileStringW(L"ParaBlock", L"PARA_CLOCK_RADIUS", L"10000", app.IniPath().c_str());
    ::WritePrivateProfileStringW(L"ParaBlock", L"PARA_CLOCK_TRANSPARENCY", L"300", app.IniPath().c_str());
    ASSERT_TRUE(app.Start());
    HWND clock = app.WaitForOwnWindow(L"#32770", nullptr, 10000);
    ASSERT_NE(clock, nullptr);
    RECT rc{};
    ::GetWindowRect(clock, &rc);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rc.right - rc.left, 400);   // radius 200 at most
    EXPECT_EQ(rc.top, 0);
    // The centre, where the hands meet, is on the screen.
    EXPECT_LT(rc.left + 200, work.right);
    EXPECT_GE(rc.left, 0);
    COLORREF key = 1;
    BYTE alpha = 1;
    DWORD flags = 0;
    if (::GetLayeredWindowAttributes(clock, &key, &alpha, &flags)) {
        EXPECT_EQ(alpha, 0);   // transparency 100 % at most
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    }
    app.Command(ID_TRAY_EXIT);
    app.WaitForExit(15000);
}

TEST_F(CalendarClockE2E, ClockOptionsTurnTheClockOnResizeAndOff)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.FindOwnWindow(L"#32770", nullptr), nullptr);   // off by default

    app.PostCommand(ID_CLOCK_OPTIONS);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"时钟选项", 10000);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_CLOCK_SHOW, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg, IDC_CLOCK_SHOW)));
    EXPECT_EQ(ReadWindowText(::GetDlgItem(dlg, IDC_CLOCK_RADIUS)), L"60");
    EXPECT_EQ(ReadWindowText(::GetDlgItem(dlg, IDC_CLOCK_TRANSPARENCY)), L"40");
    HoldForScreenshot();
    ::SendDlgItemMessageW(dlg, IDC_CLOCK_SHOW, BM_SETCHECK, BST_CHECKED, 0);
    ::SendDlgItemMessageW(dlg, IDC_CLOCK_SHOW_MOON, BM_SETCHECK, BST_CHECKED, 0);
    ::SendDlgItemMessageW(dlg, IDC_CLOCK_RADIUS_SPIN, UDM_SETPOS32, 0, 120);
    ::SendDlgItemMessageW(dlg, IDC_CLOCK_TRANSPARENCY_SPIN, UDM_SETPOS32, 0, 50);
    ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));

    HWND clock = nullptr;
    for (int i = 0; i < 100 && !clock; ++i) {
        PumpMessagesFor(100);
        if (!app.FindOwnWindow(L"#32770", L"时钟选项"))
            clock = app.FindOwnWindow(L"#32770", nullptr);
    }
    ASSERT_NE(clock, nullptr);
    RECT rc{};
    ::GetWindowRect(clock, &rc);
    EXPECT_EQ(rc.right - rc.left, 240);
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CLOCK_SHOW"), L"1");
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CLOCK_RADIUS"), L"120");
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CLOCK_TRANSPARENCY"), L"50");
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CLOCK_SHOW_MOON"), L"1");
    COLORREF key = 1;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (::GetLayeredWindowAttributes(clock, &key, &alpha, &flags)) {
        EXPECT_EQ(alpha, 127);
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    }

    // Off again: the clock goes.
    app.PostCommand(ID_CLOCK_OPTIONS);
    dlg = app.WaitForOwnWindow(L"#32770", L"时钟选项", 10000);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_CLOCK_SHOW, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ReadWindowText(::GetDlgItem(dlg, IDC_CLOCK_RADIUS)), L"120");
    ::SendDlgItemMessageW(dlg, IDC_CLOCK_SHOW, BM_SETCHECK, BST_UNCHECKED, 0);
    ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
    for (int i = 0; i < 50 && app.FindOwnWindow(L"#32770", L"时钟选项"); ++i)
        PumpMessagesFor(100);
    PumpMessagesFor(300);
    EXPECT_FALSE(::IsWindow(clock));
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CLOCK_SHOW"), L"0");
    app.Command(ID_TRAY_EXIT);
    EXPECT_TRUE(app.WaitForExit(15000));
}
