#include "notes/drag_edit.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/frame.h"
#include "notes/notes_host.h"
#include "app/para_block.h"
#include "notes/drop_rules.h"
#include "notes/ie_drag_dlg.h"
#include "notes/jotstack_view.h"
#include "notes/ole_data_source.h"

namespace {

CLIPFORMAT HtmlFormat()
{
    static const CLIPFORMAT cf = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"HTML Format"));
    return cf;
}

CLIPFORMAT UrlFormat()
{
    static const CLIPFORMAT cf = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"UniformResourceLocator"));
    return cf;
}

FORMATETC Format(CLIPFORMAT cf)
{
    return FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool Offers(IDataObject* data, CLIPFORMAT cf)
{
    FORMATETC fe = Format(cf);
    return data->QueryGetData(&fe) == S_OK;
}

// Releases a storage medium on every path.
class Medium {
public:
    Medium() = default;
    ~Medium() { if (m_valid) ::ReleaseStgMedium(&m_medium); }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    bool Get(IDataObject* data, CLIPFORMAT cf)
    {
        FORMATETC fe = Format(cf);
        m_valid = data->GetData(&fe, &m_medium) == S_OK && m_medium.tymed == TYMED_HGLOBAL && m_medium.hGlobal;
        return m_valid;
    }
    HGLOBAL Global() const { return m_medium.hGlobal; }

private:
    STGMEDIUM m_medium{};
    bool m_valid = false;
};

// Locks a global block for reading.
class GlobalView {
public:
    explicit GlobalView(HGLOBAL g) : m_g(g), m_p(::GlobalLock(g)) {}
    ~GlobalView() { if (m_p) ::GlobalUnlock(m_g); }
    GlobalView(const GlobalView&) = delete;
    GlobalView& operator=(const GlobalView&) = delete;
    const char* Data() const { return static_cast<const char*>(m_p); }
    size_t Size() const { return m_p ? ::GlobalSize(m_g) : 0; }

private:
    HGLOBAL m_g;
    void* m_p;
};

std::optional<std::string> Bytes(IDataObject* data, CLIPFORMAT cf)
{
    Medium medium;
    if (!medium.Get(data, cf)) return std::nullopt;
    GlobalView view(medium.Global());
    if (!view.Data()) return std::nullopt;
    return std::string(view.Data(), view.Size());
}

// Unicode text, or else ANSI text in the system code page; up to the NUL.
std::optional<std::wstring> DroppedText(IDataObject* data)
{
    if (auto bytes = Bytes(data, CF_UNICODETEXT)) {
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t));
        const size_t nul = text.find(L'\0');
        if (nul != std::wstring::npos) text.resize(nul);
        return text;
    }
    if (auto bytes = Bytes(data, CF_TEXT)) {
        const size_t nul = bytes->find('\0');
        if (nul != std::string::npos) bytes->resize(nul);
        if (bytes->empty()) return std::wstring();
        const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes->data(), static_cast<int>(bytes->size()), nullptr, 0);
        std::wstring text(static_cast<size_t>(n), L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, bytes->data(), static_cast<int>(bytes->size()), text.data(), n);
        return text;
    }
    return std::nullopt;
}

bool EndsWithNoCase(const std::wstring& s, const wchar_t* suffix)
{
    const size_t n = wcslen(suffix);
    return s.size() >= n && ::lstrcmpiW(s.c_str() + s.size() - n, suffix) == 0;
}

// A shortcut's target, or the path itself when it is none or cannot be read.
std::wstring ResolveShortcut(const std::wstring& path)
{
    if (!EndsWithNoCase(path, L".lnk")) return path;
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link)))) {
        return path;
    }
    std::wstring result = path;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            wchar_t target[MAX_PATH + 1] = {};
            if (link->GetPath(target, MAX_PATH, nullptr, 0) == S_OK && target[0] != L'\0') result = target;
        }
        file->Release();
    }
    link->Release();
    return result;
}

std::wstring FileListText(HDROP drop)
{
    std::vector<std::u16string> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT len = ::DragQueryFileW(drop, i, nullptr, 0);
        // An empty list reads as one empty name; no file has one.
        if (len == 0) continue;
        std::wstring path(len + 1, L'\0');
        ::DragQueryFileW(drop, i, path.data(), len + 1);
        path.resize(len);
        const std::wstring resolved = ResolveShortcut(path);
        paths.emplace_back(resolved.begin(), resolved.end());
    }
    const std::u16string text = droprules::FileListText(paths);
    return std::wstring(text.begin(), text.end());
}

