// Notebooks of any size: ten thousand pages start as fast as one, only the
// page on screen has a window, every page is reached, and what is saved is
// the notebook with exactly the changes made.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"

namespace {

constexpr int kPages = 10000;

// Pages "页0" ... with short texts, page 4321 holding many lines.
Notebook BigNotebook()
{
    Notebook pages = ManyPages(kPages);
    pages[4321].second = TextInLines(20000, L'记');
    return pages;
}

std::pair<int, int> Selection(HWND edit)
{
    DWORD s = 0, e = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return {static_cast<int>(s), static_cast<int>(e)};
}

class BigNotebookE2E : public JotstackE2ETest {
protected:
    void WriteNotebook(int current, int start, int end, int firstLine)
    {
        ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes(m_pages)));
        const std::wstring ini = m_dir.File(L"Jotstack.ini");
        ::WritePrivateProfileStringW(L"ParaBlock", L"PARA_CUR_VIEW", std::to_wstring(current).c_str(), ini.c_str());
        const std::wstring section = L"View" + std::to_wstring(current);
        ::WritePrivateProfileStringW(section.c_str(), L"PARA_START_CHAR", std::to_wstring(start).c_str(), ini.c_str());
        ::WritePrivateProfileStringW(section.c_str(), L"PARA_END_CHAR", std::to_wstring(end).c_str(), ini.c_str());
        ::WritePrivateProfileStringW(section.c_str(), L"PARA_FIRST_LINE", std::to_wstring(firstLine).c_str(),
                                     ini.c_str());
    }

    // A run that shows the long page, selects [start, end) there, scrolls
    // that into view, then shows page `last` and ends with "退出". Returns
    // the long page's selection and first visible line as it left them.
    std::pair<std::pair<int, int>, LRESULT> LeaveTheLongPageScrolled(int start, int end, int last)
    {
        JotstackProcess app(m_dir);
        EXPECT_TRUE(app.Start(60000));
        app.Command(ID_SHOW_MAIN_WINDOW);
        app.SelectTab(4321);
        HWND edit = app.ActiveEdit();
        ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
        ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        const auto left = std::make_pair(Selection(edit), ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
        app.SelectTab(last);
        app.PostCommand(ID_TRAY_EXIT);
        EXPECT_TRUE(app.WaitForExit(30000));
        return left;
    }

    Notebook m_pages = BigNotebook();
};

}  // namespace

TEST_F(BigNotebookE2E, StartsWithOneWindowAndTheCurrentPageWhereTheIniSays)
{
    WriteNotebook(0, 0, 0, 0);
    // A first run leaves the long page current, scrolled and with a selection.
    const auto [selection, firstLine] = LeaveTheLongPageScrolled(16000, 16005, 4321);
    ASSERT_GT(firstLine, 0);
    JotstackProcess app(m_dir);
    const DWORD t0 = ::GetTickCount();
    ASSERT_TRUE(app.Start(60000));
    std::printf("%d pages: start to tray in %lu ms\n", kPages, static_cast<unsigned long>(::GetTickCount() - t0));
    EXPECT_EQ(app.PageCount(), kPages);
    EXPECT_EQ(app.CurrentTab(), 4321);
    EXPECT_EQ(app.PageWindowCount(), 1) << "pages never shown have no window";
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"页4321");
    HWND edit = app.ActiveEdit();
    EXPECT_EQ(Selection(edit), selection);
    EXPECT_EQ(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), firstLine);
}

TEST_F(BigNotebookE2E, TheLastPageIsReachedEditedAndSavedWithEveryOtherPageAsItWas)
{
    WriteNotebook(0, 0, 0, 0);
    const std::string original = ReadBytes(m_dir.File(L"Jotstack.txt"));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.SelectTab(kPages - 1);
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"页9999");
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), m_pages.back().second);
    app.TypeIntoCurrentPage(L"最后一页改过了");
    ::SendMessageW(app.MainWindow(), WM_CLOSE, 0, 0);   // saves and hides
    m_pages.back().second = L"最后一页改过了";
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes(m_pages));
    EXPECT_EQ(ReadBytes(app.BackupPath()), original);
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CUR_VIEW"), L"9999");

    // Shown again from the tray, then "退出" and a new start: the same page,
    // the same text, the caret where it was left.
    app.Command(ID_SHOW_MAIN_WINDOW);
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"页9999");
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 3, 5);
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(30000));
    JotstackProcess again(m_dir);
    ASSERT_TRUE(again.Start(60000));
    EXPECT_EQ(again.CurrentTab(), kPages - 1);
    EXPECT_EQ(ReadWindowText(again.ActiveEdit()), L"最后一页改过了");
    EXPECT_EQ(Selection(again.ActiveEdit()), std::make_pair(3, 5));
    EXPECT_EQ(again.PageCount(), kPages);
}

