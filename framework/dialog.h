// CDialog: modal and modeless dialogs from templates, with data exchange
// between controls and members (DDX_/DDV_ functions).
#pragma once

#include <string>

#include "framework/wnd.h"

class CDialog;

// Moves values between a dialog's controls and its members. A failed
// validation shows its message, puts the focus on the control and makes the
// remaining exchange calls do nothing.
class CDataExchange {
public:
    CDataExchange(CDialog* dlg, bool saveAndValidate) : m_pDlg(dlg), m_bSaveAndValidate(saveAndValidate) {}
    HWND PrepareCtrl(int id);
    void Fail();

    CDialog* m_pDlg;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;
    HWND m_hLastControl = nullptr;
};

void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// Checks value against the range after it was read (the framework's range
// message otherwise).
void DDV_MinMaxInt(CDataExchange* dx, int value, int minimum, int maximum);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr)
        : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}

    // Runs the dialog; IDOK, IDCANCEL or -1 when it could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless.
    bool Create(UINT idTemplate, CWnd* parent);
    void EndDialog(int result);

    // Copies members into the controls (save false) or controls into the
    // members with validation (save true); false when validation failed.
    bool UpdateData(bool save = true);

    bool PreTranslateMessage(MSG* msg) override;

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx) {}
    bool OnCommand(UINT id, UINT code, HWND control) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bModal = false;

private:
    static INT_PTR CALLBACK StdDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};
