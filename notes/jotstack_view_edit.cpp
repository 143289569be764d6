// The editing commands of the page view beyond the edit control's own:
// pasting copied files, date and time, word wrap, tab width, font and the
// garbled-text repair, and the command table of the view.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "app/para_block.h"
#include "framework/dialog.h"
#include "framework/dpi.h"
#include "notes/garbled_text.h"
#include "notes/jotstack_view.h"
#include "notes/storage_file.h"
#include "res/resource.h"

// The display font shared by all pages (jotstack_view.cpp), with its height
// as a 96-DPI screen shows it, and that font at another DPI.
LOGFONTW& SharedPageFont();
LOGFONTW PageFontAt(const LOGFONTW& font96, int dpi);

namespace {

// The clipboard, open for the length of a scope.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope()
    {
        if (m_open)
            ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

// "设置制表符宽度": the tab width in average characters, 1 to 16.
class CTabWidthDlg : public CDialog {
public:
    explicit CTabWidthDlg(CWnd* parent) : CDialog(IDD_TAB_WIDTH, parent) {}
    int m_nTabWidth = 8;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_TAB_WIDTH, m_nTabWidth);
        DDV_MinMaxInt(dx, m_nTabWidth, 1, 16);
    }
};

}  // namespace

bool CJotstackView::HandleCommand(CmdRequest& req)
{
    auto hasSelection = [this](CCmdUI& ui) {
        int s = 0, e = 0;
        GetSel(s, e);
        ui.Enable(s != e);
    };
    switch (req.id) {
    case ID_EDIT_PASTE:
        return req.Run([this] { OnEditPaste(); }, [this](CCmdUI& ui) {
            ui.Enable(ClipboardHasFileList() || ::IsClipboardFormatAvailable(CF_UNICODETEXT) ||
                      ::IsClipboardFormatAvailable(CF_TEXT));
        });
    case ID_EDIT_FIND:
        return req.Run([this] { OnFindReplace(true); });
    case ID_EDIT_REPLACE:
        return req.Run([this] { OnFindReplace(false); });
    case ID_EDIT_REPEAT:
        return req.Run([this] { OnEditRepeat(); },
                       [this](CCmdUI& ui) { ui.Enable(CanRepeat()); });
    case ID_WORD_WRAP:
        return req.Run([this] { OnToggleWordWrap(); },
                       [this](CCmdUI& ui) { ui.SetCheck(IsWordWrap() ? 1 : 0); });
    case ID_INSERT_DATE_TIME:
        return req.Run([this] { OnInsertDateTime(); });
    case ID_REPAIR_GARBLED:
        return req.Run([this] { OnRepairGarbled(); }, hasSelection);
    case ID_TAB_STOPS:
        return req.Run([this] { OnTabStops(); });
    case ID_SET_FONT:
        return req.Run([this] { OnSetFont(); });
    }
    if (HandlePrintCommand(req))
        return true;
    return CDragEdit::HandleCommand(req);
}

// ---- Paste -------------------------------------------------------------------

bool CJotstackView::ClipboardHasFileList() const
{
    return ::IsClipboardFormatAvailable(CF_HDROP) != FALSE;
}

