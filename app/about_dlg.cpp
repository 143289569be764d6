#include "app/about_dlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

bool CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_mailLink.SubclassDlgItem(IDC_ABOUT_EMAIL, this);
    m_mailLink.SetURL(kAboutMailTarget);
    m_homeLink.SubclassDlgItem(IDC_ABOUT_HOMEPAGE, this);
    m_homeLink.SetURL(kAboutHomePage);

    if (HWND version = GetDlgItem(IDC_ABOUT_VERSION)) {
        wchar_t text[MAX_PATH + 16] = {};
        ::GetWindowTextW(version, text, MAX_PATH);
        // Both flavours look alike; the box tells which one runs.
        std::wstring line = std::wstring(text) + L" Unicode版 " + kAboutFlavour;
        ::SetWindowTextW(version, line.c_str());
    }
    return true;
}

CLinkStatic* CAboutDlg::LinkOf(HWND control)
{
    if (control && control == m_mailLink.m_hWnd)
        return &m_mailLink;
    if (control && control == m_homeLink.m_hWnd)
        return &m_homeLink;
    return nullptr;
}

bool CAboutDlg::OnCommand(UINT id, UINT code, HWND control)
{
    // The links' clicks come back to them here (STN_CLICKED).
    if (CLinkStatic* link = LinkOf(control)) {
        if (code == STN_CLICKED)
            link->GotoURL();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

LRESULT CAboutDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CTLCOLORSTATIC) {
        if (CLinkStatic* link = LinkOf(reinterpret_cast<HWND>(lp)))
            return reinterpret_cast<LRESULT>(link->OnCtlColor(reinterpret_cast<HDC>(wp)));
    }
    return CDialog::WindowProc(msg, wp, lp);
}
