// The About box: version, author and two links (e-mail, home page).
#pragma once

#include "app/link_static.h"
#include "framework/dialog.h"

// The placeholders of our own project behind the two links.
inline constexpr wchar_t kAboutMailTarget[] = L"mailto:jotstack@example.org";
inline constexpr wchar_t kAboutHomePage[] = L"https://jotstack.example.org/";
// The flavour that runs, after the version line: "32位" or "64位".
inline constexpr const wchar_t* kAboutFlavour = sizeof(void*) == 8 ? L"64位" : L"32位";

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);

    CLinkStatic m_mailLink;
    CLinkStatic m_homeLink;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    CLinkStatic* LinkOf(HWND control);
};
