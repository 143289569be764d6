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
#include "tests/e2e/jotstack_process.h"

namespace {

// JOT_E2E_SHOT_MS=n holds the finished windows on the screen for n ms, so a
// screenshot of the X display can be taken from outside.
void HoldForScreenshot()
{
    if (const char* ms = std::getenv("JOT_E2E_SHOT_MS"))
        ::Sleep(static_cast<DWORD>(std::atoi(ms)));
}

void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::Sleep(20);
    }
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
        PumpFor(50);
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

std::wstring DateText(int year, int month, int day)
{
    return std::to_wstring(year) + L"年" + std::to_wstring(month) + L"月" + std::to_wstring(day) + L"日";
}

class CalendarClockE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (JotstackUnderTest().empty())
            GTEST_SKIP() << "JOTSTACK_EXE is not set";
    }

    HWND OpenCalendar(JotstackProcess& app)
    {
        app.PostCommand(ID_PERPETUAL_CALENDAR);
        return app.WaitForOwnWindow(L"#32770", L"万年历", 10000);
    }

    ScratchDir m_dir;
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
    ::SendMessageW(dlg, WM_CLOSE, 0, 0);
    PumpFor(200);
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
    EXPECT_EQ(text.compare(0, 11, L"2025年1月31日"), 0) << Narrow(text);
    EXPECT_NE(text.find(L"星期五"), std::wstring::npos) << Narrow(text);

    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 2);
    text = WaitForText(info, L"2025年2月28日");
    EXPECT_EQ(text.compare(0, 11, L"2025年2月28日"), 0) << Narrow(text);
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 3);
    text = WaitForText(info, L"2025年3月31日");
    EXPECT_EQ(text.compare(0, 11, L"2025年3月31日"), 0) << Narrow(text);

    // December -> January of the next year, and back.
    ChooseListEntry(dlg, IDC_CAL_MONTH, 11);
    WaitForText(info, L"2025年12月");
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 13);
    text = WaitForText(info, L"2026年1月");
    EXPECT_EQ(text.compare(0, 7, L"2026年1月"), 0) << Narrow(text);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_YEAR), 2026 - 1901);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_MONTH), 0);
    EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_CAL_MONTH_SPIN, UDM_GETPOS32, 0, 0), 1);
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 0);
    text = WaitForText(info, L"2025年12月");
    EXPECT_EQ(text.compare(0, 8, L"2025年12月"), 0) << Narrow(text);

    // Spring Festival 2025 in the read-out.
    ChooseListEntry(dlg, IDC_CAL_MONTH, 0);
    WaitForText(info, L"2025年1月");
    const int sx = 12 + 57 * 3 + 20;   // 29 January: Wednesday, row 4
    const int sy = 46 + 40 * 4 + 15;
    ::PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(sx, sy));
    text = WaitForText(info, L"2025年1月29日");
    EXPECT_NE(text.find(L"农历乙巳(木蛇)年正月（大）初一，春节"), std::wstring::npos) << Narrow(text);

    // The ends of the range: nothing beyond December 2100 or before January 1901.
    ChooseListEntry(dlg, IDC_CAL_YEAR, 2100 - 1901);
    ChooseListEntry(dlg, IDC_CAL_MONTH, 11);
    WaitForText(info, L"2100年12月");
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 13);
    PumpFor(300);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_YEAR), 2100 - 1901);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_MONTH), 11);
    EXPECT_EQ(ReadWindowText(info).compare(0, 8, L"2100年12月"), 0);
    ChooseListEntry(dlg, IDC_CAL_YEAR, 0);
    ChooseListEntry(dlg, IDC_CAL_MONTH, 0);
    WaitForText(info, L"1901年1月");
    PressSpin(dlg, IDC_CAL_MONTH_SPIN, 0);
    PumpFor(300);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_YEAR), 0);
    EXPECT_EQ(ListIndex(dlg, IDC_CAL_MONTH), 0);
    EXPECT_EQ(ReadWindowText(info).compare(0, 7, L"1901年1月"), 0);
    ::SendMessageW(dlg, WM_CLOSE, 0, 0);
}
