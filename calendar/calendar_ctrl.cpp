#include "calendar/calendar_ctrl.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/dpi.h"

namespace {

RECT ToRect(const cal::GridBox& box)
{
    return RECT{box.left, box.top, box.right, box.bottom};
}

void FillBox(HDC dc, const RECT& rc, COLORREF colour)
{
    UniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rc, brush.Get());
}

UniqueFont MakeFont(const wchar_t* face, int height)
{
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    ::lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

SYSTEMTIME Today()
{
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return t;
}

}  // namespace

CCalendarCtrl::CCalendarCtrl() : m_date(Today().wYear, Today().wMonth, Today().wDay) {}

bool CCalendarCtrl::SetDate(int year, int month, int day)
{
    return m_date.SetDate(year, month, day);
}

void CCalendarCtrl::GetDate(int& year, int& month, int& day) const
{
    year = m_date.Year();
    month = m_date.Month();
    day = m_date.Day();
}

std::wstring CCalendarCtrl::GetDayInfo(int hourIndex)
{
    const cal::LunarYear* ly = m_years.Get(m_date.Year());
    if (!ly)
        return {};
    return cal::FormatDayInfo(*ly, m_date.Month(), m_date.Day(), hourIndex);
}

const cal::MonthGrid& CCalendarCtrl::Grid()
{
    // Lay the month out again only when the date changed: a repaint costs
    // no calendar computation at all.
    if (!m_grid || m_grid->year != m_date.Year() || m_grid->month != m_date.Month() ||
        m_grid->day != m_date.Day()) {
        m_grid = cal::BuildMonthGrid(m_years, m_date.Year(), m_date.Month(), m_date.Day());
    }
    return *m_grid;
}

std::optional<int> CCalendarCtrl::DayAt(int x, int y)
{
    const cal::MonthGrid& grid = Grid();
    return cal::DayAtPoint(x, y, grid.firstWeekday, grid.days, dpi::ForWindow(m_hWnd));
}

void CCalendarCtrl::CreateFonts(int dpi)
{
    if (dpi != m_nFontDpi) {
        m_numberFont.Reset();
        m_labelFont.Reset();
        m_lineFont.Reset();
        m_nFontDpi = dpi;
    }
    if (!m_numberFont)
        m_numberFont = MakeFont(L"Arial", cal::NumberFontHeight(dpi));
    if (!m_labelFont)
        m_labelFont = MakeFont(L"simsun", cal::LabelFontHeight(dpi));
    if (!m_lineFont)
        m_lineFont = MakeFont(L"simsun", cal::LineFontHeight(dpi));
}

void CCalendarCtrl::Draw(HDC dc, int width, int height)
{
    namespace gc = cal::grid_colour;
    // Everything at the scale of the control's monitor.
    const int dpi = dpi::ForWindow(m_hWnd);
    CreateFonts(dpi);
    const cal::MonthGrid& grid = Grid();

    FillBox(dc, RECT{0, 0, width, height}, gc::kBackground);
    ::SetBkMode(dc, TRANSPARENT);

    FillBox(dc, ToRect(cal::HeaderBand(width, dpi)), gc::kHeaderBack);
    {
        SelectObjectScope font(dc, m_numberFont.Get());
        ::SetTextColor(dc, gc::kHeaderText);
        for (int c = 0; c < cal::kGridColumns; ++c) {
            RECT box = ToRect(cal::WeekdayCaptionBox(c, dpi));
            ::DrawTextW(dc, cal::kWeekdayCaptions[c], -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }

    for (const cal::GridCell& cell : grid.cells) {
        const cal::GridBox box = cal::CellBox(cell.column, cell.row, dpi);
        if (cell.selected)
            FillBox(dc, ToRect(cal::SelectionBox(box, dpi)), gc::kSelectionBack);
        {
            SelectObjectScope font(dc, m_numberFont.Get());
            ::SetTextColor(dc, cell.numberColour);
            const cal::GridBox number = cal::DayNumberBox(box, dpi);
            ::TextOutW(dc, number.left, number.top, cell.number.c_str(), static_cast<int>(cell.number.size()));
        }
        if (!cell.label.empty()) {
            SelectObjectScope font(dc, m_labelFont.Get());
            ::SetTextColor(dc, cell.labelColour);
            // The two characters stand one above the other in the narrow box.
            std::wstring text(1, cell.label[0]);
            if (cell.label.size() > 1) {
                text += L"\r\n";
                text += cell.label[1];
            }
            RECT label = ToRect(cal::LabelBox(box, dpi));
            // A font whose lines are taller than the layout allows for (at
            // some sizes and DPIs) gets the room for both characters.
            TEXTMETRICW tm{};
            if (::GetTextMetricsW(dc, &tm))
                label.bottom = std::max<LONG>(label.bottom, label.top + 2 * tm.tmHeight);
            ::DrawTextW(dc, text.c_str(), -1, &label, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        }
    }

    SelectObjectScope font(dc, m_lineFont.Get());
    ::SetTextColor(dc, gc::kText);
    RECT terms = ToRect(cal::TermLineBox(width, height, dpi));
    ::DrawTextW(dc, grid.termLine.c_str(), -1, &terms, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    RECT moons = ToRect(cal::MoonLineBox(width, height, dpi));
    ::DrawTextW(dc, grid.moonLine.c_str(), -1, &moons, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT CCalendarCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        // The paint covers every pixel; erasing first would only flicker.
        return 1;
    case WM_LBUTTONDOWN:
        OnLButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return Default();
    }
    return CWnd::WindowProc(msg, wp, lp);
}

void CCalendarCtrl::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    const RECT client = GetClientRect();
    const int width = client.right;
    const int height = client.bottom;
    MemoryDc mem(dc);
    UniqueBitmap canvas(::CreateCompatibleBitmap(dc, width, height));
    if (mem && canvas) {
        {
            SelectObjectScope select(mem.Get(), canvas.Get());
            Draw(mem.Get(), width, height);
            ::BitBlt(dc, 0, 0, width, height, mem.Get(), 0, 0, SRCCOPY);
        }
    } else {
        Draw(dc, width, height);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CCalendarCtrl::OnLButtonDown(int x, int y)
{
    const std::optional<int> day = DayAt(x, y);
    if (day && *day != m_date.Day()) {
        m_date.SelectDay(*day);
        if (HWND parent = GetParent()) {
            ::PostMessageW(parent, WM_CALENDAR_DAY_CHOSEN,
                           (static_cast<WPARAM>(m_date.Year()) << 16) | static_cast<WPARAM>(m_date.Month()),
                           static_cast<LPARAM>(*day));
        }
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        ::UpdateWindow(m_hWnd);
    }
    ::SetFocus(m_hWnd);
}
