// CWnd: one object owns one HWND. A static window procedure finds the object
// and calls its virtual WindowProc, where each class handles the messages it
// cares about in a switch and passes everything else to its base class; the
// last base sends it to the default procedure (DefWindowProc, or the original
// procedure of a subclassed system control).
#pragma once

#include <functional>
#include <string>

#include "framework/cmdtarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // Destroys a window that is still open; the window never outlives its object.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to a window by this framework, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Registers (once) a window class of our own that uses the framework's
    // window procedure. Returns false when registration fails.
    static bool RegisterWindowClass(const wchar_t* className, UINT style, HICON icon, HCURSOR cursor,
                              HBRUSH background);

    // Creates the window; the object receives every message from WM_NCCREATE on.
    virtual bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                          DWORD style, int x, int y, int width, int height, HWND parent,
                          HMENU menuOrId, void* param = nullptr);
    // Creates a child control of a system class and subclasses it.
    bool CreateControl(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                       DWORD style, const RECT& rect, HWND parent, UINT id);
    // Takes over an existing window: its messages now reach WindowProc first.
    bool SubclassWindow(HWND hwnd);
    // Gives the window back its own procedure and forgets it.
    HWND UnsubclassWindow();
    bool DestroyWindow();

    virtual bool PreCreateWindow(CREATESTRUCTW& cs) { return true; }
    // Gives the window a chance to translate a message before dispatch
    // (accelerators, dialog keys). Returns true when the message was consumed.
    virtual bool PreTranslateMessage(MSG* msg) { return false; }

    // --- Thin wrappers over the window functions --------------------------
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageW(m_hWnd, msg, wp, lp);
    }
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE;
    }
    bool ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    bool IsZoomed() const { return ::IsZoomed(m_hWnd) != FALSE; }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    void MoveWindow(const RECT& rc, bool repaint = true) const;
    bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) != FALSE;
    }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    void ModifyStyle(DWORD remove, DWORD add) const;
    std::wstring GetWindowText() const;
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    void SetFont(HFONT font, bool redraw = true) const {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    int MessageBox(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK) const;
    void SetRedraw(bool redraw) const { SendMessage(WM_SETREDRAW, redraw); }

protected:
    // Handles one message. Overrides switch over the messages they handle and
    // call their base class for the rest.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // The procedure that handles what WindowProc leaves.
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // Passes the message being handled to DefWindowProc unchanged.
    LRESULT Default();

    // WM_COMMAND and WM_NOTIFY arrive here from WindowProc; return true when
    // handled. Frames route menu commands; dialogs handle their controls.
    virtual bool OnCommand(UINT id, UINT code, HWND control) { return false; }
    virtual bool OnNotify(NMHDR* hdr, LRESULT* result) { return false; }

    // Called after the last message (WM_NCDESTROY), when m_hWnd is already
    // null. Objects that own themselves (frames, views) delete themselves here.
    virtual void PostNcDestroy() {}

    WNDPROC m_pfnSuper = nullptr;   // original procedure of a subclassed window

private:
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void Attach(HWND hwnd);
    void Detach();

    MSG m_currentMsg{};   // the message WindowProc is handling, for Default()

protected:
    // Runs a creation call (CreateDialog, DialogBox) with the creation hook
    // set for this object, so the first window created is attached to it.
    static void BeginCreation(CWnd* wnd, std::function<void()> create);
};

// The window property that links a window to its object.
inline constexpr wchar_t kPropWindowObject[] = L"Jotstack.CWnd";