void CJotstackView::OnEditPaste()
{
    if (!ClipboardHasFileList()) {
        SendMessage(WM_PASTE);
        return;
    }
    std::wstring list;
    {
        ClipboardScope clip(m_hWnd);
        if (!clip.IsOpen())
            return;
        auto drop = static_cast<HDROP>(::GetClipboardData(CF_HDROP));
        if (!drop)
            return;
        UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            // The full path, also beyond MAX_PATH: a cut path names another file.
            UINT len = ::DragQueryFileW(drop, i, nullptr, 0);
            std::wstring path(len + 1, L'\0');
            UINT got = ::DragQueryFileW(drop, i, path.data(), len + 1);
            path.resize(got);
            list += path;
            list += L"\r\n";
        }
    }
    if (list.empty())
        return;
    int s = 0, e = 0;
    GetSel(s, e);
    size_t after = static_cast<size_t>(GetBufferLength()) - static_cast<size_t>(e - s) + list.size();
    UINT limit = static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
    if (after > limit) {
        // The control would cut the list short without a word.
        ::MessageBeep(MB_OK);
        MessageBox(L"抱歉，页签放不下这么多文字（最多 1048575 个字符）。", nullptr,
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ReplaceSel(list, true);
    SetSel(s, s + static_cast<int>(list.size()));
}

// ---- Date and time -----------------------------------------------------------

void CJotstackView::OnInsertDateTime()
{
    wchar_t date[260] = {};
    wchar_t time[260] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, date, 260);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, nullptr, nullptr, time, 260);
    ReplaceSel(std::wstring(date) + L" " + time, true);
}

// ---- Word wrap ---------------------------------------------------------------

void CJotstackView::PutWholeText(HWND edit, const std::wstring& text)
{
    HLOCAL mem = ::LocalAlloc(LMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (mem) {
        if (auto* p = static_cast<wchar_t*>(::LocalLock(mem))) {
            memcpy(p, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            ::LocalUnlock(mem);
            // The control gives up its old buffer; freeing it is ours.
            HLOCAL old = reinterpret_cast<HLOCAL>(::SendMessageW(edit, EM_GETHANDLE, 0, 0));
            ::SendMessageW(edit, EM_SETHANDLE, reinterpret_cast<WPARAM>(mem), 0);
            if (::GetWindowTextLengthW(edit) == static_cast<int>(text.size())) {
                if (old && old != mem)
                    ::LocalFree(old);
                return;
            }
            // Not taken: put the old buffer back and go the ordinary way.
            if (old)
                ::SendMessageW(edit, EM_SETHANDLE, reinterpret_cast<WPARAM>(old), 0);
        }
        ::LocalFree(mem);
    }
    ::SetWindowTextW(edit, text.c_str());
}

bool CJotstackView::IsWordWrap() const
{
    return m_hWnd && !(GetStyle() & ES_AUTOHSCROLL);
}

void CJotstackView::OnToggleWordWrap()
{
    SetWordWrap(!IsWordWrap());
    g_paraBlock.SetPara(PARA_WORD_WRAP, IsWordWrap() ? 1 : 0);
    TakeNewSettings();
}

bool CJotstackView::SetWordWrap(bool wrap)
{
    if (!m_hWnd || wrap == IsWordWrap())
        return false;
    HWND old = m_hWnd;
    HWND parent = GetParent();
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    std::wstring text = GetText();
    RECT rc = GetWindowRect();
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    const bool hadFocus = ::GetFocus() == old;
    const UINT id = static_cast<UINT>(GetDlgCtrlID());
    const bool modified = GetModify();
    const UINT limit = static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
    int selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    const int firstLine = static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));

    DWORD style = WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (!wrap)
        style |= WS_HSCROLL | ES_AUTOHSCROLL;
    HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, rc.left, rc.top,
                                  rc.right - rc.left, rc.bottom - rc.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id + 1)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!edit)
        return false;
    // Font and tab stops before the text: each change of either lays a
    // wrapping control's whole text out again.
    ::SendMessageW(edit, EM_SETLIMITTEXT, std::max<UINT>(limit, nMaxSize), 0);
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageW(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&m_nTabStops));
    PutWholeText(edit, text);
    text.clear();
    text.shrink_to_fit();

    // The old control gives up its id and the view moves over. Its text
    // goes with it when it is destroyed below (clearing it first would
    // only cost another layout of the whole page).
    OnEditRecreating();
    UnsubclassWindow();
    ::SetWindowLongPtrW(old, GWLP_ID, static_cast<LONG_PTR>(id + 1));
    SubclassWindow(edit);
    ::SetWindowLongPtrW(edit, GWLP_ID, static_cast<LONG_PTR>(id));
    SendMessage(EM_LINESCROLL, 0, firstLine);
    SendMessage(EM_SETSEL, static_cast<WPARAM>(selStart), selEnd);
    SetModify(modified);

    ::SetWindowPos(edit, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    ::ShowWindow(old, SW_HIDE);
    ::DestroyWindow(old);
    if (hadFocus)
        ::SetFocus(edit);
    // The find dialog reports to the window that opened it, which is gone.
    CloseFindDialogOfThisView();
    OnEditRecreated();
    return true;
}

