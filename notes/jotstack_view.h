// CJotstackView: the editor of one page, an edit view on the one note
// document. Word wrap, tab stops and the display font are applied when the
// view is created; the caret state of every page is kept in the INI file
// ("View%d"). A view shows one page of the notebook at a time, and only
// while that page has a window.
#pragma once

#include <windows.h>

#include <string>

#include "notes/find_replace.h"

#include "framework/handles.h"
#include "framework/print.h"
#include "framework/text_pages.h"
#include "notes/drag_edit.h"
#include "notes/notebook.h"

class CJotstackDoc;

class CJotstackView : public CDragEdit, public CPrintable, public notebook::PageEditor {
public:
    CJotstackDoc* GetDocument() const;

    // Sets the page text whole. A stored page may be longer than what
    // typing allows; the limit is raised to fit so that nothing is cut.
    void SetPageText(const std::wstring& text);

    // ---- The page this view shows ------------------------------------------
    notebook::PageId PageId() const { return m_page; }
    // Becomes the window of a page, before its text comes.
    void BindPage(notebook::PageId page) { m_page = page; }
    // The page's text (not marked modified, no undo) and its view state:
    // scrolled to the first line, then the selection.
    void ShowPageText(const std::u16string& text, const notebook::ViewState& state);
    // Shows no page any more (its window is going).
    void ForgetPage() { m_page = notebook::kNoPage; }
    // When the page was last brought on screen (the document's counter).
    uint64_t m_nLastShown = 0;

    // notebook::PageEditor
    bool IsModified() const override { return m_hWnd && GetModify(); }
    std::u16string Text() const override;
    size_t TextLength() const override;
    notebook::ViewState State() const override;
    void ClearModified() override;

    // Writes the changed font keys of section "Font".
    static void SaveFontSettings();

    // Whether the view was made with the word wrap, tab width and font that
    // pages get now (the commands change them for the current page only; the
    // others keep theirs until they are made again).
    bool HasCurrentSettings() const { return m_nSettings == s_nSettings; }

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

    notebook::PageId m_page = notebook::kNoPage;

    // New word wrap, tab width or font for the pages made from now on, which
    // this page has already.
    void TakeNewSettings() { m_nSettings = ++s_nSettings; }
    static inline unsigned s_nSettings = 0;
    // Pages longer than this are shown in two steps (see ShowPageText).
    static constexpr size_t kShowFirstAbove = 20000;
    unsigned m_nSettings = s_nSettings;
};