// The dropped files' text; nothing when the list names no file.
std::optional<std::wstring> DroppedFiles(IDataObject* data)
{
    Medium medium;
    if (!medium.Get(data, CF_HDROP)) return std::nullopt;
    std::wstring text = FileListText(static_cast<HDROP>(medium.Global()));
    if (text.empty()) return std::nullopt;
    return text;
}

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

bool AddBlank() { return g_paraBlock.GetPara(PARA_HTML_ADD_BLANK) == 1; }

// The text a browser drop inserts, read straight from the data object's
// memory (payloads can be large: no copy of them first); nothing when the
// object has no HTML or (after telling the user) when the payload is too
// large for the memory at hand. The page stays as it was.
std::optional<std::wstring> HtmlDropText(IDataObject* data, int choice)
{
    try {
        Medium medium;
        if (!medium.Get(data, HtmlFormat())) return std::nullopt;
        GlobalView view(medium.Global());
        if (!view.Data()) return std::nullopt;
        const std::u16string text =
            droprules::HtmlDropText(std::string_view(view.Data(), view.Size()), choice, AddBlank());
        return Wide(text);
    } catch (const std::exception&) {
        ::MessageBoxW(nullptr, L"拖拽的内容太大，无法插入。", L"Jotstack", MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
}

// Copy with Ctrl, else move; never an effect the source does not allow.
// File lists are always copied: a "moved" file would be deleted by the shell.
DWORD ChooseEffect(DWORD keys, DWORD allowed, bool files)
{
    DWORD wanted = (files || (keys & MK_CONTROL)) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (allowed & wanted) return wanted;
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    if (!files && (allowed & DROPEFFECT_MOVE)) return DROPEFFECT_MOVE;
    return DROPEFFECT_NONE;
}

class EditControlLines : public droprules::EditLines {
public:
    explicit EditControlLines(const CWnd& edit) : m_edit(edit) {}
    int LineCount() const override { return static_cast<int>(m_edit.SendMessage(EM_GETLINECOUNT)); }
    int LineFromChar(int c) const override { return static_cast<int>(m_edit.SendMessage(EM_LINEFROMCHAR, static_cast<WPARAM>(c))); }
    int LineIndex(int line) const override { return static_cast<int>(m_edit.SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line))); }

private:
    const CWnd& m_edit;
};

CJotstackView* ActivePage()
{
    CWinApp* app = AfxGetApp();
    auto* frame = app ? dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd) : nullptr;
    CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
    return child ? dynamic_cast<CJotstackView*>(child->GetActiveView()) : nullptr;
}

}  // namespace

// ---- Choice of content ------------------------------------------------------

int ChooseHtmlContent(CWnd* dialogParent)
{
    if (auto stored = droprules::StoredChoice(g_paraBlock.GetPara(PARA_ASK_HTML), g_paraBlock.GetPara(PARA_HTML_SEL))) {
        return *stored;
    }
    CIEDragDlg dlg(dialogParent);
    return dlg.Run();
}

// ---- CEditDropTarget -----------------------------------------------------------

bool CEditDropTarget::Register(HWND hwnd, CDragEdit* edit)
{
    Revoke();
    if (FAILED(::RegisterDragDrop(hwnd, this))) return false;
    m_hWnd = hwnd;
    m_pEdit = edit;
    return true;
}

void CEditDropTarget::Revoke()
{
    if (m_hWnd) {
        ::RevokeDragDrop(m_hWnd);
        m_hWnd = nullptr;
    }
    m_bAccepting = false;
}

HRESULT CEditDropTarget::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT CEditDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect)
{
    const DWORD allowed = *effect;
    m_bAccepting = false;
    if (m_pEdit) {
        const DWORD e = m_pEdit->OnDragEnter(data, keys);
        m_bAccepting = e != DROPEFFECT_NONE;
        m_bFiles = e == DROPEFFECT_COPY;
        *effect = m_bAccepting ? ChooseEffect(keys, allowed, e == DROPEFFECT_COPY) : DROPEFFECT_NONE;
        return S_OK;
    }
    // The floating window takes anything.
    m_bAccepting = true;
    m_bFiles = Offers(data, CF_HDROP);
    ::SetFocus(m_hWnd);
    *effect = ChooseEffect(keys, allowed, m_bFiles);
    return S_OK;
}

