#include "calendar/perpetual_calendar_dlg.h"

#include <commctrl.h>

#include "calendar/calendar_navigation.h"
#include "calendar/lunar_records.h"
#include "calendar/moon_phase.h"
#include "framework/dpi.h"
#include "res/resource.h"

namespace {

constexpr const wchar_t* kDoubleHours[13] = {
    L"00:00～00:59", L"01:00～02:59", L"03:00～04:59", L"05:00～06:59", L"07:00～08:59",
    L"09:00～10:59", L"11:00～12:59", L"13:00～14:59", L"15:00～16:59", L"17:00～18:59",
    L"19:00～20:59", L"21:00～22:59", L"23:00～23:59",
};

void AddString(HWND combo, const wchar_t* text)
{
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

int Selection(HWND combo)
{
    return static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void Select(HWND combo, int index)
{
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The selected entry of a list control as an index, both ways.
void DDX_ListIndex(CDataExchange* dx, int id, int& index)
{
    if (dx->m_bFailed)
        return;
    HWND ctl = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = Selection(ctl);
    else
        Select(ctl, index);
}

}  // namespace

CPerpetualCalendarDlg::CPerpetualCalendarDlg() : CDialog(IDD_PERPETUAL_CALENDAR) {}

INT_PTR CALLBACK CPerpetualCalendarDlg::InitDlgProc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    // The creation hook attached the window to its object before this message.
    auto* dlg = dynamic_cast<CPerpetualCalendarDlg*>(CWnd::FromHandle(hwnd));
    return dlg && dlg->OnInitDialog() ? TRUE : FALSE;
}

INT_PTR CPerpetualCalendarDlg::DoModal()
{
    m_bModal = true;
    INT_PTR result = -1;
    BeginCreation(this, [&] {
        result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate), nullptr,
                                   &CPerpetualCalendarDlg::InitDlgProc, 0);
    });
    m_bModal = false;
    return result;
}

bool CPerpetualCalendarDlg::OnInitDialog()
{
    m_wndCalendar.SubclassWindow(GetDlgItem(IDC_CAL_GRID));
    CDialog::OnInitDialog();

    HWND years = GetDlgItem(IDC_CAL_YEAR);
    wchar_t text[16];
    for (int year = cal::kFirstCalendarYear; year <= cal::kLastCalendarYear; ++year) {
        ::wsprintfW(text, L"%d", year);
        AddString(years, text);
    }
    HWND months = GetDlgItem(IDC_CAL_MONTH);
    for (int month = 1; month <= 12; ++month) {
        ::wsprintfW(text, L"%d", month);
        AddString(months, text);
    }
    HWND hours = GetDlgItem(IDC_CAL_DOUBLE_HOUR);
    for (const wchar_t* hour : kDoubleHours)
        AddString(hours, hour);

    // The up arrows lead to earlier years and months; the month spin's two
    // extra positions 0 and 13 step into the neighbouring years.
    ::SendMessageW(GetDlgItem(IDC_CAL_YEAR_SPIN), UDM_SETRANGE32, cal::kLastCalendarYear, cal::kFirstCalendarYear);
    ::SendMessageW(GetDlgItem(IDC_CAL_MONTH_SPIN), UDM_SETRANGE32, 13, 0);

    m_wndMoon.SubclassWindow(GetDlgItem(IDC_CAL_MOON));

    m_bForceRefresh = 1;
    PostMessage(WM_COMMAND, MAKEWPARAM(IDC_CAL_TODAY, BN_CLICKED),
                reinterpret_cast<LPARAM>(GetDlgItem(IDC_CAL_TODAY)));
    return true;
}

void CPerpetualCalendarDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_CAL_INFO, m_strInfo);
    DDX_ListIndex(dx, IDC_CAL_DOUBLE_HOUR, m_nHourIndex);
}

bool CPerpetualCalendarDlg::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id) {
    case IDC_CAL_TODAY:
        if (code == BN_CLICKED) {
            OnToday();
            return true;
        }
        break;
    case IDC_CAL_YEAR:
    case IDC_CAL_MONTH:
        if (code == CBN_SELCHANGE) {
            OnListChosen();
            return true;
        }
        break;
    case IDC_CAL_DOUBLE_HOUR:
        if (code == CBN_SELCHANGE) {
            PostMessage(WM_CALENDAR_DAY_CHOSEN);
            return true;
        }
        break;
    }
    return CDialog::OnCommand(id, code, control);
}

LRESULT CPerpetualCalendarDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_VSCROLL:
        OnSpin(reinterpret_cast<HWND>(lp), LOWORD(wp));
        break;
    case WM_CALENDAR_DAY_CHOSEN:
        Refresh();
        return 0;
    case kWmDpiChanged: {
        // The system scales the dialog and its controls; the month grid and
        // the moon picture follow at the new DPI.
        dpi::Remember(m_hWnd, HIWORD(wp));
        const LRESULT result = CDialog::WindowProc(msg, wp, lp);
        RedrawGrid();
        PostMessage(WM_CALENDAR_DAY_CHOSEN);
        return result;
    }
    case WM_DESTROY:
        dpi::Forget(m_hWnd);
        break;
    }
    return CDialog::WindowProc(msg, wp, lp);
}

