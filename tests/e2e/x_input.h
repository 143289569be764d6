// Input from the X server itself, for the gestures a window manager takes
// part in: xdotool's events go through the X server like a real mouse and
// keyboard, where Wine's SendInput stays inside Wine (a move of a window
// that the window manager drags, or a modifier another X client must see).
#pragma once

#include <windows.h>

#include <string>

// Runs the X server's xdotool (a Unix program; Wine starts it directly)
// and waits for it.
inline void XdoTool(const std::wstring& args)
{
    std::wstring cmd = L"Z:\\usr\\bin\\xdotool " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ::WaitForSingleObject(pi.hProcess, 5000);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    ::Sleep(100);
}
