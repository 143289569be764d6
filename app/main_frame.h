// CMainFrame: the program's one top-level window. Its client area shows the
// current page; the toolbar sits on top and the status bar, which carries the
// page tab strip, at the bottom. The frame lives in the notification area:
// closing, Esc and minimising save the notes and hide it there; only "退出"
// in the icon's menu ends the program.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/controlbar.h"
#include "framework/frame.h"
#include "notes/notes_host.h"
#include "notes/save_failure.h"
#include "notes/status_bar.h"
#include "tabstrip/custom_tab_ctrl.h"

class CChildFrame;
class CJotstackDoc;
class CJotstackView;
class CView;

// Private messages of the main frame.
inline constexpr UINT WM_TRAY_NOTIFY = WM_USER + 10;       // notification-area icon
inline constexpr UINT kTrayIconId = 130;
inline constexpr ULONG_PTR kSecondInstanceTag = 54321;     // WM_COPYDATA from a second start

// The notification-area menu at the cursor; its commands go to owner.
void ShowTrayMenu(CWnd* owner);

class CMainFrame : public CMDIFrameWnd, public CNotesHost {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Adds the notification-area icon; the system's result.
    bool AddTrayIcon();
    // The view of the active page, or null.
    CJotstackView* GetActiveNoteView() const;
    // The one document of all pages: the frame shows its pages and its tab
    // strip mirrors them.
    void AttachNotes(CJotstackDoc* doc);
    // Restores every page's caret state and shows the saved page.
    void RestorePages();
    // Shows page i (a window is made for it when it has none); a negative i
    // keeps the current page (or takes page 0 when there is none).
    void ActivatePage(int index);
    // Writes the window position, saves the notes, the page states and the
    // current page. Returns whether the notes are safely on disk (true also
    // when nothing needed saving). Tells the user nothing.
    bool SaveState();
    // Saves the notes; on failure tells the user (the first failure of a
    // run, or every time when the user asked for the save or the exit).
    // Returns whether the notes are safely on disk. A power command calls
    // SaveNotes(SaveOccasion::PowerCommand, true) and stops when it fails.
    bool SaveNotes(SaveOccasion occasion, bool userAsked);
    // The one document of all pages (null before it is attached).
    CJotstackDoc* GetNotesDoc() const { return m_pNotes; }
    // Main-window transparency from the settings.
    void ApplyTransparency();
    // The floating drop window (app/float_drop_wnd.cpp): shown at its saved
    // place, destroyed, or either as "PARA_FLOAT_WND_SHOW" says.
    void ShowFloatWindow();
    void DestroyFloatWindow();
    void SyncFloatWindow();
    // Creates the desktop clock if needed and applies its settings
    // (main_frame_clock.cpp).
    void ShowClock();

    CCustomTabCtrl& GetTabCtrl() { return m_wndTabs; }

    // CNotesHost
    CMDIFrameWnd& PagesFrame() override { return *this; }
    CCustomTabCtrl& PageTabs() override { return m_wndTabs; }
    void SaveNotesForUser() override { SaveNotes(SaveOccasion::Hide, true); }
    // The DPI the frame lays itself out for: its monitor's (main_frame_dpi.cpp).
    int Dpi() const { return m_nDpi; }

    HMENU GetWindowMenuPopup(HMENU menuBar) override;
    void OnUpdateFrameTitle(bool addToTitle) override;
    bool PreTranslateMessage(MSG* msg) override;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool HandleCommand(CmdRequest& req) override;
    bool HandleDropCommand(CmdRequest& req);
    // Files dropped on the frame itself go to the current page.
    void OnDropFiles(HDROP drop);
    bool OnNotify(NMHDR* hdr, LRESULT* result) override;

private:
    int OnCreate(LPARAM lp);
    void OnClose();
    void TellSaveFailure(SaveOccasion occasion, bool userAsked);
    LRESULT OnQueryEndSession();
    void OnEndSession(bool ending);
    void OnSize(WPARAM type);
    LRESULT OnTrayNotify(WPARAM id, LPARAM mouseMsg);
    void UpdateTrayTip();
    void LayoutTabStrip();
    void RemoveTrayIcon();
    void ShowFromTray();
    void ToggleBar(CControlBar& bar, int para);
    void UpdateLineColumn(CCmdUI& ui);
    bool HandleClockCalendarCommand(CmdRequest& req);
    void OnClockOptions();
    // Moved to a monitor of another DPI (main_frame_dpi.cpp): bars, tabs
    // and pages at the new scale, the window where the system suggests.
    void OnDpiChanged(int dpi, const RECT* suggested);

    CCustomTabCtrl m_wndTabs;
    CJotstackDoc* m_pNotes = nullptr;
    int m_bExiting = 0;
    CCJStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CWnd* m_pClockWnd = nullptr;
    CWnd* m_pFloatWnd = nullptr;
    int m_nTipDate = 0;

    std::wstring m_strClassName;
    std::wstring m_strWrittenPos;   // "WindowPos" as the INI file has it
    UINT m_nTaskbarCreated = 0;
    SaveFailureStreak m_saveFailures;
    bool m_bBlockingShutdown = false;
    int m_nDpi = 96;
    // While the saved placement is applied: a DPI change it causes keeps
    // the saved rectangle (it was measured on that monitor).
    bool m_bRestoringPlacement = false;
};
