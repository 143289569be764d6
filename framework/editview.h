// CEditView: a view that is a multi-line edit control, with the standard
// editing commands (undo, cut, copy, paste, delete, select all).
#pragma once

#include <string>

#include "framework/doc.h"

class CEditView : public CView {
public:
    static constexpr DWORD dwStyleDefault = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL |
                                            ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_MULTILINE |
                                            ES_NOHIDESEL;
    // The most characters a page holds as the user types.
    static constexpr UINT nMaxSize = 1024u * 1024u - 1u;

    // The view is the edit control itself.
    CWnd& GetEditCtrl() { return *this; }

    std::wstring GetText() const { return GetWindowText(); }
    void SetText(const std::wstring& text);
    int GetBufferLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void GetSel(int& start, int& end) const;
    void SetSel(int start, int end, bool noScroll = false) const;
    std::wstring GetSelectedText() const;
    // Replaces the selection; canUndo makes the change undoable.
    void ReplaceSel(const std::wstring& text, bool canUndo) const;
    bool GetModify() const { return SendMessage(EM_GETMODIFY) != 0; }
    void SetModify(bool modified = true) const { SendMessage(EM_SETMODIFY, modified); }
    // Tab stops in dialog units (4 units are one average character).
    void SetTabStops(int dialogUnits);
    int GetTabStops() const { return m_nTabStops; }

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    bool CreateViewWindow(CFrameWnd* parent, UINT id) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool HandleCommand(CmdRequest& req) override;

    int m_nTabStops = 32;
};
