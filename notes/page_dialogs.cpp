#include "notes/page_dialogs.h"

#include "notes/jotstack_doc.h"
#include "res/resource.h"
#include "tabstrip/tab_label.h"

namespace {

std::u16string_view U16(const std::wstring& s)
{
    return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}

// The suspended redraw of a control, resumed (and repainted) at scope end.
class RedrawOff {
public:
    explicit RedrawOff(HWND hwnd) : m_hwnd(hwnd) { ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0); }
    ~RedrawOff()
    {
        ::SendMessageW(m_hwnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hwnd, nullptr, TRUE);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    HWND m_hwnd;
};

}  // namespace

// ---- Name dialog ---------------------------------------------------------------

CPageNameDlg::CPageNameDlg(CWnd* parent, Mode mode, std::wstring name,
                           std::vector<std::wstring> names, int skipIndex)
    : CDialog(IDD_PAGE_NAME, parent),
      m_strName(std::move(name)),
      m_mode(mode),
      m_names(std::move(names)),
      m_nSkip(skipIndex)
{
}

bool CPageNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_mode == ModeNew ? L"新建页签" : L"页签更名");
    ::SendMessageW(GetDlgItem(IDC_PAGE_NAME), EM_SETSEL, 0, -1);
    return true;
}

void CPageNameDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_PAGE_NAME, m_strName);
}

void CPageNameDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    std::vector<std::u16string> names;
    for (const std::wstring& n : m_names)
        names.emplace_back(U16(n));
    pages::NameResult result = pages::CheckPageName(
        U16(m_strName), names, m_mode == ModeRename ? m_nSkip : -1,
        [](std::u16string_view a, std::u16string_view b) {
            std::wstring wa(reinterpret_cast<const wchar_t*>(a.data()), a.size());
            std::wstring wb(reinterpret_cast<const wchar_t*>(b.data()), b.size());
            return ::lstrcmpW(wa.c_str(), wb.c_str()) == 0;
        });
    switch (result.check) {
    case pages::NameCheck::Empty:
        MessageBox(L"亲，你搞个空名字，是几个意思？", nullptr, MB_OK | MB_ICONEXCLAMATION);
        return;
    case pages::NameCheck::Duplicate:
        MessageBox(L"抱歉，此名称已经存在，请另换一个。", nullptr, MB_OK | MB_ICONEXCLAMATION);
        return;
    case pages::NameCheck::Ok:
        break;
    }
    m_strName.assign(reinterpret_cast<const wchar_t*>(result.name.data()), result.name.size());
    EndDialog(IDOK);
}

// ---- Page manager --------------------------------------------------------------

CPageManagerDlg::CPageManagerDlg(CWnd* parent, CJotstackDoc& doc)
    : CDialog(IDD_PAGE_MANAGER, parent), m_doc(doc)
{
}

bool CPageManagerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hList = GetDlgItem(IDC_PAGE_LIST);
    {
        RedrawOff off(m_hList);
        const int count = m_doc.PageCount();
        // Room for a big notebook's entries in one allocation.
        ::SendMessageW(m_hList, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 64);
        for (int i = 0; i < count; ++i)
            InsertEntry(i, ShownName(m_doc.PageName(i)));
    }
    ::SendMessageW(m_hList, LB_SETCURSEL, static_cast<WPARAM>(m_doc.CurrentPage()), 0);
    return true;
}

std::wstring CPageManagerDlg::ShownName(const std::wstring& name)
{
    // The list shows the names as the tabs do: a long one cut short.
    const std::u16string cut =
        tabstrip::CutItemLabel(std::u16string_view(reinterpret_cast<const char16_t*>(name.data()), name.size()));
    return std::wstring(reinterpret_cast<const wchar_t*>(cut.data()), cut.size());
}