HRESULT CEditDropTarget::DragOver(DWORD keys, POINTL pt, DWORD* effect)
{
    if (!m_bAccepting) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const DWORD allowed = *effect;
    if (m_pEdit) {
        POINT client{pt.x, pt.y};
        ::ScreenToClient(m_pEdit->m_hWnd, &client);
        m_pEdit->OnDragOver(keys, client);
    }
    *effect = ChooseEffect(keys, allowed, m_bFiles);
    return S_OK;
}

HRESULT CEditDropTarget::DragLeave()
{
    m_bAccepting = false;
    return S_OK;
}

HRESULT CEditDropTarget::Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect)
{
    // No exception may cross into OLE; a drop that runs out of memory
    // leaves the page as it was.
    try {
        return DropNow(data, keys, pt, effect);
    } catch (const std::exception&) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
}

HRESULT CEditDropTarget::DropNow(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect)
{
    const DWORD allowed = *effect;
    if (!m_bAccepting) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    m_bAccepting = false;
    if (m_pEdit) {
        POINT client{pt.x, pt.y};
        ::ScreenToClient(m_pEdit->m_hWnd, &client);
        *effect = allowed;
        return m_pEdit->OnDrop(data, keys, client, effect);
    }
    // Floating-window mode: to the end of the active page.
    *effect = DROPEFFECT_NONE;
    CDragEdit* page = ActivePage();
    if (!page) return S_OK;
    const bool files = Offers(data, CF_HDROP);
    if (files) {
        if (auto list = DroppedFiles(data)) {
            page->AppendFiles(*list);
            *effect = ChooseEffect(keys, allowed, true);
        }
        ::PostMessageW(m_hWnd, WM_COMMAND, IDOK, 0);
        return S_OK;
    }
    if (page->AppendDrop(data, CWnd::FromHandle(m_hWnd))) *effect = ChooseEffect(keys, allowed, false);
    if (g_paraBlock.GetPara(PARA_FLOAT_WND_SHOW) == 1) {
        ::PostMessageW(m_hWnd, WM_COMMAND, IDOK, 0);
    } else if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd) {
        app->m_pMainWnd->PostMessage(WM_FLOAT_WND_SYNC);
    }
    return S_OK;
}

// ---- CDragEdit ----------------------------------------------------------------

void CDragEdit::RegisterDropTarget()
{
    if (!m_hWnd) return;
    m_bRegistered = m_dropTarget.Register(m_hWnd, this);
    ::DragAcceptFiles(m_hWnd, TRUE);
}

void CDragEdit::RevokeDropTarget()
{
    m_dropTarget.Revoke();
    m_bRegistered = false;
}

void CDragEdit::OnInitialUpdate()
{
    CEditView::OnInitialUpdate();
    if (!m_bRegistered) {
        m_nFeatures = kDragOut | kTextDrops;
        RegisterDropTarget();
    }
}

int CDragEdit::CharFromPoint(POINT client) const
{
    // EM_CHARFROMPOS answers in 16 bits; the full index is rebuilt from the
    // line, which lies within the visible part of the page.
    const LRESULT r = SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y));
    const int first = static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
    const int line = first + ((static_cast<int>(HIWORD(r)) - first) & 0xFFFF);
    const int lineStart = static_cast<int>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line)));
    if (lineStart < 0) return static_cast<int>(LOWORD(r));
    int index = (lineStart & ~0xFFFF) | static_cast<int>(LOWORD(r));
    if (index < lineStart) index += 0x10000;
    return index;
}

void CDragEdit::ShowDropCaret(POINT client)
{
    const int index = CharFromPoint(client);
    LRESULT pos = SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(index));
    if (pos == -1 && index > 0) {
        // Past the last character: just right of the one before it.
        pos = SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(index - 1));
        if (pos != -1) {
            ::SetCaretPos(GET_X_LPARAM(pos) + 6, GET_Y_LPARAM(pos));
            return;
        }
    }
    if (pos != -1) ::SetCaretPos(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
}

