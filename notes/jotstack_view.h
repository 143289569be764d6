// CJotstackView: the editor of one page, an edit view on the one note
// document. Word wrap, tab stops and the display font are applied when the
// view is created; the caret state of every page is kept in the INI file
// ("View%d").
#pragma once

#include <windows.h>

#include <string>

#include "notes/find_replace.h"

#include "framework/handles.h"
#include "framework/print.h"
#include "framework/text_pages.h"
#include "notes/drag_edit.h"

class CJotstackDoc;

class CJotstackView : public CDragEdit, public CPrintable {
public:
    CJotstackDoc* GetDocument() const;

    // Sets the page text whole. A stored page may be longer than what
    // typing allows; the limit is raised to fit so that nothing is cut.
    // With defer, a page that is not on screen keeps the text aside until it
    // is first shown (laying out a long text costs a noticeable moment, and
    // start-up would pay it for every page).
    void SetPageText(const std::wstring& text, bool defer = false);
    // The page text, also while it is still kept aside.
    std::wstring GetPageText() const;
    int GetPageLength() const;
    // Moves text kept aside into the edit control, with its caret state.
    void EnsureText();
    bool HasDeferredText() const { return m_bDeferred; }

    // Writes "View%d" for this page (and the changed font keys).
    void SaveViewState(int index);
    // Reads "View%d": scrolls to the stored first line, then selects.
    void RestoreViewState(int index);

    // The font settings shared by all pages, from section "Font".
    static void LoadFontSettings();
    // The page moved to a monitor of another DPI: its font at the new scale.
    void UpdateForDpi(int oldDpi, int newDpi);

    void OnActivateView(bool activate, CView* activated, CView* deactivated) override;

    // Switches word wrap by replacing the edit control (a live control cannot
    // change it). Keeps text, font, tab stops, selection, scroll position,
    // focus and the modified mark. Returns whether anything changed.
    bool SetWordWrap(bool wrap);
    bool IsWordWrap() const;

    // Tab width as the user sees it (dialog units / 4), and a sound value
    // for any setting read from the INI file.
    static int SaneTabStops(int dialogUnits);

    // ---- Printing (jotstack_view_print.cpp) ---------------------------------
    std::wstring GetPrintTitle() const override;
    bool OnBeginPrinting(HDC printerDc, CPrintInfo& info) override;
    void OnPrint(HDC dc, CPrintInfo& info) override;
    void OnEndPrinting(CPrintInfo& info) override;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool HandleCommand(CmdRequest& req) override;

    // Word wrap replaces the edit control. OnEditRecreating runs while the
    // old control is still m_hWnd, OnEditRecreated once the new one is: the
    // drop target (and file dropping) moves over to the new control.
    void OnEditRecreating() { RevokeDropTarget(); }
    void OnEditRecreated() { RegisterDropTarget(); }

    // Gives an edit control a whole new text in one step: a new buffer
    // handed over with EM_SETHANDLE, so the control lays the text out once
    // (WM_SETTEXT first deletes the old text, which costs as much again on
    // a big page). Clears the undo buffer and the modified mark.
    static void PutWholeText(HWND edit, const std::wstring& text);

    // ---- Editing commands (jotstack_view_edit.cpp) -------------------------
    bool ClipboardHasFileList() const;
    void OnEditPaste();
    void OnInsertDateTime();
    void OnToggleWordWrap();
    void OnTabStops();
    void OnSetFont();
    void OnRepairGarbled();

    // ---- Find and replace (jotstack_view_find.cpp) -------------------------
    void OnFindReplace(bool findOnly);
    void OnEditRepeat();
    bool CanRepeat() const;
    // The registered message the find dialog sends its owner.
    static UINT FindDialogMessage();
    // A request from the find dialog (the registered FINDMSGSTRING message).
    void OnFindReplaceCmd(LPARAM lp);
    // Searches from the selection and selects the match (with the visit
    // count's "completed" message); false when nothing was found.
    bool FindText(const std::wstring& find, bool down, bool matchCase);
    void OnFindNext(const std::wstring& find, bool down, bool matchCase);
    void OnReplaceSel(const std::wstring& find, bool down, bool matchCase,
                      const std::wstring& replacement);
    void OnReplaceAll(const std::wstring& find, const std::wstring& replacement, bool matchCase);
    void TextNotFound();
    void CloseFindDialogOfThisView();

    UniqueFont m_font;

    // The find dialog's bookkeeping for this page.
    findtext::FindSession m_find;

    // Printing: the page text laid out for the printer.
    bool HandlePrintCommand(CmdRequest& req);
    UniqueFont m_printFont;
    std::wstring m_printText;
    std::vector<textpages::Line> m_printLines;
    int m_nPrintLineHeight = 1;
    size_t m_nLinesPerPage = 1;
    int m_nPrintTab = 0;

    // A page not yet shown: its text and caret state wait here.
    bool m_bDeferred = false;
    std::wstring m_strDeferred;
    int m_nDeferredStart = 0;
    int m_nDeferredEnd = 0;
    int m_nDeferredFirstLine = 0;
};
