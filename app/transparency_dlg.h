// The "窗口透明度" dialog: 0 to 80 percent for the main window.
#pragma once

#include "framework/dialog.h"

class CTransparencyDlg : public CDialog {
public:
    explicit CTransparencyDlg(CWnd* parent = nullptr);

    // The confirmed percentage (valid after IDOK).
    int m_nPercent = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
