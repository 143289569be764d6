// Find and replace of the page view: the system's find dialog (one for the
// whole program), the platform's comparison, and the edit control. The
// searching itself is notes/find_replace.
#include <windows.h>
#include <commdlg.h>

#include <string_view>

#include "notes/jotstack_view.h"
#include "notes/platform_comparer.h"

namespace {

std::u16string_view View(const std::wstring& s)
{
    return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}

std::wstring Wide(std::u16string_view s)
{
    return {reinterpret_cast<const wchar_t*>(s.data()), s.size()};
}

// Keyboard navigation of the modeless find dialog: the message loop asks
// every window under a message first.
class CFindDialogWnd : public CWnd {
public:
    bool PreTranslateMessage(MSG* msg) override
    {
        return m_hWnd && ::IsDialogMessageW(m_hWnd, msg);
    }
};

// The program's find state: last strings, options, and the one dialog.
struct FindState {
    std::wstring lastFind;
    std::wstring lastReplace;
    bool matchCase = false;
    bool down = true;
    HWND dialog = nullptr;
    bool findOnly = true;
    HWND owner = nullptr;   // the view that opened the dialog
    FINDREPLACEW fr{};
    wchar_t findBuf[1024] = {};
    wchar_t replaceBuf[1024] = {};
    CFindDialogWnd wnd;
};

FindState& SharedFindState()
{
    static FindState* state = new FindState;   // outlives every window
    return *state;
}

const UINT s_findMsg = ::RegisterWindowMessageW(FINDMSGSTRINGW);

// The wait cursor for the length of a search.
class WaitCursor {
public:
    WaitCursor() : m_old(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_old); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_old;
};

}  // namespace

UINT CJotstackView::FindDialogMessage() { return s_findMsg; }

void CJotstackView::OnFindReplace(bool findOnly)
{
    FindState& st = SharedFindState();
    m_find.Restart();
    if (st.dialog && ::IsWindow(st.dialog)) {
        if (st.findOnly == findOnly) {
            ::ShowWindow(st.dialog, SW_SHOW);
            ::SetActiveWindow(st.dialog);
            return;
        }
        ::DestroyWindow(st.dialog);
    }
    st.dialog = nullptr;

    std::wstring initial = GetSelectedText();
    if (initial.empty())
        initial = st.lastFind;
    lstrcpynW(st.findBuf, initial.c_str(), static_cast<int>(std::size(st.findBuf)));
    lstrcpynW(st.replaceBuf, st.lastReplace.c_str(), static_cast<int>(std::size(st.replaceBuf)));
    st.fr = FINDREPLACEW{};
    st.fr.lStructSize = sizeof(st.fr);
    st.fr.hwndOwner = m_hWnd;
    st.fr.Flags = FR_HIDEWHOLEWORD | (st.down ? FR_DOWN : 0) | (st.matchCase ? FR_MATCHCASE : 0);
    st.fr.lpstrFindWhat = st.findBuf;
    st.fr.wFindWhatLen = static_cast<WORD>(std::size(st.findBuf));
    st.fr.lpstrReplaceWith = st.replaceBuf;
    st.fr.wReplaceWithLen = static_cast<WORD>(std::size(st.replaceBuf));
    HWND dlg = findOnly ? ::FindTextW(&st.fr) : ::ReplaceTextW(&st.fr);
    if (!dlg)
        return;
    st.dialog = dlg;
    st.findOnly = findOnly;
    st.owner = m_hWnd;
    if (st.wnd.m_hWnd)
        st.wnd.UnsubclassWindow();
    st.wnd.SubclassWindow(dlg);
    ::ShowWindow(dlg, SW_SHOW);
}

void CJotstackView::CloseFindDialogOfThisView()
{
    FindState& st = SharedFindState();
    if (st.dialog && st.owner == m_hWnd) {
        ::DestroyWindow(st.dialog);
        st.dialog = nullptr;
        st.owner = nullptr;
    }
}

void CJotstackView::OnFindReplaceCmd(LPARAM lp)
{
    FindState& st = SharedFindState();
    auto* fr = reinterpret_cast<FINDREPLACEW*>(lp);
    if (!fr)
        return;
    const bool matchCase = (fr->Flags & FR_MATCHCASE) != 0;
    const bool down = (fr->Flags & FR_DOWN) != 0;
    const std::wstring find = fr->lpstrFindWhat ? fr->lpstrFindWhat : L"";
    const std::wstring replacement = fr->lpstrReplaceWith ? fr->lpstrReplaceWith : L"";

    if (m_find.NeedsCount(matchCase, st.matchCase)) {
        std::wstring text = GetText();
        m_find.SetMatchCount(
            findtext::CountOccurrences(View(text), View(find), PlatformComparer(matchCase)));
    }
    m_find.DirectionAsked(down, st.down);

    if (fr->Flags & FR_DIALOGTERM) {
        // The dialog's own destruction lets go of st.wnd.
        st.dialog = nullptr;
        st.owner = nullptr;
        return;
    }
    if (fr->Flags & FR_FINDNEXT)
        OnFindNext(find, down, matchCase);
    else if (fr->Flags & FR_REPLACEALL)
        OnReplaceAll(find, replacement, matchCase);
    else if (fr->Flags & FR_REPLACE)
        OnReplaceSel(find, down, matchCase, replacement);
}

