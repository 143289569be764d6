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
    void SetPageText(const std::wstring& text);
    std::wstring GetPageText() const { return GetText(); }

    // Writes "View%d" for this page (and the changed font keys).
    void SaveViewState(int index);
    // Reads "View%d": scrolls to the stored first line, then selects.
    void RestoreViewState(int index);

    // The font settings shared by all pages, from section "Font".
    static void LoadFontSettings();

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool HandleCommand(CmdRequest& req) override;

    UniqueFont m_font;
};