// ---- Tab width ---------------------------------------------------------------

int CJotstackView::SaneTabStops(int dialogUnits)
{
    // 1 to 16 characters of 4 dialog units; anything else in the INI file
    // (0, text, huge numbers) gets the usual 8 characters.
    return (dialogUnits >= 4 && dialogUnits <= 64) ? dialogUnits : 32;
}

void CJotstackView::OnTabStops()
{
    CTabWidthDlg dlg(this);
    dlg.m_nTabWidth = GetTabStops() / 4;
    if (dlg.DoModal() != IDOK)
        return;
    SetTabStops(dlg.m_nTabWidth * 4);
    g_paraBlock.SetPara(PARA_TAB_STOPS, dlg.m_nTabWidth * 4);
    TakeNewSettings();
}

// ---- Font --------------------------------------------------------------------

void CJotstackView::OnSetFont()
{
    LOGFONTW lf{};
    HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!current)
        current = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    ::GetObjectW(current, sizeof lf, &lf);
    // The font dialog turns heights into points at the system DPI; the page
    // shows its font at its monitor's DPI, and the INI keeps it as at 96 DPI.
    const int pageDpi = dpi::ForWindow(m_hWnd);
    const int dialogDpi = dpi::System();
    if (m_font) {
        lf.lfHeight = dpiscale::Rescale(lf.lfHeight, pageDpi, dialogDpi);
        lf.lfWidth = dpiscale::Rescale(lf.lfWidth, pageDpi, dialogDpi);
    }
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = m_hWnd;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!::ChooseFontW(&cf))
        return;
    LOGFONTW chosen96 = lf;
    if (dialogDpi != dpiscale::kBaseDpi) {
        // The size picked in points is the height it has on a 96-DPI screen;
        // taking the height back from this DPI could be a pixel off.
        chosen96.lfHeight = lf.lfHeight < 0 && cf.iPointSize > 0
                                ? -::MulDiv(cf.iPointSize, dpiscale::kBaseDpi, 720)
                                : dpiscale::UnscaleFontHeight(lf.lfHeight, dialogDpi);
        chosen96.lfWidth = dpiscale::Unscale(lf.lfWidth, dialogDpi);
    }
    const LOGFONTW shown = PageFontAt(chosen96, pageDpi);
    UniqueFont font(::CreateFontIndirectW(&shown));
    if (!font)
        return;
    SetFont(font.Get(), true);
    m_font = std::move(font);
    SharedPageFont() = chosen96;
    TakeNewSettings();
}

// ---- Garbled-text repair -----------------------------------------------------

void CJotstackView::OnRepairGarbled()
{
    std::wstring selected = GetSelectedText();
    std::u16string_view sel(reinterpret_cast<const char16_t*>(selected.data()), selected.size());
    garbled::Repair r = garbled::RepairSelection(sel, notesfile::SystemCodePage());
    switch (r.outcome) {
    case garbled::Outcome::EmptySelection:
        MessageBox(L"抱歉，请先选择包含所有乱码的区域，乱码必须是选择区的首字。");
        return;
    case garbled::Outcome::NoLeadByte:
        MessageBox(L"抱歉，乱码必须是选择区的首字。");
        return;
    case garbled::Outcome::Repaired:
        ReplaceSel(std::wstring(reinterpret_cast<const wchar_t*>(r.text.data()), r.text.size()),
                   true);
        return;
    }
}
