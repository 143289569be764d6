// Portable rules of the About box's hyperlink control: the error texts for a
// failed opening, the browser command line built from the ".htm" association
// and the fitting of the control to its text.
#pragma once

#include <string>

namespace hyperlink {

// Text for a ShellExecute result of 32 or less (the caller prefixes
// "Unable to open hyperlink:\n\n").
std::wstring ErrorText(long long code);

// The browser command of an "open" association with the target appended:
// the command is cut at the first "\"%1\"" (or "%1" when that is missing),
// then a blank and the target follow. A command without a placeholder is
// kept whole.
std::wstring BrowserCommandLine(const std::wstring& command, const std::wstring& target);

struct Rect {
    int left, top, right, bottom;
};

// Static-control styles that decide how a link shrinks to its text.
inline constexpr unsigned kStyleCenter = 0x1;        // SS_CENTER
inline constexpr unsigned kStyleRight = 0x2;         // SS_RIGHT
inline constexpr unsigned kStyleAlignMask = 0x1F;    // SS_TYPEMASK
inline constexpr unsigned kStyleCenterImage = 0x200; // SS_CENTERIMAGE

// The control's rectangle fitted to a text of width x height pixels.
Rect FitToText(Rect rc, unsigned style, int width, int height);

}  // namespace hyperlink
