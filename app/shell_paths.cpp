#include "app/shell_paths.h"

#include <algorithm>

namespace shellpaths {

std::wstring RunValueForPath(const std::wstring& exePath)
{
    if (exePath.find(L' ') == std::wstring::npos)
        return exePath;
    return L"\"" + exePath + L"\"";
}

std::wstring ShortcutFileName(const std::wstring& exePath)
{
    size_t slash = exePath.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? exePath : exePath.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.resize(dot);
    return name + L".lnk";
}

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring GuidePath(const std::wstring& helpPath)
{
    size_t dot = helpPath.rfind(L'.');
    size_t slash = helpPath.rfind(L'\\');
    // A dot in a folder name is no extension.
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return helpPath + L".htm";
    return helpPath.substr(0, dot) + L".htm";
}

int TransparencyPercent(int setting)
{
    return std::min(setting & 0xFF, 80);
}

int TransparencyAlpha(int percent)
{
    return (100 - percent) * 255 / 100;
}

}  // namespace shellpaths
