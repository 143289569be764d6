#include "app/power_tools.h"

#include "app/lock_screen_dlg.h"
#include "app/os_actions.h"
#include "framework/wnd.h"
#include "res/resource.h"

CPowerTools::CPowerTools(COsActions& os, CWnd* owner, std::function<bool()> saveNotes)
    : m_os(os), m_pOwner(owner), m_saveNotes(std::move(saveNotes))
{
}

bool CPowerTools::HandleCommand(CmdRequest& req)
{
    switch (req.id) {
    case ID_SCREEN_SAVER_OFF:
        // The check follows the system setting, also when another program
        // changed it.
        return req.Run([this] { ToggleScreenSaver(); },
                       [this](CCmdUI& ui) { ui.SetCheck(m_os.IsScreenSaverActive() ? 0 : 1); });
    case ID_SCREEN_SAVER_ON:
        return req.Run([this] { StartScreenSaver(); });
    case ID_MONITOR_OFF:
        return req.Run([this] { MonitorOff(); });
    case ID_LOCK_SCREEN:
        // The black window cannot hold off Ctrl+Alt+Del on the NT family.
        return req.Run([this] { LockScreen(); },
                       [this](CCmdUI& ui) {
                           if (m_os.IsNtFamily().value_or(false))
                               ui.Enable(false);
                       });
    case ID_SHUTDOWN:
        return req.Run([this] { Shutdown(); });
    case ID_RESTART:
        return req.Run([this] { Restart(); });
    case ID_HIBERNATE:
        return req.Run([this] { Suspend(); });
    case ID_FAST_SHUTDOWN:
    case ID_FAST_RESTART: {
        bool restart = req.id == ID_FAST_RESTART;
        return req.Run([this, restart] { FastShutdown(restart); },
                       [this](CCmdUI& ui) { ui.Enable(m_os.IsNtFamily().value_or(false)); });
    }
    }
    return false;
}

void CPowerTools::ToggleScreenSaver()
{
    m_os.SetScreenSaverActive(!m_os.IsScreenSaverActive(), true);
}

void CPowerTools::StartScreenSaver()
{
    if (!m_os.IsScreenSaverActive()) {
        m_os.MessageBox(m_pOwner ? m_pOwner->m_hWnd : nullptr, L"请先允许使用屏保。", MB_OK);
        return;
    }
    // Let the menu close and the mouse settle, or the saver ends at once.
    m_os.Sleep(500);
    m_os.StartScreenSaver(m_pOwner ? m_pOwner->m_hWnd : nullptr);
}

void CPowerTools::MonitorOff()
{
    m_os.Sleep(500);
    m_os.MonitorOff(m_pOwner ? m_pOwner->m_hWnd : nullptr);
}

void CPowerTools::LockScreen()
{
    m_os.SetScreenSaverActive(false, false);
    m_os.SetScreenSaverRunning(true);
    CLockScreenDlg dlg(m_os, m_pOwner);
    dlg.DoModal();
    // The saver is active after every lock, whatever it was before.
    m_os.SetScreenSaverActive(true, false);
    m_os.SetScreenSaverRunning(false);
}

void CPowerTools::ExitWindowsAfterSave(UINT ntFlags, UINT otherFlags)
{
    if (!m_saveNotes())
        return;
    std::optional<bool> nt = m_os.IsNtFamily();
    if (nt.value_or(false)) {
        if (!m_os.EnableShutdownPrivilege())
            return;
        m_os.EndSession(ntFlags, kShutdownReason);
    } else {
        m_os.EndSession(otherFlags, 0);
    }
}

void CPowerTools::Shutdown()
{
    ExitWindowsAfterSave(EWX_POWEROFF, EWX_SHUTDOWN);
}

void CPowerTools::Restart()
{
    ExitWindowsAfterSave(EWX_REBOOT, EWX_REBOOT);
}

void CPowerTools::Suspend()
{
    if (!m_saveNotes())
        return;
    m_os.Sleep(500);
    if (m_os.IsNtFamily().value_or(false) && !m_os.EnableShutdownPrivilege())
        return;
    m_os.SetSystemPowerState(true, false);
}

void CPowerTools::FastShutdown(bool restart)
{
    if (!m_saveNotes())
        return;
    if (!m_os.IsNtFamily().value_or(false))
        return;
    // Ask for a log-off first (the call returns at once), then go down
    // directly underneath it.
    m_os.EndSession(EWX_LOGOFF, 0xFFFFFFFF);
    m_os.EnableShutdownPrivilege();   // errors are of no consequence here
    m_os.NtShutdownSystem(restart ? 1 : 2);
}
