#include "tabstrip/visual_style_access.h"

#include <new>
#include <string>

#include "tabstrip/visual_style_rules.h"

namespace {

using IsThemeActiveFn = BOOL(WINAPI*)();
using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);
using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
using GetThemeColorFn = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);
using GetThemeIntFn = HRESULT(WINAPI*)(HTHEME, int, int, int, int*);
using GetThemeMarginsFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, int, LPCRECT, MARGINS*);
using GetThemeFilenameFn = HRESULT(WINAPI*)(HTHEME, int, int, int, LPWSTR, int);

constexpr int kNameBuffer = 1024;

bool WindowsVersionWantsStyles()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info))
        return false;
#pragma GCC diagnostic pop
    return tabstrip::ShouldLoadVisualStyles(info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace

// The program has one UI thread and no worker threads, so loading the
// libraries needs no lock of its own.
CVisualStyleAccess::CVisualStyleAccess()
{
    if (WindowsVersionWantsStyles())
        m_hLibrary = ::LoadLibraryW(L"UxTheme.dll");
}

CVisualStyleAccess::~CVisualStyleAccess()
{
    Close();
    if (m_hLibrary)
        ::FreeLibrary(m_hLibrary);
}

template <class Fn>
Fn CVisualStyleAccess::Entry(const char* name) const
{
    if (!m_hLibrary)
        return nullptr;
    // Looked up at every call: the library may lack any of them.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m_hLibrary, name)));
}

bool CVisualStyleAccess::Open(HWND hwnd, const wchar_t* classList)
{
    if (!m_hLibrary || !hwnd || m_hTheme)
        return false;
    auto isThemeActive = Entry<IsThemeActiveFn>("IsThemeActive");
    auto openThemeData = Entry<OpenThemeDataFn>("OpenThemeData");
    if (!isThemeActive || isThemeActive() != TRUE || !openThemeData)
        return false;
    m_hTheme = openThemeData(hwnd, classList);
    if (!m_hTheme)
        return false;

    wchar_t file[kNameBuffer] = L"";
    wchar_t colour[kNameBuffer] = L"";
    wchar_t size[kNameBuffer] = L"";
    auto currentThemeName = Entry<GetCurrentThemeNameFn>("GetCurrentThemeName");
    if (currentThemeName &&
        SUCCEEDED(currentThemeName(file, kNameBuffer, colour, kNameBuffer, size, kNameBuffer)))
        m_hStyleFile = ::LoadLibraryW(file);
    if (!m_hStyleFile) {
        Close();
        return false;
    }
    return true;
}

void CVisualStyleAccess::Close()
{
    if (m_hTheme) {
        if (auto closeThemeData = Entry<CloseThemeDataFn>("CloseThemeData"))
            closeThemeData(m_hTheme);
        m_hTheme = nullptr;
    }
    if (m_hStyleFile) {
        ::FreeLibrary(m_hStyleFile);
        m_hStyleFile = nullptr;
    }
}

// The library answers with an HRESULT, where 0 means success; these
// wrappers answer "did it work", so a missing theme can never pass for S_OK.
bool CVisualStyleAccess::GetThemeColor(int part, int state, int prop, COLORREF* color) const
{
    auto fn = Entry<GetThemeColorFn>("GetThemeColor");
    return m_hTheme && fn && color && SUCCEEDED(fn(m_hTheme, part, state, prop, color));
}

bool CVisualStyleAccess::GetThemeEnumValue(int part, int state, int prop, int* value) const
{
    auto fn = Entry<GetThemeIntFn>("GetThemeEnumValue");
    return m_hTheme && fn && value && SUCCEEDED(fn(m_hTheme, part, state, prop, value));
}

bool CVisualStyleAccess::GetThemeInt(int part, int state, int prop, int* value) const
{
    auto fn = Entry<GetThemeIntFn>("GetThemeInt");
    return m_hTheme && fn && value && SUCCEEDED(fn(m_hTheme, part, state, prop, value));
}

bool CVisualStyleAccess::GetThemeMargins(int part, int state, int prop, MARGINS* margins) const
{
    auto fn = Entry<GetThemeMarginsFn>("GetThemeMargins");
    return m_hTheme && fn && margins &&
           SUCCEEDED(fn(m_hTheme, nullptr, part, state, prop, nullptr, margins));
}

bool CVisualStyleAccess::GetThemeFilename(int part, int state, int prop, wchar_t* buffer,
                                          int size) const
{
    auto fn = Entry<GetThemeFilenameFn>("GetThemeFilename");
    return m_hTheme && fn && buffer && size > 0 &&
           SUCCEEDED(fn(m_hTheme, part, state, prop, buffer, size));
}

HBITMAP CVisualStyleAccess::LoadStyleBitmap(const wchar_t* fileName) const
{
    if (!m_hStyleFile || !fileName)
        return nullptr;
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    try {
        const std::u16string name = tabstrip::StyleBitmapResourceName(
            std::u16string_view(reinterpret_cast<const char16_t*>(fileName)));
        return ::LoadBitmapW(m_hStyleFile, reinterpret_cast<const wchar_t*>(name.c_str()));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
