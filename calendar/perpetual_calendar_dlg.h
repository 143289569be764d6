// The perpetual calendar ("万年历", dialog 102): year and month lists with
// their spins, the month grid, the double-hour list, and for the chosen day
// a read-out of the date, the lunar date, festivals, the four pillars and
// the visible part of the moon, with its picture.
#pragma once

#include <string>

#include "calendar/calendar_ctrl.h"
#include "clock/moon_picture.h"
#include "framework/dialog.h"

class CPerpetualCalendarDlg : public CDialog {
public:
    CPerpetualCalendarDlg();

    // Runs the dialog without an owner window, so it has its own taskbar
    // button while the notepad sits hidden in the tray.
    INT_PTR DoModal() override;

    CCalendarCtrl& Grid() { return m_wndCalendar; }
    CMoonPictureCtrl& MoonPicture() { return m_wndMoon; }
    const std::wstring& InfoText() const { return m_strInfo; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static INT_PTR CALLBACK InitDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void OnToday();
    void OnListChosen();
    void OnSpin(HWND spin, int code);
    // Shows the lists' year and month in the grid when they differ from it.
    void ShowListedMonth();
    void SelectLists(int year, int month);
    void SetSpins(int year, int month);
    void RedrawGrid();
    void Refresh();
    void RefreshMoonPicture();

    CCalendarCtrl m_wndCalendar;
    std::wstring m_strInfo;
    int m_nHourIndex = -1;
    int m_bForceRefresh = 0;
    CMoonPictureCtrl m_wndMoon;
};
