// CCalendarCtrl: the month grid of the perpetual calendar dialog (static
// control 1011, subclassed). It paints what the month model says, double
// buffered, and tells its parent when the user clicks another day.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "calendar/month_grid.h"
#include "framework/handles.h"
#include "framework/wnd.h"

// Posted to the parent when a day was clicked: wParam = (year << 16) | month,
// lParam = the day. The calendar dialog also posts it to itself to refresh
// its read-out.
inline constexpr UINT WM_CALENDAR_DAY_CHOSEN = WM_USER + 101;

class CCalendarCtrl : public CWnd {
public:
    // Shows today (local time).
    CCalendarCtrl();

    // False, and nothing changes, for a year outside 1901..2100, a month
    // outside 1..12 or day 0. A day beyond the month's end is remembered and
    // the last day shown, until a longer month shows it again.
    bool SetDate(int year, int month, int day);
    void GetDate(int& year, int& month, int& day) const;
    int Year() const { return m_date.Year(); }
    int Month() const { return m_date.Month(); }
    int Day() const { return m_date.Day(); }
    // Forgets the remembered day (Today does, so today is shown as is).
    void ForgetDay() { m_date.ForgetDay(); }

    // The day's information line at a double-hour 0..12.
    std::wstring GetDayInfo(int hourIndex);

    // Paints the whole control into `dc` (client coordinates).
    void Draw(HDC dc, int width, int height);
    // The day under a client point, if it is one of the displayed month.
    std::optional<int> DayAt(int x, int y);

    // LunarYear builds so far (a repaint must add none).
    int LunarYearBuilds() const { return m_years.BuildCount(); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnPaint();
    void OnLButtonDown(int x, int y);
    const cal::MonthGrid& Grid();
    void CreateFonts(int dpi);

    cal::GridDate m_date;
    cal::LunarYearCache m_years;
    std::optional<cal::MonthGrid> m_grid;   // the month as last laid out
    UniqueFont m_numberFont;
    UniqueFont m_labelFont;
    UniqueFont m_lineFont;
    int m_nFontDpi = 0;   // the DPI the fonts were made for
};
