// The operating-system calls behind the screen and power tools: the ones a
// test must never really make (ending the logon, suspending, switching the
// monitor off, starting the screen saver) and the ones whose answer a test
// wants to choose (the Windows family, the screen-saver setting, the
// shutdown privilege). The program uses RealOsActions(); the Win32 tests
// put a recording fake in its place.
#pragma once

#include <windows.h>

#include <optional>

class COsActions {
public:
    virtual ~COsActions() = default;

    // true on the NT family (platform id 2), false on Windows 95/98/ME,
    // nothing when the version cannot be read.
    virtual std::optional<bool> IsNtFamily() = 0;

    // SPI_GETSCREENSAVEACTIVE.
    virtual bool IsScreenSaverActive() = 0;
    // SPI_SETSCREENSAVEACTIVE; persist writes the user profile and tells
    // every window (SPIF_UPDATEINIFILE | SPIF_SENDCHANGE).
    virtual void SetScreenSaverActive(bool active, bool persist) = 0;
    // SPI_SCREENSAVERRUNNING (on Windows 95/98 this blocks Ctrl+Alt+Del and
    // task switching); returns the previous state.
    virtual bool SetScreenSaverRunning(bool running) = 0;

    // WM_SYSCOMMAND SC_SCREENSAVE / SC_MONITORPOWER (2: off) to the window.
    virtual void StartScreenSaver(HWND wnd) = 0;
    virtual void MonitorOff(HWND wnd) = 0;

    // Enables SeShutdownPrivilege in the process token; false when any step
    // fails (also when the privilege is not assigned to the user).
    virtual bool EnableShutdownPrivilege() = 0;
    virtual bool EndSession(UINT flags, DWORD reason) = 0;
    virtual bool SetSystemPowerState(bool suspend, bool force) = 0;
    // ntdll's NtShutdownSystem (1: reboot, 2: power off); false when the
    // system has no such function.
    virtual bool NtShutdownSystem(int action) = 0;

    // ShellExecute with the default verb; the shell's result (over 32: done).
    virtual INT_PTR ShellOpen(HWND owner, const wchar_t* file, const wchar_t* folder, int show) = 0;

    virtual void Sleep(DWORD ms) = 0;
    virtual int MessageBox(HWND owner, const wchar_t* text, UINT type) = 0;
};

// The process-wide real implementation.
COsActions& RealOsActions();
