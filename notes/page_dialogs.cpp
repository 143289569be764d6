#include "notes/page_dialogs.h"

#include "app/jotstack_app.h"
#include "app/main_frame.h"
#include "notes/child_frame.h"
#include "notes/jotstack_doc.h"
#include "notes/jotstack_view.h"
#include "res/resource.h"

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

CPageManagerDlg::CPageManagerDlg(CMainFrame* frame)
    : CDialog(IDD_PAGE_MANAGER, frame), m_pFrame(frame)
{
}

bool CPageManagerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hList = GetDlgItem(IDC_PAGE_LIST);
    CCustomTabCtrl& tabs = m_pFrame->GetTabCtrl();
    {
        RedrawOff off(m_hList);
        for (int i = 0; i < tabs.GetItemCount(); ++i)
            InsertEntry(i, m_pFrame->GetPageName(i), m_pFrame->GetPageFrame(i));
    }
    ::SendMessageW(m_hList, LB_SETCURSEL, static_cast<WPARAM>(tabs.GetCurSel()), 0);
    return true;
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

CChildFrame* CPageManagerDlg::ListFrame(int index) const
{
    LRESULT data = ::SendMessageW(m_hList, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<CChildFrame*>(data);
}

void CPageManagerDlg::InsertEntry(int index, const std::wstring& text, CChildFrame* frame)
{
    LRESULT at = ::SendMessageW(m_hList, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(text.c_str()));
    if (at >= 0)
        ::SendMessageW(m_hList, LB_SETITEMDATA, static_cast<WPARAM>(at),
                       reinterpret_cast<LPARAM>(frame));
}

std::vector<std::wstring> CPageManagerDlg::ListNames() const
{
    std::vector<std::wstring> names;
    for (int i = 0; i < ListCount(); ++i)
        names.push_back(ListText(i));
    return names;
}

int CPageManagerDlg::TabIndexOf(CChildFrame* frame) const
{
    return m_pFrame->GetTabCtrl().FindItemByData(reinterpret_cast<DWORD_PTR>(frame));
}

void CPageManagerDlg::MarkModified(CChildFrame* frame)
{
    if (!frame)
        return;
    if (auto* view = dynamic_cast<CJotstackView*>(frame->GetActiveView()))
        view->SetModify(true);
}

void CPageManagerDlg::OnSelectionChange()
{
    int sel = ListSelection();
    if (sel < 0)
        return;
    m_pFrame->ActivatePage(TabIndexOf(ListFrame(sel)));
}

void CPageManagerDlg::OnAdd()
{
    CPageNameDlg dlg(this, CPageNameDlg::ModeNew, L"", ListNames(), -1);
    if (dlg.DoModal() != IDOK)
        return;
    int remembered = ListSelection();
    CView* first = m_pFrame->GetActiveNoteView();
    auto* doc = first ? dynamic_cast<CJotstackDoc*>(first->GetDocument()) : nullptr;
    int counter = 1;   // always a new frame and view, never the first view
    if (!doc || !doc->AddPage(counter, L"", dlg.m_strName))
        return;
    CCustomTabCtrl& tabs = m_pFrame->GetTabCtrl();
    const int last = tabs.GetItemCount() - 1;
    CChildFrame* frame = m_pFrame->GetPageFrame(last);
    InsertEntry(ListCount(), dlg.m_strName, frame);
    m_pFrame->ActivatePage(remembered);
    MarkModified(frame);
}

void CPageManagerDlg::OnDelete()
{
    if (ListCount() == 1) {
        MessageBox(L"亲，好歹留点底线吧，别都删没了。", nullptr, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int sel = ListSelection();
    if (sel < 0)
        return;
    CChildFrame* frame = ListFrame(sel);
    auto* view = frame ? dynamic_cast<CJotstackView*>(frame->GetActiveView()) : nullptr;
    if (!view)
        return;
    if (view->GetPageLength() != 0) {
        MessageBox(L"抱歉，该页签还有内容。请把页签内容清空后再删除。", nullptr,
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    frame->ClosePage();
    PumpMessages();   // the frame is gone before the list is touched
    {
        RedrawOff off(m_hList);
        ::SendMessageW(m_hList, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    }
    int next = pages::SelectionAfterDelete(sel, ListCount());
    ::SendMessageW(m_hList, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
    CChildFrame* nextFrame = ListFrame(next);
    m_pFrame->ActivatePage(TabIndexOf(nextFrame));
    MarkModified(nextFrame);
}

void CPageManagerDlg::OnRename()
{
    int sel = ListSelection();
    if (sel < 0)
        return;
    CPageNameDlg dlg(this, CPageNameDlg::ModeRename, ListText(sel), ListNames(), sel);
    if (dlg.DoModal() != IDOK)
        return;
    CChildFrame* frame = ListFrame(sel);
    {
        RedrawOff off(m_hList);
        ::SendMessageW(m_hList, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
        InsertEntry(sel, dlg.m_strName, frame);
        ::SendMessageW(m_hList, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
    }
    if (auto* view = frame ? dynamic_cast<CJotstackView*>(frame->GetActiveView()) : nullptr) {
        m_pFrame->SetPageName(view, dlg.m_strName);
        view->SetModify(true);
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
    CChildFrame* fromFrame = ListFrame(from);
    CChildFrame* toFrame = ListFrame(to);
    {
        RedrawOff off(m_hList);
        ::SendMessageW(m_hList, LB_DELETESTRING, static_cast<WPARAM>(from), 0);
        InsertEntry(from, toText, toFrame);
        ::SendMessageW(m_hList, LB_DELETESTRING, static_cast<WPARAM>(to), 0);
        InsertEntry(to, fromText, fromFrame);
        ::SendMessageW(m_hList, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
    }
    m_pFrame->SwapPages(from, to);
    m_pFrame->ActivatePage(to);
    MarkModified(fromFrame);
}
