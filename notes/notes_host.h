// What the notes need of the window that shows them. The main frame
// implements it; the notes never reach into the frame otherwise.
#pragma once

#include <windows.h>

// Posted to the main window when the floating drop window has taken a drop
// while its setting says it is off: the window then follows the setting.
inline constexpr UINT WM_FLOAT_WND_SYNC = WM_USER + 25;

class CCustomTabCtrl;
class CMDIFrameWnd;

class CNotesHost {
public:
    // The multiple-document frame the pages' child frames live in.
    virtual CMDIFrameWnd& PagesFrame() = 0;
    // The tab strip that shows one tab per page.
    virtual CCustomTabCtrl& PageTabs() = 0;
    // The Save command as the user gives it: save, and say so when it fails.
    virtual void SaveNotesForUser() = 0;

protected:
    ~CNotesHost() = default;
};
