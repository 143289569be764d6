// The notebook in memory: every page's name, text and view state, in tab
// order. It is the one truth for the tab strip, the page manager, saving,
// exporting and the emergency copy. A page gets a window only when it is
// shown; while it has one, its text lives in that window's editor, and the
// notebook takes it back when it is changed (at a save, or when the window
// goes). Portable: the Win32 document puts windows and files around it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "notes/storage_codec.h"

namespace notebook {

// Selection and scroll of a page: "View%d" in the INI file. Character and
// line indexes as the edit control counts them.
struct ViewState {
    int start = 0;
    int end = 0;
    int firstLine = 0;
    friend bool operator==(const ViewState&, const ViewState&) = default;
};

// The window of a page that is on screen (or was, and keeps its window).
class PageEditor {
public:
    virtual ~PageEditor() = default;
    // The user changed the text since it was last given or saved.
    virtual bool IsModified() const = 0;
    virtual std::u16string Text() const = 0;
    virtual size_t TextLength() const = 0;
    virtual ViewState State() const = 0;
    virtual void ClearModified() = 0;
};

// Stays with a page for the life of the program, whatever moves around it.
using PageId = uint64_t;
inline constexpr PageId kNoPage = 0;

struct Page {
    PageId id = kNoPage;
    std::u16string name;      // trimmed, never empty
    std::u16string text;      // as loaded, or as last taken from the editor
    ViewState view;           // as loaded, or as the editor last left it
    bool modified = false;    // a change the notebook holds itself
    PageEditor* editor = nullptr;
    // Where the INI file holds this page's view state, and what it holds:
    // a page moved or with a new state is written again, no other.
    int iniIndex = -1;
    ViewState iniView;
};

class Notebook {
public:
    Notebook();

    // Replaces every page by the stored ones (names are normalised, and no
    // pages at all give one empty page with the default name). The view
    // states are what the INI file held for each index, if anything.
    void Assign(std::vector<storage::Page> pages, const std::vector<ViewState>& views = {});

    // The view states the INI file holds, by index (pages beyond the list
    // have none, which reads as the start of the page).
    void AssignViews(const std::vector<ViewState>& views);

    int Count() const { return static_cast<int>(m_pages.size()); }
    bool IsValid(int index) const { return index >= 0 && index < Count(); }
    // Page i; i must be valid.
    const Page& At(int index) const { return m_pages[static_cast<size_t>(index)]; }
    Page& At(int index) { return m_pages[static_cast<size_t>(index)]; }
    // Index of the page with this id, -1 when there is none.
    int IndexOf(PageId id) const;

    // The page text wherever it lives now.
    std::u16string TextOf(int index) const;
    size_t TextLengthOf(int index) const;

    // ---- What the page manager does ---------------------------------------
    // A new page at the end with this name (normalised); marked modified so
    // that the next save writes it. Returns its index.
    int Append(std::u16string_view name, std::u16string text = {});
    // Removes a page; the last remaining one is never removed. The page must
    // have no editor any more. Returns false when nothing was removed.
    bool Remove(int index);
    // Renames a page (normalised) and marks it modified.
    void Rename(int index, std::u16string_view name);
    // Exchanges two pages.
    void Swap(int a, int b);
    void MarkModified(int index);

    // ---- Editors ----------------------------------------------------------
    // A page gets or loses its window. Losing it, a modified page's text and
    // the view state come back into the notebook first, so nothing is lost.
    void Attach(int index, PageEditor* editor);
    void Detach(int index);

    // ---- Saving -----------------------------------------------------------
    // Whether a save has anything to write: a page or an editor is modified.
    bool AnyModified() const;
    // Takes the text of every modified editor into its page (nothing is read
    // from an editor that is not modified).
    void CollectEditors();
    // The storage file's bytes of every page in order (CollectEditors first).
    std::string Encode(storage::Form form);
    // The same bytes handed to put in pieces of about chunkBytes (a page is
    // never split); stops when put returns false.
    void Encode(storage::Form form, size_t chunkBytes, const std::function<bool(std::string_view)>& put);
    // The file is safely written: every mark and every editor's mark go.
    void MarkSaved();

    // The view states the INI file must get: (index, state) for every page
    // whose state or place changed since it was last written or read.
    std::vector<std::pair<int, ViewState>> ViewStatesToWrite() const;
    // Those states are in the file now.
    void MarkViewStatesWritten();

private:
    ViewState CurrentView(const Page& page) const;

    std::vector<Page> m_pages;
    PageId m_nextId = 1;
};

}  // namespace notebook