TEST_F(BigNotebookE2E, PagesGiveTheirWindowsBackButAChangedPageKeepsItsTextAndUndo)
{
    WriteNotebook(0, 0, 0, 0);
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    app.Command(ID_SHOW_MAIN_WINDOW);
    // A change typed on page 10, undoable.
    app.SelectTab(10);
    HWND edit = app.ActiveEdit();
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"新的一行\r\n"));
    // Then a walk through fifty other pages.
    for (int i = 100; i < 150; ++i) {
        app.SelectTab(i);
        ASSERT_EQ(ReadWindowText(app.ActiveChild()), L"页" + std::to_wstring(i));
    }
    EXPECT_LE(app.PageWindowCount(), 10) << "windows of pages not looked at are given back";
    app.SelectTab(10);
    edit = app.ActiveEdit();
    EXPECT_EQ(ReadWindowText(edit), L"新的一行\r\n" + m_pages[10].second);
    EXPECT_NE(::SendMessageW(edit, EM_CANUNDO, 0, 0), 0) << "the changed page kept its window and its undo";
    ::SendMessageW(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(ReadWindowText(edit), m_pages[10].second);

    // A page that gave its window back shows its state again.
    app.SelectTab(100);
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 2, 4);
    for (int i = 200; i < 220; ++i)
        app.SelectTab(i);
    app.SelectTab(100);
    EXPECT_EQ(Selection(app.ActiveEdit()), std::make_pair(2, 4));
}

TEST_F(BigNotebookE2E, KeyboardGoesToTheNextAndPreviousPageInTabOrder)
{
    WriteNotebook(kPages - 1, 0, 0, 0);
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    app.Command(ID_SHOW_MAIN_WINDOW);
    ::SetForegroundWindow(app.MainWindow());
    auto press = [&](bool shift) {
        // The keys as a user types them, through the program's message loop.
        std::vector<INPUT> in;
        auto key = [&](WORD vk, bool up) {
            INPUT i{};
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = vk;
            i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            in.push_back(i);
        };
        key(VK_CONTROL, false);
        if (shift)
            key(VK_SHIFT, false);
        key(VK_TAB, false);
        key(VK_TAB, true);
        if (shift)
            key(VK_SHIFT, true);
        key(VK_CONTROL, true);
        ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
        for (int i = 0; i < 20; ++i) {
            ::Sleep(50);
            ::SendMessageW(app.MainWindow(), WM_NULL, 0, 0);
        }
    };
    ::SetFocus(app.ActiveEdit());
    press(false);
    EXPECT_EQ(app.CurrentTab(), 0) << "from the last page round to the first";
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"页0");
    press(true);
    EXPECT_EQ(app.CurrentTab(), kPages - 1);
    press(true);
    EXPECT_EQ(app.CurrentTab(), kPages - 2);
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"页9998");
}

TEST_F(BigNotebookE2E, APageNotShownInARunKeepsItsStateForTheNext)
{
    WriteNotebook(0, 0, 0, 0);
    const auto [selection, firstLine] = LeaveTheLongPageScrolled(12000, 12003, 5);
    {
        // A run that never looks at the long page, with a change elsewhere.
        JotstackProcess app(m_dir);
        ASSERT_TRUE(app.Start(60000));
        EXPECT_EQ(app.CurrentTab(), 5);
        app.TypeIntoCurrentPage(L"别的页改了");
        app.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(30000));
    }
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.SelectTab(4321);
    HWND edit = app.ActiveEdit();
    EXPECT_EQ(ReadWindowText(edit), m_pages[4321].second);
    EXPECT_EQ(Selection(edit), selection);
    EXPECT_EQ(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), firstLine);
    EXPECT_EQ(::SendMessageW(edit, EM_GETMODIFY, 0, 0), 0) << "shown, not changed";
}
