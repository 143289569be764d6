#include "app/para_block.h"

#include <vector>

#include "framework/dpi.h"
#include "framework/strings.h"

wchar_t g_szIniPath[MAX_PATH] = {};
CParaBlock g_paraBlock;

para::WorkArea PrimaryWorkArea()
{
    RECT rc{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0))
        rc = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return {rc.left, rc.top, rc.right, rc.bottom};
}

CParaBlock::CParaBlock() : m_values(para::Defaults(PrimaryWorkArea(), dpi::System()))
{
    m_pszIniPath = g_szIniPath;
}

void CParaBlock::Load()
{
    para::Load(
        m_values,
        [this](const char* key) {
            std::wstring wkey(key, key + std::char_traits<char>::length(key));
            return static_cast<int>(
                ::GetPrivateProfileIntW(m_szSection, wkey.c_str(), -1, m_pszIniPath));
        },
        PrimaryWorkArea());
}

void CParaBlock::SetPara(int index, int value)
{
    const char* key = para::KeyName(index);
    if (!key)
        return;
    m_values[static_cast<size_t>(index)] = value;
    std::wstring wkey(key, key + std::char_traits<char>::length(key));
    ::WritePrivateProfileStringW(m_szSection, wkey.c_str(), std::to_wstring(value).c_str(),
                                 m_pszIniPath);
}

std::wstring ReplaceExtension(const std::wstring& path, const wchar_t* extension)
{
    size_t slash = path.find_last_of(L"\\/");
    size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < nameStart)
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::wstring ModulePath()
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size())
            return std::wstring(buf.data(), n);
        if (buf.size() >= 32768)
            return {};
        buf.resize(buf.size() * 2);
    }
}

std::wstring ModulePathWithExtension(const wchar_t* extension)
{
    const std::wstring path = ModulePath();
    return path.empty() ? path : ReplaceExtension(path, extension);
}

namespace {

std::wstring& NotesBase()
{
    static std::wstring base;
    return base;
}

}  // namespace

void SetNotesBase(const std::wstring& base)
{
    NotesBase() = base;
}

std::wstring NotesPathWithExtension(const wchar_t* extension)
{
    if (NotesBase().empty())
        return ModulePathWithExtension(extension);
    return ReplaceExtension(NotesBase(), extension);
}

bool InitParaFile()
{
    lstrcpynW(g_paraBlock.m_szSection, L"ParaBlock", 64);
    g_paraBlock.m_pszIniPath = g_szIniPath;
    std::wstring ini = NotesPathWithExtension(L".ini");
    // Never a cut path: the settings would land in some other file.
    if (ini.empty() || ini.size() >= MAX_PATH) {
        g_szIniPath[0] = L'\0';
        return false;
    }
    lstrcpynW(g_szIniPath, ini.c_str(), MAX_PATH);
    return true;
}

int IniReadInt(const wchar_t* section, const wchar_t* key, int defaultValue)
{
    return static_cast<int>(::GetPrivateProfileIntW(section, key, defaultValue, g_szIniPath));
}

std::wstring IniReadString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                           DWORD bufferChars)
{
    std::vector<wchar_t> buf(bufferChars + 1, L'\0');
    DWORD n = ::GetPrivateProfileStringW(section, key, defaultValue, buf.data(), bufferChars,
                                         g_szIniPath);
    return std::wstring(buf.data(), n);
}

void IniWriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value)
{
    ::WritePrivateProfileStringW(section, key, value.c_str(), g_szIniPath);
}

void IniWriteInt(const wchar_t* section, const wchar_t* key, int value)
{
    IniWriteString(section, key, std::to_wstring(value));
}