bool CPageManagerDlg::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id) {
    case IDC_PAGE_LIST:
        if (code == LBN_SELCHANGE) {
            OnSelectionChange();
            return true;
        }
        if (code == LBN_DBLCLK) {
            OnRename();
            return true;
        }
        return false;
    case IDC_PAGE_CHANGE:
        if (code == BN_CLICKED)
            OnSelectionChange();
        return true;
    }
    if (code != BN_CLICKED)
        return CDialog::OnCommand(id, code, control);
    switch (id) {
    case IDC_PAGE_ADD:
        OnAdd();
        return true;
    case IDC_PAGE_DELETE:
        OnDelete();
        return true;
    case IDC_PAGE_RENAME:
        OnRename();
        return true;
    case IDC_PAGE_TOP:
        OnMove(pages::Move::Top);
        return true;
    case IDC_PAGE_UP:
        OnMove(pages::Move::Up);
        return true;
    case IDC_PAGE_DOWN:
        OnMove(pages::Move::Down);
        return true;
    case IDC_PAGE_BOTTOM:
        OnMove(pages::Move::Bottom);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

int CPageManagerDlg::ListCount() const
{
    return static_cast<int>(::SendMessageW(m_hList, LB_GETCOUNT, 0, 0));
}

int CPageManagerDlg::ListSelection() const
{
    return static_cast<int>(::SendMessageW(m_hList, LB_GETCURSEL, 0, 0));
}

std::wstring CPageManagerDlg::ListText(int index) const
{
    LRESULT len = ::SendMessageW(m_hList, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = ::SendMessageW(m_hList, LB_GETTEXT, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void CPageManagerDlg::InsertEntry(int index, const std::wstring& text)
{
    ::SendMessageW(m_hList, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::wstring> CPageManagerDlg::ListNames() const
{
    std::vector<std::wstring> names;
    const int count = ListCount();
    names.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        names.push_back(ListText(i));
    return names;
}

// The list's entries are the notebook's pages in order: entry i is page i.

void CPageManagerDlg::OnSelectionChange()
{
    int sel = ListSelection();
    if (sel < 0)
        return;
    m_doc.ShowPage(sel);
}

void CPageManagerDlg::OnAdd()
{
    CPageNameDlg dlg(this, CPageNameDlg::ModeNew, L"", ListNames(), -1);
    if (dlg.DoModal() != IDOK)
        return;
    int remembered = ListSelection();
    const int added = m_doc.AppendPage(dlg.m_strName);
    if (added < 0)
        return;
    InsertEntry(ListCount(), ShownName(m_doc.PageName(added)));
    // The page that was current stays so; the new one waits for its turn
    // (it is marked modified, so the next Save writes it).
    m_doc.ShowPage(remembered);
}

void CPageManagerDlg::OnDelete()
{
    if (ListCount() == 1) {
        MessageBox(L"亲，好歹留点底线吧，别都删没了。", nullptr, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int sel = ListSelection();
    if (sel < 0 || sel >= m_doc.PageCount())
        return;
    if (m_doc.PageLength(sel) != 0) {
        MessageBox(L"抱歉，该页签还有内容。请把页签内容清空后再删除。", nullptr,
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!m_doc.DeletePage(sel))
        return;
    {
        RedrawOff off(m_hList);
        ::SendMessageW(m_hList, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    }
    int next = pages::SelectionAfterDelete(sel, ListCount());
    ::SendMessageW(m_hList, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
    m_doc.ShowPage(next);
    m_doc.MarkPageModified(next);
}

void CPageManagerDlg::OnRename()
{
    int sel = ListSelection();
    if (sel < 0)
        return;
    CPageNameDlg dlg(this, CPageNameDlg::ModeRename, ListText(sel), ListNames(), sel);
    if (dlg.DoModal() != IDOK)
        return;
    m_doc.RenamePage(sel, dlg.m_strName);
    {
        RedrawOff off(m_hList);
        ::SendMessageW(m_hList, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
        InsertEntry(sel, ShownName(m_doc.PageName(sel)));
        ::SendMessageW(m_hList, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
    }
}

void CPageManagerDlg::OnMove(pages::Move move)
{
    const int from = ListSelection();
    std::optional<int> target = pages::MoveTarget(move, from, ListCount());
    if (!target)
        return;
    const int to = *target;
    std::wstring fromText = ListText(from), toText = ListText(to);
    {
        RedrawOff off(m_hList);
        ::SendMessageW(m_hList, LB_DELETESTRING, static_cast<WPARAM>(from), 0);
        InsertEntry(from, toText);
        ::SendMessageW(m_hList, LB_DELETESTRING, static_cast<WPARAM>(to), 0);
        InsertEntry(to, fromText);
        ::SendMessageW(m_hList, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
    }
    m_doc.SwapPages(from, to);
    m_doc.ShowPage(to);
    m_doc.MarkPageModified(to);
}
