// The application object: one copy per logon, settings, document template,
// main frame, the notes storage file, and the notification-area icon.
#pragma once

#include <windows.h>

#include <string>

#include "framework/app.h"

// An application of which only one copy runs per logon. The main frame's
// window class and a mutex share one name; a second start finds the running
// copy's window, brings it forward, tells it, and ends.
class CSingleInstanceApp : public CWinApp {
public:
    ~CSingleInstanceApp() override;

    // Returns false when another copy runs (after activating it) or when the
    // window class cannot be registered.
    bool InitSingleInstance(UINT iconId);
    std::wstring GetInstanceClassName() const { return m_strClassName; }

    HANDLE m_hMutex = nullptr;
    std::wstring m_strClassName;

private:
    // Wine hands out a different arrow-cursor handle in every process, so
    // the class name (which contains it) differs between two copies there.
    // A second mutex without the cursor field lets the copies see each other.
    HANDLE m_hStableMutex = nullptr;
};

using PFN_SetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

class CJotstackApp : public CSingleInstanceApp {
public:
    CJotstackApp();

    bool InitInstance() override;
    int ExitInstance() override;

    // Makes sure the notification-area icon exists, trying up to `attempts`
    // times (200 ms apart). Returns whether it exists.
    bool EnsureTrayIcon(int attempts);

    PFN_SetLayeredWindowAttributes m_pfnSetLayeredWindowAttributes = nullptr;
    int m_bTrayIcon = 0;

protected:
    bool HandleCommand(CmdRequest& req) override;
};

// Dispatches every waiting message without blocking. A quit request met on
// the way is posted again (exit code -1) for the main loop to see.
void PumpMessages();
