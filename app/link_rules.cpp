#include "app/link_rules.h"

#include <string>

namespace hyperlink {

std::wstring ErrorText(long long code)
{
    switch (code) {
    case 0: return L"The operating system is out\nof memory or resources.";
    case 2: return L"The specified file was not found.";
    case 3: return L"The specified path was not found.";
    case 5: return L"The operating system denied\naccess to the specified file.";
    case 8: return L"There was not enough memory to complete the operation.";
    case 11: return L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return L"A sharing violation occurred. ";
    case 27: return L"The filename association is\nincomplete or invalid.";
    case 28: return L"The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return L"The DDE transaction failed.";
    case 30:
        return L"The DDE transaction could not\nbe completed because other DDE transactions\n"
               L"were being processed.";
    case 31: return L"There is no application associated\nwith the given filename extension.";
    case 32: return L"The specified dynamic-link library was not found.";
    }
    return L"Unknown Error (" + std::to_wstring(code) + L") occurred.";
}

std::wstring BrowserCommandLine(const std::wstring& command, const std::wstring& target)
{
    size_t cut = command.find(L"\"%1\"");
    if (cut == std::wstring::npos)
        cut = command.find(L"%1");
    std::wstring line = cut == std::wstring::npos ? command : command.substr(0, cut);
    return line + L" " + target;
}

Rect FitToText(Rect rc, unsigned style, int width, int height)
{
    if (style & kStyleCenterImage) {
        int spare = (rc.bottom - rc.top) - height;
        rc.top += spare / 2;
        rc.bottom = rc.top + height;
    } else {
        rc.bottom = rc.top + height;
    }
    unsigned align = style & kStyleAlignMask;
    if (align == kStyleCenter) {
        int spare = (rc.right - rc.left) - width;
        rc.left += spare / 2;
        rc.right = rc.left + width;
    } else if (align == kStyleRight) {
        rc.left = rc.right - width;
    } else {
        rc.right = rc.left + width;
    }
    return rc;
}

}  // namespace hyperlink
