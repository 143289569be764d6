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
    int radius = 60;
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

    CClockFaceCtrl m_wndFace;
    HCURSOR m_hHand = nullptr;
    PFN_SetLayeredWindowAttributes m_pfnSetLayered;
};
