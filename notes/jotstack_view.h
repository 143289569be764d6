// CJotstackView: the editor of one page, an edit view on the one note
// document. Word wrap, tab stops and the display font are applied when the
// view is created; the caret state of every page is kept in the INI file
// ("View%d").
#pragma once

#include <windows.h>

#include <string>

#include "framework/handles.h"
#include "notes/drag_edit.h"

class CJotstackDoc;

class CJotstackView : public CDragEdit {
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

    void OnActivateView(bool activate, CView* activated, CView* deactivated) override;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    UniqueFont m_font;

    // A page not yet shown: its text and caret state wait here.
    bool m_bDeferred = false;
    std::wstring m_strDeferred;
    int m_nDeferredStart = 0;
    int m_nDeferredEnd = 0;
    int m_nDeferredFirstLine = 0;
};
