#include "clock/clock_options_dlg.h"

#include <commctrl.h>

#include <algorithm>

#include "res/resource.h"

CClockOptionsDlg::CClockOptionsDlg(const ClockOptions& options, bool layeredWindows, CWnd* parent)
    : CDialog(IDD_CLOCK_OPTIONS, parent), m_options(options), m_bLayered(layeredWindows)
{
}

bool CClockOptionsDlg::OnInitDialog()
{
    if (!m_bLayered)
        m_options.show = 0;
    CDialog::OnInitDialog();
    if (!m_bLayered)
        ::EnableWindow(GetDlgItem(IDC_CLOCK_SHOW), FALSE);
    HWND radius = GetDlgItem(IDC_CLOCK_RADIUS_SPIN);
    ::SendMessageW(radius, UDM_SETRANGE32, kMinRadius, kMaxRadius);
    ::SendMessageW(radius, UDM_SETPOS32, 0, std::clamp(m_options.radius, kMinRadius, kMaxRadius));
    HWND transparency = GetDlgItem(IDC_CLOCK_TRANSPARENCY_SPIN);
    ::SendMessageW(transparency, UDM_SETRANGE32, 0, kMaxTransparency);
    ::SendMessageW(transparency, UDM_SETPOS32, 0, std::clamp(m_options.transparency, 0, kMaxTransparency));
    return true;
}

void CClockOptionsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, IDC_CLOCK_SHOW, m_options.show);
    DDX_Check(dx, IDC_CLOCK_SHOW_SECOND, m_options.showSecondHand);
    DDX_Check(dx, IDC_CLOCK_SHOW_MOON, m_options.showMoon);
}

void CClockOptionsDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!m_bLayered)
        m_options.show = 0;
    // The up-down controls keep their position inside their ranges even when
    // something else was typed into the edit; clamp once more all the same.
    const int radius = LOWORD(::SendMessageW(GetDlgItem(IDC_CLOCK_RADIUS_SPIN), UDM_GETPOS, 0, 0));
    const int transparency = LOWORD(::SendMessageW(GetDlgItem(IDC_CLOCK_TRANSPARENCY_SPIN), UDM_GETPOS, 0, 0));
    m_options.radius = std::clamp(radius, kMinRadius, kMaxRadius);
    m_options.transparency = std::clamp(transparency, 0, kMaxTransparency);
    EndDialog(IDOK);
}
