// CJotstackDoc: the one document that holds every page. Its notebook (the
// pages' names, texts and view states) is the truth; a page gets a child
// frame with its view only when it is shown, and pages that have not been
// looked at for a while give their windows back. The document turns the
// storage file into pages at start-up, writes all pages back on Save
// (keeping one backup), exports them on Save As and keeps the view states
// in the INI file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/doc.h"
#include "notes/notebook.h"

class CCustomTabCtrl;
class CJotstackView;
class CMDIFrameWnd;
class CNotesHost;

class CJotstackDoc : public CDocument {
public:
    // How many pages keep their windows after they were shown (the one on
    // screen and every modified one come on top).
    static constexpr size_t kKeptPageWindows = 8;

    // The window the pages are shown in: its multiple-document frame and
    // the tab strip that mirrors the notebook.
    void AttachHost(CNotesHost* host);

    // Builds the notebook from the storage file and fills the tab strip.
    // Returns false when the file exists but cannot be read (the caller must
    // not go on with an empty notebook that a later save would write over
    // the notes).
    bool LoadNotes();
    // Reads every page's view state from the INI file and shows the page
    // the settings name (page 0 when that one does not exist).
    void RestorePages(int current);

    // ---- Pages --------------------------------------------------------------
    int PageCount() const { return m_notebook.Count(); }
    std::wstring PageName(int index) const;
    // Characters in the page, wherever its text is now.
    size_t PageLength(int index) const;
    // The page of the tab strip's selection (-1 before the first is shown).
    int CurrentPage() const;
    // Shows page index: selects its tab, gives it a window when it has none
    // and activates that. A negative index keeps the current page (page 0
    // when there is none). Returns the page's view, or null.
    CJotstackView* ShowPage(int index);
    // The page a view shows, -1 for none.
    int PageOfView(const CJotstackView* view) const;

    // The page manager's changes. Each marks a page modified, so that the
    // next Save writes the new state of all pages.
    int AppendPage(const std::wstring& name);   // index of the new page, -1
    bool DeletePage(int index);
    void RenamePage(int index, const std::wstring& name);
    void SwapPages(int a, int b);
    void MarkPageModified(int index);

    // ---- Saving -------------------------------------------------------------
    // Whether any page or its window is marked modified.
    bool AnyPageModified() const;
    // Writes every page to the storage file (the old file becomes the
    // backup) when some page is modified. Returns true when nothing needed
    // saving or the save succeeded; on failure nothing on disk changed, the
    // pages keep their modified marks and LastSaveError() tells why. Shows
    // nothing: the frame decides what the user is told.
    bool SaveNotes();
    DWORD LastSaveError() const { return m_dwLastSaveError; }
    // Writes every page in the storage form to another file (no backup, the
    // marks stay). Returns 0 or the system error.
    DWORD WriteCopy(const std::wstring& path);
    // Writes "View%d" of every page whose selection, scroll or place changed
    // since the INI file last had it, and the font when it changed.
    void SaveViewStates();

    // The window moved to a monitor of another DPI: every page window there
    // is (on screen or kept) takes its font at the new scale; pages without
    // a window get theirs at the DPI of the moment they are shown.
    void UpdateViewsForDpi(int oldDpi, int newDpi);

    // ---- Called by the views and frames -------------------------------------
    // A page's frame became the active one (the user may pick it from the
    // window menu): its tab follows.
    void OnPageActivated(CJotstackView* view);
    // A view is being destroyed: its page takes the text (when modified) and
    // the view state back.
    void OnViewDestroying(CJotstackView* view);

protected:
    bool OnSaveDocument(const wchar_t* path) override;
    void OnFileSave() override;
    void OnFileSaveAs() override;

private:
    // Writes every page to path through a temporary file (the storage form,
    // or the export form); with backup, the old file becomes the backup.
    DWORD WriteNotes(const std::wstring& path, bool exportForm, const std::wstring* backup);
    // Pieces of the file handed to the system at once.
    static constexpr size_t kWriteChunk = 1 << 20;
    // A view for page index: its own, the first view while it shows no page
    // yet, the window of a page not looked at for long, or a new frame with
    // a view. needsText: the view does not show the page's text yet.
    CJotstackView* ViewForPage(int index, bool& needsText);
    // The window of the page not looked at for longest, when `keep` or more
    // pages have windows; never the page on screen or a modified page.
    CJotstackView* IdleView(size_t keep) const;
    CJotstackView* FindView(notebook::PageId id) const;
    // Gives back the windows of pages not seen for longest, down to
    // kKeptPageWindows; the page on screen and modified pages keep theirs.
    void ReleaseIdleWindows(const CJotstackView* onScreen);
    void CloseView(CJotstackView* view);
    void FillTabs();

    notebook::Notebook m_notebook;
    CNotesHost* m_pHost = nullptr;
    CMDIFrameWnd* m_pFrame = nullptr;
    CCustomTabCtrl* m_pTabs = nullptr;
    uint64_t m_nShowCounter = 0;   // orders the views by when they were last shown
    notebook::PageId m_currentPage = notebook::kNoPage;

    bool m_bExport = false;          // only while Save As runs
    bool m_bKeepBackup = false;      // this write rotates the backup
    DWORD m_dwLastSaveError = 0;     // of the last write; 0 after a success
};
