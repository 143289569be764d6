// The About box (version line, links fitted to their text, colours, the
// failure message of a link) and the Help command's look-up of the guide.
#include <gtest/gtest.h>

#include "app/about_dlg.h"
#include "app/tools_commands.h"
#include "res/resource.h"
#include "tests/win32/fake_os_actions.h"
#include "tests/win32/test_files.h"

namespace {

// A link whose opening reports a chosen shell result and whose error box
// is recorded instead of shown.
class TestLink : public CLinkStatic {
public:
    INT_PTR result = 26;
    std::wstring reported;
    int opened = 0;

protected:
    INT_PTR OpenTarget() override
    {
        ++opened;
        return result;
    }
    void ReportError(const std::wstring& text) override { reported = text; }
};

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX, nullptr)); }
    void TearDown() override { dlg.DestroyWindow(); }

    int TextWidth(HWND ctrl)
    {
        wchar_t text[256] = {};
        int n = ::GetWindowTextW(ctrl, text, 256);
        WindowDc dc(ctrl);
        SelectObjectScope font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageW(ctrl, WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), text, n, &size);
        return size.cx;
    }

    CAboutDlg dlg;
};

}  // namespace

TEST_F(AboutBox, VersionLineEndsInUnicodeEdition)
{
    wchar_t text[128] = {};
    ::GetDlgItemTextW(dlg.m_hWnd, IDC_ABOUT_VERSION, text, 128);
    EXPECT_EQ(std::wstring(text), std::wstring(L"Jotstack Version 3.00 Unicode版 ") + (sizeof(void*) == 8 ? L"64位" : L"32位"));
}

TEST_F(AboutBox, LinksCarryTheirTargetsAndFitTheirText)
{
    EXPECT_EQ(dlg.m_mailLink.GetURL(), kAboutMailTarget);
    EXPECT_EQ(dlg.m_homeLink.GetURL(), kAboutHomePage);
    RECT rc = dlg.m_homeLink.GetClientRect();
    EXPECT_EQ(rc.right, TextWidth(dlg.m_homeLink.m_hWnd));
    EXPECT_TRUE(dlg.m_homeLink.GetStyle() & SS_NOTIFY);
    EXPECT_NE(dlg.m_homeLink.m_hLinkCursor, nullptr);
    LOGFONTW lf{};
    ::GetObjectW(dlg.m_homeLink.m_font.Get(), sizeof(lf), &lf);
    EXPECT_TRUE(lf.lfUnderline);
}

TEST_F(AboutBox, ColoursFollowHoverAndVisited)
{
    CLinkStatic& link = dlg.m_homeLink;
    EXPECT_EQ(link.CurrentColor(), RGB(0, 0, 238));
    link.m_bVisited = 1;
    EXPECT_EQ(link.CurrentColor(), RGB(85, 26, 139));
    link.m_bOverControl = 1;
    EXPECT_EQ(link.CurrentColor(), ::GetSysColor(COLOR_HIGHLIGHT));
    HDC dc = ::GetDC(link.m_hWnd);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(link.m_hWnd)));
    EXPECT_EQ(brush, ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetTextColor(dc), ::GetSysColor(COLOR_HIGHLIGHT));
    ::ReleaseDC(link.m_hWnd, dc);
}

TEST_F(AboutBox, HoverFollowsTheMouseInAndOut)
{
    dlg.ShowWindow(SW_SHOW);
    CLinkStatic& link = dlg.m_homeLink;
    RECT rc = link.GetWindowRect();
    ::SetCursorPos(rc.left + 2, rc.top + 2);
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(link.m_bOverControl, 1);
    EXPECT_EQ(::GetCapture(), link.m_hWnd);   // so that leaving is noticed
    EXPECT_EQ(link.CurrentColor(), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_TRUE(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd), HTCLIENT));
    EXPECT_EQ(::GetCursor(), link.m_hLinkCursor);

    ::SetCursorPos(rc.right + 40, rc.bottom + 40);
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rc.right - rc.left + 40, 40));
    EXPECT_EQ(link.m_bOverControl, 0);
    EXPECT_NE(::GetCapture(), link.m_hWnd);
    EXPECT_EQ(link.CurrentColor(), RGB(0, 0, 238));
}

TEST_F(AboutBox, AFailedOpeningExplainsAndStaysUnvisited)
{
    HWND blank = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 20, dlg.m_hWnd,
                                   reinterpret_cast<HMENU>(5000), nullptr, nullptr);
    ASSERT_NE(blank, nullptr);
    TestLink link;
    link.SetURL(L"http://sharing.example/");
    ASSERT_TRUE(link.SubclassDlgItem(5000, &dlg));
    // A control without text shows its target, and is sized to it.
    EXPECT_EQ(link.GetWindowText(), L"http://sharing.example/");
    EXPECT_EQ(link.GetClientRect().right, TextWidth(blank));
    link.GotoURL();
    EXPECT_EQ(link.reported, L"Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(link.m_bVisited, 0);
    link.result = 33;
    link.GotoURL();
    EXPECT_EQ(link.m_bVisited, 1);
    link.UnsubclassWindow();
    ::DestroyWindow(blank);
}

TEST_F(AboutBox, AClickOnAnotherStaticOpensNothing)
{
    HWND other = ::CreateWindowExW(0, L"STATIC", L"x", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 40, 100, 20,
                                   dlg.m_hWnd, reinterpret_cast<HMENU>(5001), nullptr, nullptr);
    // What a static sends its parent on a click; only the box's own links
    // act on it (clicking those would start the real browser).
    ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(5001, STN_CLICKED), reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(dlg.m_homeLink.m_bVisited, 0);
    EXPECT_EQ(dlg.m_mailLink.m_bVisited, 0);
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    ::DestroyWindow(other);
}

// ---- Help ----------------------------------------------------------------------

TEST(UserGuide, MissingGuideSaysSo)
{
    ScratchDir dir;
    FakeOsActions os;
    OpenUserGuide(os, nullptr, dir.File(L"Jotstack.exe"));
    EXPECT_EQ(os.log, (std::vector<std::string>{"message"}));
    EXPECT_EQ(os.lastMessage, L"抱歉，找不到帮助文件。\n请下载完整的ZIP文件。");
}

TEST(UserGuide, AFolderNamedLikeTheGuideIsNoGuide)
{
    ScratchDir dir;
    ASSERT_TRUE(::CreateDirectoryW(dir.File(L"Jotstack.htm").c_str(), nullptr));
    FakeOsActions os;
    OpenUserGuide(os, nullptr, dir.File(L"Jotstack.exe"));
    EXPECT_EQ(os.log, (std::vector<std::string>{"message"}));
    ::RemoveDirectoryW(dir.File(L"Jotstack.htm").c_str());
}

TEST(UserGuide, OpensTheGuideMaximisedInItsFolder)
{
    ScratchDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"Notes.htm"), "<html></html>"));
    FakeOsActions os;
    OpenUserGuide(os, nullptr, dir.File(L"Notes.exe"));   // a renamed program
    EXPECT_EQ(os.log, (std::vector<std::string>{"shell-open(" + std::to_string(SW_SHOWMAXIMIZED) + ")"}));
    EXPECT_EQ(os.lastOpened, dir.File(L"Notes.htm"));
    EXPECT_EQ(os.lastOpenedFolder, dir.Path());
}
