// The page manager ("页签管理") and the name dialog it opens. Every action
// of the manager takes effect at once and marks a page modified, so that the
// next Save writes the new state of all pages.
#pragma once

#include <string>
#include <vector>

#include "framework/dialog.h"
#include "notes/page_rules.h"

class CJotstackDoc;

class CPageNameDlg : public CDialog {
public:
    enum Mode { ModeNew = 0, ModeRename = 1 };
    // names: the entries of the manager's list; skipIndex: the entry being
    // renamed (its own name is no duplicate).
    CPageNameDlg(CWnd* parent, Mode mode, std::wstring name, std::vector<std::wstring> names,
                 int skipIndex);

    std::wstring m_strName;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    Mode m_mode;
    std::vector<std::wstring> m_names;
    int m_nSkip;
};

class CPageManagerDlg : public CDialog {
public:
    CPageManagerDlg(CWnd* parent, CJotstackDoc& doc);

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void OnSelectionChange();
    void OnAdd();
    void OnDelete();
    void OnRename();
    void OnMove(pages::Move move);

    int ListCount() const;
    int ListSelection() const;
    std::wstring ListText(int index) const;
    void InsertEntry(int index, const std::wstring& text);
    std::vector<std::wstring> ListNames() const;
    static std::wstring ShownName(const std::wstring& name);

    CJotstackDoc& m_doc;
    HWND m_hList = nullptr;
};
