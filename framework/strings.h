// Small string helpers for the Win32 layer.
#pragma once

#include <windows.h>

#include <string>

namespace str {

// The string resource with that id, or an empty string.
std::wstring Load(UINT id);

// printf-style formatting into a std::wstring. In MinGW's C++ mode "%s"
// takes a narrow string: pass wide strings with "%ls".
std::wstring Format(const wchar_t* format, ...);

// A command prompt is "status-bar text\ntooltip": the part before or after
// the line feed (the tooltip is empty when there is none).
std::wstring PromptStatusText(const std::wstring& prompt);
std::wstring PromptTipText(const std::wstring& prompt);

// Conversions between UTF-16 and UTF-8 / the ANSI code page.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace str
