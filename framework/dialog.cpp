#include "framework/dialog.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "framework/app.h"
#include "framework/strings.h"

// ---- Data exchange -------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int id)
{
    m_hLastControl = m_pDlg->GetDlgItem(id);
    return m_hLastControl;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (m_hLastControl) {
        ::SetFocus(m_hLastControl);
        ::SendMessageW(m_hLastControl, EM_SETSEL, 0, -1);
    }
}

namespace {

void ShowExchangeMessage(CDataExchange* dx, const std::wstring& text)
{
    CWinApp* app = AfxGetApp();
    ::MessageBoxW(dx->m_pDlg->m_hWnd, text.c_str(), app ? app->m_strAppName.c_str() : L"",
                  MB_OK | MB_ICONEXCLAMATION);
}

// Whole-string integer parse with surrounding blanks allowed.
bool ParseInt(const std::wstring& text, int& value)
{
    const wchar_t* p = text.c_str();
    while (*p == L' ' || *p == L'\t')
        ++p;
    if (!*p)
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    long v = std::wcstol(p, &end, 10);
    if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    while (*end == L' ' || *end == L'\t')
        ++end;
    if (*end)
        return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    if (dx->m_bFailed)
        return;
    HWND ctl = dx->PrepareCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        ::SetWindowTextW(ctl, std::to_wstring(value).c_str());
        return;
    }
    wchar_t buf[64] = {};
    ::GetWindowTextW(ctl, buf, 64);
    int parsed = 0;
    if (!ParseInt(buf, parsed)) {
        ShowExchangeMessage(dx, L"请输入一个整数。");
        dx->Fail();
        return;
    }
    value = parsed;
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value)
{
    if (dx->m_bFailed)
        return;
    HWND ctl = dx->PrepareCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        ::SetWindowTextW(ctl, value.c_str());
        return;
    }
    int len = ::GetWindowTextLengthW(ctl);
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    int got = ::GetWindowTextW(ctl, text.data(), len + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    value = text;
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    if (dx->m_bFailed)
        return;
    HWND ctl = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(ctl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(ctl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minimum, int maximum)
{
    if (dx->m_bFailed || !dx->m_bSaveAndValidate)
        return;
    if (value < minimum || value > maximum) {
        ShowExchangeMessage(dx, str::Format(L"请输入一个介于 %d 和 %d 之间的整数。", minimum, maximum));
        dx->Fail();
    }
}

// ---- CDialog -------------------------------------------------------------------

INT_PTR CALLBACK CDialog::StdDlgProc(HWND hwnd, UINT msg, WPARAM, LPARAM lp)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    // The creation hook attached the window before its first message.
    auto* dlg = dynamic_cast<CDialog*>(CWnd::FromHandle(hwnd));
    if (!dlg)
        dlg = reinterpret_cast<CDialog*>(lp);
    return dlg && dlg->OnInitDialog() ? TRUE : FALSE;
}

INT_PTR CDialog::DoModal()
{
    m_bModal = true;
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!parent) {
        CWinApp* app = AfxGetApp();
        parent = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    }
    INT_PTR result = -1;
    BeginCreation(this, [&] {
        result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                                   parent, &CDialog::StdDlgProc, reinterpret_cast<LPARAM>(this));
    });
    m_bModal = false;
    return result;
}

bool CDialog::Create(UINT idTemplate, CWnd* parent)
{
    m_nIDTemplate = idTemplate;
    m_pParentWnd = parent;
    m_bModal = false;
    HWND hwnd = nullptr;
    BeginCreation(this, [&] {
        hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(idTemplate),
                                    parent ? parent->m_hWnd : nullptr, &CDialog::StdDlgProc,
                                    reinterpret_cast<LPARAM>(this));
    });
    return hwnd != nullptr && m_hWnd == hwnd;
}

void CDialog::EndDialog(int result)
{
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow();
}

bool CDialog::UpdateData(bool save)
{
    CDataExchange dx(this, save);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

bool CDialog::OnInitDialog()
{
    // Templates leave the position to the code: centre over the owner (or
    // the screen's work area when there is none or it is hidden).
    RECT dlg = GetWindowRect();
    RECT area{};
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int w = dlg.right - dlg.left, h = dlg.bottom - dlg.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(UINT id, UINT code, HWND)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::PreTranslateMessage(MSG* msg)
{
    // Modeless dialogs need the dialog keys (Tab, Enter, Esc) translated here.
    if (!m_bModal && m_hWnd && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::IsDialogMessageW(m_hWnd, msg) != FALSE;
    return false;
}