DWORD CDragEdit::OnDragEnter(IDataObject* data, DWORD)
{
    if (!(m_nFeatures & kTextDrops)) return DROPEFFECT_NONE;
    const bool text = Offers(data, CF_UNICODETEXT) || Offers(data, CF_TEXT);
    // Files dropped through OLE are taken too (the shell's own drag uses
    // OLE, and a refused drop would not fall back to WM_DROPFILES).
    const bool files = Offers(data, CF_HDROP);
    if (!text && !files) return DROPEFFECT_NONE;
    ::SetFocus(m_hWnd);
    return text ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

DWORD CDragEdit::OnDragOver(DWORD, POINT client)
{
    // Near the top or bottom edge the page scrolls, as views do while
    // something is dragged over them.
    const RECT rc = GetClientRect();
    constexpr int kScrollBand = 12;
    if (client.y < rc.top + kScrollBand)
        SendMessage(EM_LINESCROLL, 0, -1);
    else if (client.y >= rc.bottom - kScrollBand)
        SendMessage(EM_LINESCROLL, 0, 1);
    ShowDropCaret(client);
    return DROPEFFECT_MOVE;
}

HRESULT CDragEdit::OnDrop(IDataObject* data, DWORD keys, POINT client, DWORD* effect)
{
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    const int index = CharFromPoint(client);
    if (m_bDragging) {
        int s = 0, e = 0;
        GetSel(s, e);
        if (droprules::WithinSelection(index, s, e)) return S_OK;
    }
    const bool html = Offers(data, HtmlFormat());
    if (html) {
        SetSel(index, index, true);
        const int choice = ChooseHtmlContent(nullptr);
        if (choice == droprules::kCancelled) return S_OK;
        if (choice != droprules::kText) {
            const std::optional<std::wstring> text = HtmlDropText(data, choice);
            if (!text) return S_OK;
            InsertAfterCaretLine(*text);
            *effect = ChooseEffect(keys, allowed, false);
            return S_OK;
        }
    }
    const std::optional<std::wstring> text = DroppedText(data);
    if (!text) {
        if (auto files = DroppedFiles(data)) {
            SetSel(index, index, true);
            InsertAfterCaretLine(*files);
            *effect = ChooseEffect(keys, allowed, true);
        }
        return S_OK;
    }
    const DWORD chosen = ChooseEffect(keys, allowed, false);
    if (chosen == DROPEFFECT_MOVE && m_bDragging) {
        // A move within this page: the drag source finishes it.
        m_bDroppedOnSelf = true;
        m_nDropIndex = index;
        *effect = DROPEFFECT_MOVE;
        return S_OK;
    }
    if (!html) SetSel(index, index, true);
    InsertAfterCaretLine(Wide(droprules::PageText(U16(*text), AddBlank())));
    *effect = chosen;
    return S_OK;
}

void CDragEdit::InsertAfterCaretLine(const std::wstring& text)
{
    int caret = 0, end = 0;
    GetSel(caret, end);
    const int pos = droprules::InsertionOffset(EditControlLines(*this), end);
    SetSel(pos, pos, true);
    ReplaceSel(text, true);
    // The replacement has brought the caret (the end of the new text) into
    // view already: selecting needs no second scroll.
    SetSel(pos, pos + static_cast<int>(text.size()), true);
}

std::u16string CDragEdit::LastLine() const
{
    // Only the end of the page matters to an append: its last line is read,
    // not the whole page.
    const int lines = static_cast<int>(SendMessage(EM_GETLINECOUNT));
    const int start = static_cast<int>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(lines > 0 ? lines - 1 : 0)));
    const int length = GetBufferLength();
    if (start < 0 || start >= length) {
        // Empty page, or the page ends with a line break.
        return length > 0 ? u"\n" : u"";
    }
    // EM_GETLINE wants the buffer size in its first word: a longer last
    // line is read with the whole page.
    if (length - start >= 0xFFFF) {
        const std::wstring all = GetText();
        return std::u16string(all.begin() + start, all.end());
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length - start) + 2, L'\0');
    buffer[0] = static_cast<wchar_t>(length - start + 1);
    const int got = static_cast<int>(SendMessage(EM_GETLINE, static_cast<WPARAM>(lines - 1), reinterpret_cast<LPARAM>(buffer.data())));
    return std::u16string(buffer.begin(), buffer.begin() + std::max(0, got));
}

void CDragEdit::InsertAtEnd(const std::wstring& text, bool scrollDown)
{
    int len = GetBufferLength();
    SetSel(len, len, true);
    if (droprules::NeedsLineBreakBeforeAppend(LastLine())) {
        ReplaceSel(L"\r\n", true);
        len = GetBufferLength();
    }
    ReplaceSel(text, true);
    SetSel(len, len + static_cast<int>(text.size()), true);
    if (scrollDown) SendMessage(EM_LINESCROLL, 0, SendMessage(EM_GETLINECOUNT));
}

