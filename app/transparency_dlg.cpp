#include "app/transparency_dlg.h"

#include <commctrl.h>

#include "app/para_block.h"
#include "res/resource.h"

CTransparencyDlg::CTransparencyDlg(CWnd* parent) : CDialog(IDD_TRANSPARENCY, parent) {}

bool CTransparencyDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND spin = GetDlgItem(IDC_TRANSPARENCY_SPIN);
    ::SendMessageW(spin, UDM_SETRANGE32, 0, 80);
    ::SendMessageW(spin, UDM_SETPOS32, 0, g_paraBlock.GetPara(PARA_TRANSPARENCY));
    return true;
}

void CTransparencyDlg::OnOK()
{
    HWND spin = GetDlgItem(IDC_TRANSPARENCY_SPIN);
    BOOL bad = FALSE;
    int pos = static_cast<int>(::SendMessageW(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&bad)));
    // Typed text outside 0..80 (or no number at all) leaves the control at
    // its nearest valid position rather than storing nonsense.
    if (bad) {
        wchar_t text[16] = {};
        ::GetDlgItemTextW(m_hWnd, IDC_TRANSPARENCY_EDIT, text, 16);
        pos = text[0] ? _wtoi(text) : 0;
    }
    pos = pos < 0 ? 0 : (pos > 80 ? 80 : pos);
    m_nPercent = pos;
    g_paraBlock.SetPara(PARA_TRANSPARENCY, pos);
    EndDialog(IDOK);
}
