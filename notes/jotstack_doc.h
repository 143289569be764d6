// CJotstackDoc: the one document that holds every page. The document keeps
// no text of its own: a page's text is its view's edit control and its name
// is its frame's caption. The document turns the storage file into pages at
// start-up, writes all pages back on Save (keeping one backup) and exports
// them on Save As.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/doc.h"

class CJotstackView;

class CJotstackDoc : public CDocument {
public:
    // Builds the pages from the storage file. Returns false when the file
    // exists but cannot be read (the caller must not go on with an empty
    // notebook that a later save would write over the notes).
    bool LoadNotes();
    // Turns one record into a page: the first view for counter 0, a new
    // frame and view otherwise. Increments counter on success. Pages made
    // while loading keep their text aside until they are first shown.
    bool AddPage(int& counter, const std::wstring& text, const std::wstring& name);

    // Whether any page's edit control is marked modified.
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

protected:
    // The file's bytes for every page in tab order, then the unplaced ones.
    std::string EncodeNotes(bool exportForm) const;
    bool OnSaveDocument(const wchar_t* path) override;
    void OnFileSave() override;
    void OnFileSaveAs() override;

    bool m_bExport = false;          // only while Save As runs
    bool m_bKeepBackup = false;      // this write rotates the backup
    bool m_bLoading = false;         // LoadNotes is making the pages
    DWORD m_dwLastSaveError = 0;     // of the last write; 0 after a success
    // Records that could not become pages (no window could be made for
    // them): they are written back unchanged after the pages.
    std::vector<std::pair<std::wstring, std::wstring>> m_unplaced;
};