void CPerpetualCalendarDlg::OnToday()
{
    UpdateData(true);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const int hour = cal::DoubleHourIndex(now.wHour * 3600 + now.wMinute * 60 + now.wSecond);
    if (!m_bForceRefresh && m_wndCalendar.Year() == now.wYear && m_wndCalendar.Month() == now.wMonth &&
        m_wndCalendar.Day() == now.wDay && hour == m_nHourIndex) {
        return;
    }
    m_bForceRefresh = 0;
    SelectLists(now.wYear, now.wMonth);
    SetSpins(now.wYear, now.wMonth);
    m_wndCalendar.ForgetDay();
    m_wndCalendar.SetDate(now.wYear, now.wMonth, now.wDay);
    RedrawGrid();

    UpdateData(true);
    m_nHourIndex = hour;
    UpdateData(false);
    PostMessage(WM_CALENDAR_DAY_CHOSEN);
}

void CPerpetualCalendarDlg::OnListChosen()
{
    ShowListedMonth();
}

void CPerpetualCalendarDlg::OnSpin(HWND spin, int code)
{
    if (code != SB_THUMBPOSITION || !spin)
        return;
    // The position as the control keeps it (the message carries 16 bits).
    const int pos = static_cast<int>(::SendMessageW(spin, UDM_GETPOS32, 0, 0));
    const cal::YearMonth lists{Selection(GetDlgItem(IDC_CAL_YEAR)) + cal::kFirstCalendarYear,
                               Selection(GetDlgItem(IDC_CAL_MONTH)) + 1};
    cal::YearMonth next;
    if (spin == GetDlgItem(IDC_CAL_YEAR_SPIN))
        next = cal::AfterYearSpin(pos, lists);
    else if (spin == GetDlgItem(IDC_CAL_MONTH_SPIN))
        next = cal::AfterMonthSpin(pos, lists);
    else
        return;
    SelectLists(next.year, next.month);
    if (next.year == m_wndCalendar.Year() && next.month == m_wndCalendar.Month()) {
        // Nothing to show (an end of the range): the month spin comes back
        // from its extra positions 0 and 13.
        SetSpins(next.year, next.month);
        return;
    }
    ShowListedMonth();
}

void CPerpetualCalendarDlg::ShowListedMonth()
{
    const int yearIndex = Selection(GetDlgItem(IDC_CAL_YEAR));
    const int monthIndex = Selection(GetDlgItem(IDC_CAL_MONTH));
    if (yearIndex < 0 || monthIndex < 0)
        return;
    const int year = yearIndex + cal::kFirstCalendarYear;
    const int month = monthIndex + 1;
    if (year == m_wndCalendar.Year() && month == m_wndCalendar.Month())
        return;
    if (!m_wndCalendar.SetDate(year, month, m_wndCalendar.Day()))
        return;
    RedrawGrid();
    SetSpins(year, month);
    PostMessage(WM_CALENDAR_DAY_CHOSEN);
}

void CPerpetualCalendarDlg::SelectLists(int year, int month)
{
    Select(GetDlgItem(IDC_CAL_YEAR), year - cal::kFirstCalendarYear);
    Select(GetDlgItem(IDC_CAL_MONTH), month - 1);
}

void CPerpetualCalendarDlg::SetSpins(int year, int month)
{
    ::SendMessageW(GetDlgItem(IDC_CAL_YEAR_SPIN), UDM_SETPOS32, 0, year);
    ::SendMessageW(GetDlgItem(IDC_CAL_MONTH_SPIN), UDM_SETPOS32, 0, month);
}

void CPerpetualCalendarDlg::RedrawGrid()
{
    if (!m_wndCalendar.m_hWnd)
        return;
    ::InvalidateRect(m_wndCalendar.m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_wndCalendar.m_hWnd);
}

void CPerpetualCalendarDlg::Refresh()
{
    UpdateData(true);
    const int year = m_wndCalendar.Year();
    const int month = m_wndCalendar.Month();
    const int day = m_wndCalendar.Day();

    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    date.wDayOfWeek = static_cast<WORD>(cal::DayOfWeek(year, month, day));
    wchar_t formatted[128] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, 0, &date, L"yyyy年M月d日 dddd\r\n", formatted, 128);

    m_strInfo = formatted;
    m_strInfo += m_wndCalendar.GetDayInfo(m_nHourIndex);
    m_strInfo += L"\r\n";
    double illuminated = 0.0;
    const double phase = cal::MoonPhaseForDate(year, month, day, &illuminated);
    m_strInfo += cal::MoonLine(phase, illuminated);
    UpdateData(false);

    RefreshMoonPicture();
}

void CPerpetualCalendarDlg::RefreshMoonPicture()
{
    if (!m_wndMoon.m_hWnd)
        return;
    const RECT client = m_wndMoon.GetClientRect();
    if (client.right <= 0 || client.bottom <= 0)
        return;
    HDC display = ::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!display)
        return;
    UniqueMemoryDc displayOwner(display);
    MemoryDc mem(display);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(display, client.right, client.bottom));
    if (!mem || !bitmap)
        return;
    {
        SelectObjectScope select(mem.Get(), bitmap.Get());
        ::BitBlt(mem.Get(), 0, 0, client.right, client.bottom, nullptr, 0, 0, BLACKNESS);
        DrawMoonForDate(m_wndMoon.m_hWnd, mem.Get(), m_wndCalendar.Year(), m_wndCalendar.Month(),
                        m_wndCalendar.Day());
    }
    m_wndMoon.SetMoonBitmap(bitmap.Release());
}
