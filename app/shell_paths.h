// Portable rules for the files and registry data the shell tools derive from
// the executable's path: the auto-start Run value, the Startup shortcut's
// name, the user guide beside the executable, and the main window's alpha.
#pragma once

#include <string>

namespace shellpaths {

// The Run value for the executable: quoted when the path holds a blank, so
// that Windows cannot read "C:\Program Files\..." as "C:\Program" with
// arguments (an unquoted path there runs whatever sits at the shorter name).
std::wstring RunValueForPath(const std::wstring& exePath);

// The shortcut's file name in the Startup folder: the executable's file name
// with ".lnk" in place of its extension ("Jotstack.exe" -> "Jotstack.lnk").
std::wstring ShortcutFileName(const std::wstring& exePath);

// The folder of a path: everything before its last '\\' (empty when none).
std::wstring FolderOf(const std::wstring& path);

// The user guide: the help-file path cut at its last '.' and ".htm" appended
// (a path without a '.' gets ".htm" appended as it is).
std::wstring GuidePath(const std::wstring& helpPath);

// Main-window transparency: the percentage actually applied (low 8 bits of
// the setting, at most 80) and the alpha for it, (100 - t) * 255 / 100.
int TransparencyPercent(int setting);
int TransparencyAlpha(int percent);

}  // namespace shellpaths
