#include "notes/ie_drag_dlg.h"

#include <commctrl.h>

#include "framework/app.h"
#include "app/para_block.h"
#include "res/resource.h"

int CIEDragDlg::Run()
{
    m_nChoice = -1;
    return DoModal() == IDOK ? m_nChoice : -1;
}

bool CIEDragDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Opened from the floating window (main window hidden): the middle of
    // the screen, not of the owner.
    CWinApp* app = AfxGetApp();
    const bool fromMainWindow = m_pParentWnd == nullptr || (app && m_pParentWnd == app->m_pMainWnd);
    if (!fromMainWindow) {
        RECT dlg = GetWindowRect();
        RECT desk{};
        ::GetWindowRect(::GetDesktopWindow(), &desk);
        const int w = dlg.right - dlg.left, h = dlg.bottom - dlg.top;
        ::SetWindowPos(m_hWnd, nullptr, desk.left + (desk.right - desk.left - w) / 2,
                       desk.top + (desk.bottom - desk.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    int sel = g_paraBlock.GetPara(PARA_HTML_SEL);
    if (sel < 0 || sel > 3) sel = 0;
    ::CheckRadioButton(m_hWnd, IDC_HTML_URL, IDC_HTML_RAW, IDC_HTML_URL + sel);
    ::CheckDlgButton(m_hWnd, IDC_ASK_HTML, g_paraBlock.GetPara(PARA_ASK_HTML) == 1 ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_FLOAT_SHOW, g_paraBlock.GetPara(PARA_FLOAT_WND_SHOW) == 1 ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_HTML_ADD_BLANK,
                     g_paraBlock.GetPara(PARA_HTML_ADD_BLANK) == 1 ? BST_CHECKED : BST_UNCHECKED);
    ::SendDlgItemMessageW(m_hWnd, IDC_FLOAT_TRANS_SPIN, UDM_SETRANGE32, 0, 80);
    ::SendDlgItemMessageW(m_hWnd, IDC_FLOAT_TRANS_SPIN, UDM_SETPOS32, 0, g_paraBlock.GetPara(PARA_FLOAT_WND_TRANS));
    ::SetDlgItemInt(m_hWnd, IDC_FLOAT_TRANS, static_cast<UINT>(g_paraBlock.GetPara(PARA_FLOAT_WND_TRANS)), FALSE);
    // Transparency needs layered windows, which older systems lack.
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32 || !::GetProcAddress(user32, "SetLayeredWindowAttributes")) {
        for (int id : {IDC_FLOAT_TRANS_LABEL, IDC_FLOAT_TRANS, IDC_FLOAT_TRANS_SPIN}) {
            ::EnableWindow(GetDlgItem(id), FALSE);
        }
    }
    return true;
}

void CIEDragDlg::OnOK()
{
    BOOL ok = FALSE;
    UINT trans = ::GetDlgItemInt(m_hWnd, IDC_FLOAT_TRANS, &ok, FALSE);
    if (!ok || trans > 80) {
        MessageBox(L"请输入一个介于 0 和 80 之间的整数。", nullptr, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(GetDlgItem(IDC_FLOAT_TRANS));
        return;
    }
    int choice = 0;
    for (int i = 0; i < 4; ++i) {
        if (::IsDlgButtonChecked(m_hWnd, IDC_HTML_URL + i) == BST_CHECKED) choice = i;
    }
    g_paraBlock.SetPara(PARA_HTML_SEL, choice);
    g_paraBlock.SetPara(PARA_ASK_HTML, ::IsDlgButtonChecked(m_hWnd, IDC_ASK_HTML) == BST_CHECKED ? 1 : 0);
    g_paraBlock.SetPara(PARA_FLOAT_WND_SHOW, ::IsDlgButtonChecked(m_hWnd, IDC_FLOAT_SHOW) == BST_CHECKED ? 1 : 0);
    g_paraBlock.SetPara(PARA_FLOAT_WND_TRANS, static_cast<int>(trans));
    g_paraBlock.SetPara(PARA_HTML_ADD_BLANK, ::IsDlgButtonChecked(m_hWnd, IDC_HTML_ADD_BLANK) == BST_CHECKED ? 1 : 0);
    m_nChoice = choice;
    EndDialog(IDOK);
}
