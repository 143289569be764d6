// Auto-start: the value "Jotstack" in the machine-wide Run key, or, when
// that cannot be written (a user without administrator rights), a shortcut
// in the user's Startup folder. Either counts as on; switching off removes
// both. The state is read from the system every time, never stored.
#pragma once

#include <windows.h>

#include <string>

// On 64-bit Windows the machine-wide Run key exists twice: a 32-bit program
// that asks for nothing else reads and writes the copy under WOW6432Node,
// the 64-bit program the native one. Both flavours write the native key and
// look in both, so that a value written by either (or by an older 32-bit
// release) is seen as on by the other and switched off in both places.
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

// The Run value is present (whatever path it names) in either registry view,
// or the shortcut file is.
BOOL IsAutoStartOn(const AutoStartPlace& place);
// Creates (or with create false deletes) the Startup shortcut; nothing when
// the Startup folder is unknown. Failures are silent.
void SetStartupShortcut(const AutoStartPlace& place, BOOL create);
// The "自动启动" command.
void ToggleAutoStart(const AutoStartPlace& place);

// The same for the running program in the real places.
BOOL IsAutoStartOn();
void SetStartupShortcut(BOOL create);
