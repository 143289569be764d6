// The screen and power commands of the "工具" menu and the tray menu: the
// screen saver off/on, starting it, monitor off, lock screen, restart,
// suspend, shut down and the fast variants. Every command that can end the
// logon saves the notes first, and goes no further when that save fails:
// a shutdown must never cost the user what was typed just before.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/cmdtarget.h"

class COsActions;
class CWnd;

// Shutdown reason on the NT family: planned | hardware | maintenance.
inline constexpr DWORD kShutdownReason = 0x80010001;

class CPowerTools {
public:
    // owner: the main frame (system commands go to it, dialogs are owned by
    // it); saveNotes: writes the notes, false when they could not be written.
    CPowerTools(COsActions& os, CWnd* owner, std::function<bool()> saveNotes);

    // Runs or updates the tool commands; false for every other command.
    bool HandleCommand(CmdRequest& req);

    void ToggleScreenSaver();
    void StartScreenSaver();
    void MonitorOff();
    void LockScreen();
    void Shutdown();
    void Restart();
    void Suspend();
    void FastShutdown(bool restart);

private:
    void ExitWindowsAfterSave(UINT ntFlags, UINT otherFlags);

    COsActions& m_os;
    CWnd* m_pOwner;
    std::function<bool()> m_saveNotes;
};