bool CJotstackView::FindText(const std::wstring& find, bool down, bool matchCase)
{
    size_t pos = findtext::npos;
    {
        WaitCursor wait;
        std::wstring text = GetText();
        int s = 0, e = 0;
        GetSel(s, e);
        pos = findtext::Search(View(text), findtext::Selection{size_t(s), size_t(e)}, View(find),
                               down, PlatformComparer(matchCase));
    }
    if (pos == findtext::npos)
        return false;
    SetSel(static_cast<int>(pos), static_cast<int>(pos + find.size()));
    if (m_find.Visit())
        MessageBox(L"已完成对文档的搜索。");
    return true;
}

void CJotstackView::TextNotFound()
{
    ::MessageBeep(MB_OK);
    if (!m_find.FoundOnce())
        MessageBox(L"搜索的字符串没有找到！");
}

void CJotstackView::OnFindNext(const std::wstring& find, bool down, bool matchCase)
{
    FindState& st = SharedFindState();
    st.lastFind = find;
    st.down = down;
    st.matchCase = matchCase;
    if (FindText(find, down, matchCase))
        m_find.SetFoundOnce();
    else
        TextNotFound();
}

bool CJotstackView::CanRepeat() const
{
    return GetBufferLength() != 0 && !SharedFindState().lastFind.empty();
}

void CJotstackView::OnEditRepeat()
{
    FindState& st = SharedFindState();
    if (!FindText(st.lastFind, st.down, st.matchCase))
        TextNotFound();
}

void CJotstackView::OnReplaceSel(const std::wstring& find, bool down, bool matchCase,
                                 const std::wstring& replacement)
{
    FindState& st = SharedFindState();
    st.lastFind = find;
    st.lastReplace = replacement;
    st.down = down;
    st.matchCase = matchCase;
    int s = 0, e = 0;
    GetSel(s, e);
    if (s == e) {
        if (!FindText(find, down, matchCase))
            TextNotFound();
        return;
    }
    std::wstring text = GetText();
    if (findtext::SelectionMatches(View(text), findtext::Selection{size_t(s), size_t(e)},
                                   View(find), PlatformComparer(matchCase))) {
        ReplaceSel(replacement, false);
        FindText(find, down, matchCase);
        return;
    }
    if (!FindText(find, down, matchCase))
        TextNotFound();
}

void CJotstackView::OnReplaceAll(const std::wstring& find, const std::wstring& replacement,
                                 bool matchCase)
{
    FindState& st = SharedFindState();
    st.lastFind = find;
    st.lastReplace = replacement;
    st.matchCase = matchCase;
    st.down = true;

    findtext::ReplaceAllResult result;
    {
        WaitCursor wait;
        std::wstring text = GetText();
        int s = 0, e = 0;
        GetSel(s, e);
        result = findtext::ReplaceAll(View(text), findtext::Selection{size_t(s), size_t(e)},
                                      View(find), View(replacement), PlatformComparer(matchCase));
    }
    if (!result.found) {
        TextNotFound();
        return;
    }
    // The first search selected a match: it counts as a visit like any other.
    bool completed = false;
    for (size_t i = 0; i < result.searches; ++i)
        completed = m_find.Visit() || completed;

    UINT limit = static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
    if (result.text.size() > std::max<size_t>(limit, nMaxSize)) {
        // Cutting the page short would lose text: leave it as it was.
        MessageBox(L"替换后的文字超过了一个页签能容纳的字数（1048575 个字符），没有替换。",
                   nullptr, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // One step into the control: replacing match by match would move the
    // rest of the page and lay it out again for every occurrence.
    int firstLine = static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
    SetRedraw(false);
    PutWholeText(m_hWnd, Wide(result.text));
    SendMessage(EM_LINESCROLL, 0, firstLine);
    SetSel(static_cast<int>(result.selection.start), static_cast<int>(result.selection.end), true);
    SetRedraw(true);
    Invalidate(true);
    SendMessage(EM_SCROLLCARET);
    SetModify(true);
    if (completed)
        MessageBox(L"已完成对文档的搜索。");
}
