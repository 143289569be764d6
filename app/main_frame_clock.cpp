// The main frame's desktop-clock and perpetual-calendar commands: "时钟..."
// (the clock options) and "万年历...", and ShowClock, which start-up calls
// when the clock is switched on.
#include <algorithm>

#include "app/jotstack_app.h"
#include "app/main_frame.h"
#include "app/para_block.h"
#include "calendar/perpetual_calendar_dlg.h"
#include "clock/clock_options_dlg.h"
#include "clock/clock_wnd.h"
#include "res/resource.h"

namespace {

PFN_SetLayeredWindowAttributes LayeredWindowFunction()
{
    auto* app = dynamic_cast<CJotstackApp*>(AfxGetApp());
    return app ? app->m_pfnSetLayeredWindowAttributes : nullptr;
}

ClockSettings StoredClockSettings()
{
    ClockSettings s;
    s.radius = g_paraBlock.GetPara(PARA_CLOCK_RADIUS);
    s.showSecondHand = g_paraBlock.GetPara(PARA_CLOCK_SHOW_SECOND) != 0;
    s.showMoon = g_paraBlock.GetPara(PARA_CLOCK_SHOW_MOON) != 0;
    s.transparency = g_paraBlock.GetPara(PARA_CLOCK_TRANSPARENCY);
    s.x = g_paraBlock.GetPara(PARA_CLOCK_X);
    s.y = g_paraBlock.GetPara(PARA_CLOCK_Y);
    return s;
}

// The clock's new place is kept at once, so it comes back there after a restart.
void StoreClockPosition(int x, int y)
{
    g_paraBlock.SetPara(PARA_CLOCK_X, x);
    g_paraBlock.SetPara(PARA_CLOCK_Y, y);
}

}  // namespace

void CMainFrame::ShowClock()
{
    PFN_SetLayeredWindowAttributes setLayered = LayeredWindowFunction();
    if (!setLayered)
        return;
    auto* clock = dynamic_cast<CClockWnd*>(m_pClockWnd);
    if (!clock) {
        delete m_pClockWnd;
        clock = new CClockWnd(setLayered);
        clock->m_pfnOnMoved = &StoreClockPosition;
        m_pClockWnd = clock;
    }
    clock->ShowClock(StoredClockSettings());
    if (IsWindowVisible())
        ::SetFocus(m_hWnd);
}

bool CMainFrame::HandleClockCalendarCommand(CmdRequest& req)
{
    // The enabled state of "时钟..." is decided with the other layered-window
    // commands in HandleCommand.
    if (req.mode == CmdMode::Update)
        return false;
    switch (req.id) {
    case ID_PERPETUAL_CALENDAR:
        return req.Run([] {
            CPerpetualCalendarDlg dlg;
            dlg.DoModal();
        });
    case ID_CLOCK_OPTIONS:
        return req.Run([this] { OnClockOptions(); });
    }
    return false;
}

void CMainFrame::OnClockOptions()
{
    const bool layered = LayeredWindowFunction() != nullptr;
    ClockOptions options;
    options.show = g_paraBlock.GetPara(PARA_CLOCK_SHOW);
    options.showSecondHand = g_paraBlock.GetPara(PARA_CLOCK_SHOW_SECOND);
    options.showMoon = g_paraBlock.GetPara(PARA_CLOCK_SHOW_MOON);
    options.radius = g_paraBlock.GetPara(PARA_CLOCK_RADIUS);
    options.transparency = g_paraBlock.GetPara(PARA_CLOCK_TRANSPARENCY);
    CClockOptionsDlg dlg(options, layered, this);
    if (dlg.DoModal() != IDOK)
        return;
    const ClockOptions& chosen = dlg.Options();
    g_paraBlock.SetPara(PARA_CLOCK_SHOW, chosen.show);
    g_paraBlock.SetPara(PARA_CLOCK_SHOW_SECOND, chosen.showSecondHand);
    g_paraBlock.SetPara(PARA_CLOCK_SHOW_MOON, chosen.showMoon);
    g_paraBlock.SetPara(PARA_CLOCK_RADIUS, chosen.radius);
    g_paraBlock.SetPara(PARA_CLOCK_TRANSPARENCY, chosen.transparency);
    if (!chosen.show) {
        if (m_pClockWnd) {
            m_pClockWnd->DestroyWindow();
            delete m_pClockWnd;
            m_pClockWnd = nullptr;
        }
        return;
    }
    ShowClock();
}
