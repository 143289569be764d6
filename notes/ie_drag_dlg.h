// CIEDragDlg: "IE拖拽" (resource 132). What a drop of browser content
// inserts (URL, text, text with URLs, raw HTML), whether to ask every time,
// the blank line before dropped content, and the floating drop window with
// its transparency.
#pragma once

#include "framework/dialog.h"

class CIEDragDlg : public CDialog {
public:
    explicit CIEDragDlg(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    // Runs the dialog: the chosen content (0..3), or -1 when cancelled.
    // OK writes all five settings; Cancel writes nothing.
    int Run();

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    static constexpr UINT IDD = 132;
    int m_nChoice = -1;
};
