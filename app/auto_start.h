// Auto-start: the value "Jotstack" in the machine-wide Run key, or, when
// that cannot be written (a user without administrator rights), a shortcut
// in the user's Startup folder. Either counts as on; switching off removes
// both. The state is read from the system every time, never stored.
#pragma once

#include <windows.h>

#include <string>

// Where auto-start lives. The program uses DefaultAutoStartPlace(); tests
// point it at a key and a folder of their own.
struct AutoStartPlace {
    HKEY root = HKEY_LOCAL_MACHINE;
    std::wstring runKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    std::wstring valueName = L"Jotstack";
    std::wstring exePath;         // the executable to start
    std::wstring startupFolder;   // empty: the Startup folder is unknown
    HWND owner = nullptr;         // owner of the shell's file operation
};

AutoStartPlace DefaultAutoStartPlace(HWND owner);

// The Run value is present (whatever path it names), or the shortcut file is.
BOOL IsAutoStartOn(const AutoStartPlace& place);
// Creates (or with create false deletes) the Startup shortcut; nothing when
// the Startup folder is unknown. Failures are silent.
void SetStartupShortcut(const AutoStartPlace& place, BOOL create);
// The "自动启动" command.
void ToggleAutoStart(const AutoStartPlace& place);

// The same for the running program in the real places.
BOOL IsAutoStartOn();
void SetStartupShortcut(BOOL create);
