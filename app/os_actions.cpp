#include "app/os_actions.h"

#include <shellapi.h>

#include "framework/handles.h"

namespace {

// Shut down, restart and suspend stop when this fails; fast shutdown goes on.
bool AdjustShutdownPrivilege(DWORD tokenAccess)
{
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), tokenAccess, &raw))
        return false;
    UniqueKernelHandle token(raw);
    TOKEN_PRIVILEGES tp{};
    if (!::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid))
        return false;
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ::SetLastError(0);
    ::AdjustTokenPrivileges(token.Get(), FALSE, &tp, 0, nullptr, nullptr);
    // ERROR_NOT_ALL_ASSIGNED arrives with a successful return.
    return ::GetLastError() == 0;
}

class CRealOsActions final : public COsActions {
public:
    std::optional<bool> IsNtFamily() override
    {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!::GetVersionExW(&info))
            return std::nullopt;
        return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }

    bool IsScreenSaverActive() override
    {
        BOOL active = FALSE;
        ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        return active != FALSE;
    }

    void SetScreenSaverActive(bool active, bool persist) override
    {
        ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr,
                                persist ? SPIF_UPDATEINIFILE | SPIF_SENDCHANGE : 0);
    }

    bool SetScreenSaverRunning(bool running) override
    {
        BOOL previous = FALSE;
        ::SystemParametersInfoW(SPI_SCREENSAVERRUNNING, running ? TRUE : FALSE, &previous, 0);
        return previous != FALSE;
    }

    void StartScreenSaver(HWND wnd) override
    {
        ::SendMessageW(wnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    }

    void MonitorOff(HWND wnd) override
    {
        ::SendMessageW(wnd, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
    }

    bool EnableShutdownPrivilege() override
    {
        return AdjustShutdownPrivilege(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
    }

    bool EndSession(UINT flags, DWORD reason) override
    {
        return ::ExitWindowsEx(flags, reason) != FALSE;
    }

    bool SetSystemPowerState(bool suspend, bool force) override
    {
        return ::SetSystemPowerState(suspend ? TRUE : FALSE, force ? TRUE : FALSE) != FALSE;
    }

    bool NtShutdownSystem(int action) override
    {
        UniqueModule ntdll(::LoadLibraryW(L"NTDLL.dll"));
        if (!ntdll)
            return false;
        using Fn = LONG(WINAPI*)(int);
        auto fn = reinterpret_cast<Fn>(
            reinterpret_cast<void*>(::GetProcAddress(ntdll.Get(), "NtShutdownSystem")));
        if (!fn)
            return false;
        fn(action);
        return true;
    }

    INT_PTR ShellOpen(HWND owner, const wchar_t* file, const wchar_t* folder, int show) override
    {
        return reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, nullptr, file, nullptr, folder, show));
    }

    void Sleep(DWORD ms) override { ::Sleep(ms); }

    int MessageBox(HWND owner, const wchar_t* text, UINT type) override
    {
        return ::MessageBoxW(owner, text, L"Jotstack", type);
    }
};

}  // namespace

COsActions& RealOsActions()
{
    static CRealOsActions actions;
    return actions;
}
