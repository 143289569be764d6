// CClockWnd: the desktop clock, a borderless always-on-top window whose
// background is made transparent with a layered-window colour key, so only
// the dial marks, the hands and the moon show. The user drags it by any
// drawn part; its position is kept in the settings after every drag.
#pragma once

#include <windows.h>

#include "clock/clock_face_ctrl.h"
#include "framework/dialog.h"

using PFN_SetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Everything the clock takes from the settings when it is shown.
struct ClockSettings {
    int radius = 60;         // pixels of a 96-DPI screen; scaled with the monitor's DPI
    bool showSecondHand = false;
    bool showMoon = false;
    int transparency = 40;   // percent, 0 = opaque
    int x = 0;               // screen position of the top-left corner
    int y = 0;
};

class CClockWnd : public CDialog {
public:
    // `setLayered` is the system's SetLayeredWindowAttributes; without it
    // the clock cannot be shown.
    explicit CClockWnd(PFN_SetLayeredWindowAttributes setLayered);

    // Creates the window when it has none, then applies every setting and
    // shows it. False when the clock cannot be shown.
    bool ShowClock(const ClockSettings& settings);
    // Alpha of the drawn parts: 0 % opaque .. 100 % invisible.
    void SetClockTransparency(BYTE percent);

    CClockFaceCtrl& Face() { return m_wndFace; }

    // Called after the user dragged the clock, with its new top-left corner.
    // The program writes the settings here.
    void (*m_pfnOnMoved)(int x, int y) = nullptr;

protected:
    bool OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnOK() override {}       // Enter and Esc must not close the clock
    void OnCancel() override {}

private:
    void OnMouseMove(WPARAM keys);
    // The window's side: twice the radius (96-DPI pixels) at its monitor's DPI.
    int SideAt(int dpi) const;
    // Moved to a monitor of another DPI: the same clock at the new scale.
    void OnDpiChanged(int dpi, const RECT* suggested);

    CClockFaceCtrl m_wndFace;
    int m_nRadius = 60;
    HCURSOR m_hHand = nullptr;
    PFN_SetLayeredWindowAttributes m_pfnSetLayered;
};
