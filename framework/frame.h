// Frame windows: CFrameWnd (menu, accelerators, control bars, command
// routing, menu and toolbar state updates), the multiple-document frame
// CMDIFrameWnd and its child frames CMDIChildWnd.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/wnd.h"

class CControlBar;
class CDocument;
class CDocTemplate;
class CView;

// What a frame needs to create its view: the document, the template and a
// factory for the view object.
struct CCreateContext {
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    std::function<CView*()> m_newView;
};

// Frame style bit: the frame's caption shows the active document's title.
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;

    // Creates the frame with menu, accelerators and icon of the resource id.
    virtual bool LoadFrame(UINT idResource, DWORD style, CWnd* parent,
                           CCreateContext* context = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view, bool notify = true);
    // The frame whose view is active: itself, or the active MDI child.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // The document of the active view, or null.
    CDocument* GetActiveDocument();

    // Shows the frame (and gives the view the focus).
    virtual void ActivateFrame(int cmdShow = -1);
    virtual void OnUpdateFrameTitle(bool addToTitle);
    // Places the control bars and gives the rest of the client area to the
    // frame's pane (the view, or the MDI client).
    virtual void RecalcLayout();

    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    void ShowControlBar(CControlBar* bar, bool show, bool delay);
    CControlBar* GetControlBar(UINT id) const;

    // The message pane of the status bar.
    void SetMessageText(const std::wstring& text);
    void SetMessageText(UINT id);   // the status part of the command's prompt
    // Brings toolbar and status bar up to date (run when the program is idle).
    void OnIdleUpdateCmdUI();

    bool OnCmdMsg(CmdRequest& req) override;
    bool PreTranslateMessage(MSG* msg) override;

    // Sends a command through the route and tells whether it is enabled.
    bool IsCommandEnabled(UINT id);
    // Writes a command's state into a user-interface element; commands that
    // nobody handles are disabled when disableIfNoHandler is set.
    void UpdateCmdUI(CCmdUI& ui, bool disableIfNoHandler);

    std::wstring m_strTitle;
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDResource = 0;
    bool m_bAutoMenuEnable = true;   // commands without a handler are disabled
    // Set to true when the object deletes itself (a creation that failed
    // half-way destroys the window, and with it the object).
    bool* m_pDeletedFlag = nullptr;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* hdr, LRESULT* result) override;
    void PostNcDestroy() override
    {
        if (m_pDeletedFlag)
            *m_pDeletedFlag = true;
        delete this;
    }

    // Creates what fills the client area (the view from the context).
    virtual bool OnCreateClient(CREATESTRUCTW* cs, CCreateContext* context);
    virtual HWND GetPaneWindow() const;
    // Window class used by LoadFrame; frames register theirs on first use.
    virtual const wchar_t* GetFrameClassName() const;

    void UpdateMenuPopup(HMENU popup);
    void SetIdleMessage();

    CView* m_pViewActive = nullptr;
    std::vector<CControlBar*> m_controlBars;
    CCreateContext* m_pCreateContext = nullptr;
    UINT m_nMenuSelectId = 0;   // the prompt being shown for a menu item

    friend class CControlBar;
};

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
public:
    HWND m_hWndMDIClient = nullptr;

    // The active child frame, or null; maximised tells whether it is maximised.
    CMDIChildWnd* MDIGetActive(bool* maximized = nullptr) const;
    void MDIActivate(CWnd* child) const;
    CFrameWnd* GetActiveFrame() override;
    // The popup of the menu bar that lists the child windows.
    virtual HMENU GetWindowMenuPopup(HMENU menuBar);
    // Puts a menu on the frame (the child's shared menu, or the default one).
    void OnUpdateFrameMenu(HMENU menu);

    bool OnCmdMsg(CmdRequest& req) override;
    bool PreTranslateMessage(MSG* msg) override;
    void OnUpdateFrameTitle(bool addToTitle) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnCreateClient(CREATESTRUCTW* cs, CCreateContext* context) override;
    HWND GetPaneWindow() const override { return m_hWndMDIClient; }
};

class CMDIChildWnd : public CFrameWnd {
public:
    bool LoadFrame(UINT idResource, DWORD style, CWnd* parent,
                   CCreateContext* context = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
    void ActivateFrame(int cmdShow = -1) override;
    void OnUpdateFrameTitle(bool addToTitle) override;
    // Closes the frame the way the MDI client wants it (WM_MDIDESTROY).
    void MDIDestroy();

    bool OnCmdMsg(CmdRequest& req) override;

    HMENU m_hMenuShared = nullptr;   // the menu shown while this child is active

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    const wchar_t* GetFrameClassName() const override;

    CMDIFrameWnd* m_pMDIFrame = nullptr;
};