bool CDragEdit::AppendDrop(IDataObject* data, CWnd* dialogParent)
{
    const bool html = Offers(data, HtmlFormat());
    if (html) {
        const int choice = ChooseHtmlContent(dialogParent);
        if (choice == droprules::kCancelled) return false;
        if (choice != droprules::kText) {
            const std::optional<std::wstring> text = HtmlDropText(data, choice);
            if (!text) return false;
            InsertAtEnd(*text, true);
            return true;
        }
    }
    const std::optional<std::wstring> text = DroppedText(data);
    if (!text) return false;
    InsertAtEnd(Wide(droprules::AppendedText(U16(*text), Offers(data, UrlFormat()), AddBlank())), html);
    return true;
}

void CDragEdit::AppendFiles(const std::wstring& fileList)
{
    InsertAtEnd(fileList, false);
}

void CDragEdit::OnDropFiles(HDROP drop)
{
    POINT client{};
    ::DragQueryPoint(drop, &client);
    const int index = CharFromPoint(client);
    const std::wstring text = FileListText(drop);
    ::DragFinish(drop);
    if (text.empty()) return;
    SetSel(index, index, true);
    InsertAfterCaretLine(text);
}

bool CDragEdit::OnLButtonDown(WPARAM, POINT client)
{
    if (!(m_nFeatures & kDragOut)) return false;
    int s = 0, e = 0;
    GetSel(s, e);
    const int index = CharFromPoint(client);
    if (!droprules::WithinSelection(index, s, e)) return false;
    // The whole selection (lines of any length) is what moves.
    const std::wstring text = GetSelectedText();
    if (text.empty()) return false;

    // Wait for the pointer to leave a square 5 pixels to each side of the
    // press point before the drag starts; a click just places the caret.
    POINT screen = client;
    ::ClientToScreen(m_hWnd, &screen);
    RECT square{screen.x - 5, screen.y - 5, screen.x + 6, screen.y + 6};
    ::SetCapture(m_hWnd);
    bool drag = false;
    for (;;) {
        MSG msg{};
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            POINT p{};
            ::GetCursorPos(&p);
            if (!::PtInRect(&square, p)) {
                drag = true;
                break;
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONDOWN || msg.message == WM_CANCELMODE ||
            (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        if (::GetCapture() != m_hWnd) break;
    }
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (!drag) {
        SetSel(index, index);
        return true;
    }

    CDataSourcePtr source;
    source->AddUnicodeText(text);
    CDropSource dropSource;
    DWORD effect = DROPEFFECT_NONE;
    m_bDragging = true;
    m_bDroppedOnSelf = false;
    const HRESULT hr = ::DoDragDrop(source.Get(), &dropSource, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    m_bDragging = false;
    if (hr != DRAGDROP_S_DROP || effect == DROPEFFECT_NONE) {
        if (!m_bDroppedOnSelf) {
            POINT p{};
            ::GetCursorPos(&p);
            ::ScreenToClient(m_hWnd, &p);
            const int at = CharFromPoint(p);
            SetSel(at, at);
            return true;
        }
    }
    if (m_bDroppedOnSelf) {
        m_bDroppedOnSelf = false;
        const auto target = droprules::MoveTarget(s, e, m_nDropIndex, static_cast<int>(text.size()));
        if (!target) return true;
        SetSel(s, e, true);
        ReplaceSel(L"", true);
        SetSel(*target, *target, true);
        ReplaceSel(text, true);
        SetSel(*target, *target + static_cast<int>(text.size()));
        return true;
    }
    if (effect & DROPEFFECT_MOVE) {
        SetSel(s, e, true);
        ReplaceSel(L"", true);
    }
    return true;
}

LRESULT CDragEdit::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_LBUTTONDOWN: {
        POINT client{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        int s = 0, e = 0;
        GetSel(s, e);
        if (s != e && ::GetFocus() == m_hWnd && OnLButtonDown(wp, client)) return 0;
        break;
    }
    case WM_SETCURSOR:
        if ((m_nFeatures & kDragOut) && reinterpret_cast<HWND>(wp) == m_hWnd && LOWORD(lp) == HTCLIENT) {
            int s = 0, e = 0;
            GetSel(s, e);
            POINT p{};
            ::GetCursorPos(&p);
            ::ScreenToClient(m_hWnd, &p);
            if (s != e && droprules::WithinSelection(CharFromPoint(p), s, e)) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
                return TRUE;
            }
        }
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_DESTROY:
        RevokeDropTarget();
        break;
    }
    return CEditView::WindowProc(msg, wp, lp);
}

