// CVisualStyleAccess: the visual-style library (UxTheme.dll) loaded by name
// at run time, so that the program also runs where it does not exist or
// where no style is active. Every call reports failure instead of crashing
// when the library, the style data or the entry point is missing.
#pragma once

#include <windows.h>
#include <uxtheme.h>   // HTHEME and MARGINS only; nothing is linked from it

class CVisualStyleAccess {
public:
    // Loads UxTheme.dll on the Windows versions that the strip borrows the
    // look on (see tabstrip::ShouldLoadVisualStyles).
    CVisualStyleAccess();
    // Closes the style data and unloads the library.
    ~CVisualStyleAccess();
    CVisualStyleAccess(const CVisualStyleAccess&) = delete;
    CVisualStyleAccess& operator=(const CVisualStyleAccess&) = delete;

    bool IsLibraryLoaded() const { return m_hLibrary != nullptr; }
    bool IsOpen() const { return m_hTheme != nullptr; }

    // Opens the style data of `hwnd` for a class list such as L"SPIN" and
    // loads the current style file as a resource module. Fails when the
    // library is missing, hwnd is null, data is already open, or no visual
    // style is active; on a failure after opening, everything is closed.
    bool Open(HWND hwnd, const wchar_t* classList);
    // Closes the style data and unloads the style file.
    void Close();

    // Style properties of the open data. True only when the data is open,
    // the entry point exists and the call succeeded (the out value is then
    // set); false leaves the out value untouched.
    bool GetThemeColor(int part, int state, int prop, COLORREF* color) const;
    bool GetThemeEnumValue(int part, int state, int prop, int* value) const;
    bool GetThemeInt(int part, int state, int prop, int* value) const;
    bool GetThemeMargins(int part, int state, int prop, MARGINS* margins) const;
    bool GetThemeFilename(int part, int state, int prop, wchar_t* buffer, int size) const;

    // A bitmap of the open style file named by a style image file name
    // ("folder\name.bmp" is the resource "folder_name_bmp"). Null when no
    // style file is loaded or the resource is missing. The caller owns it.
    HBITMAP LoadStyleBitmap(const wchar_t* fileName) const;

private:
    template <class Fn>
    Fn Entry(const char* name) const;

    HMODULE m_hLibrary = nullptr;
    HMODULE m_hStyleFile = nullptr;
    HTHEME m_hTheme = nullptr;
};
