// A recording stand-in for the operating-system actions: nothing is really
// done, every call is written to a log as one line, and the answers (the
// Windows family, the screen-saver setting, the privilege, the presence of
// NtShutdownSystem) are the test's to choose.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "app/os_actions.h"

class FakeOsActions : public COsActions {
public:
    std::vector<std::string> log;
    std::optional<bool> ntFamily = true;
    bool saverActive = true;
    bool saverRunning = false;
    bool privilegeGranted = true;
    bool hasNtShutdown = true;
    INT_PTR shellResult = 42;
    std::wstring lastMessage;
    std::wstring lastOpened, lastOpenedFolder;

    std::optional<bool> IsNtFamily() override { return ntFamily; }
    bool IsScreenSaverActive() override { return saverActive; }
    void SetScreenSaverActive(bool active, bool persist) override
    {
        saverActive = active;
        Add("saver-active(" + std::to_string(active) + (persist ? ",persist)" : ")"));
    }
    bool SetScreenSaverRunning(bool running) override
    {
        bool previous = saverRunning;
        saverRunning = running;
        Add("saver-running(" + std::to_string(running) + ")");
        return previous;
    }
    void StartScreenSaver(HWND) override { Add("start-saver"); }
    void MonitorOff(HWND) override { Add("monitor-off"); }
    bool EnableShutdownPrivilege() override
    {
        Add("privilege");
        return privilegeGranted;
    }
    bool EndSession(UINT flags, DWORD reason) override
    {
        char line[64];
        std::snprintf(line, sizeof(line), "exit-windows(0x%X,0x%lX)", flags,
                      static_cast<unsigned long>(reason));
        Add(line);
        return true;
    }
    bool SetSystemPowerState(bool suspend, bool force) override
    {
        Add("power-state(" + std::to_string(suspend) + "," + std::to_string(force) + ")");
        return true;
    }
    bool NtShutdownSystem(int action) override
    {
        if (!hasNtShutdown)
            return false;
        Add("nt-shutdown(" + std::to_string(action) + ")");
        return true;
    }
    INT_PTR ShellOpen(HWND, const wchar_t* file, const wchar_t* folder, int show) override
    {
        lastOpened = file;
        lastOpenedFolder = folder ? folder : L"";
        Add("shell-open(" + std::to_string(show) + ")");
        return shellResult;
    }
    void Sleep(DWORD ms) override { Add("sleep(" + std::to_string(ms) + ")"); }
    int MessageBox(HWND, const wchar_t* text, UINT) override
    {
        lastMessage = text;
        Add("message");
        return IDOK;
    }

    void Add(const std::string& line) { log.push_back(line); }
};
