// The status bar explains the highlighted menu item: the menu is opened and
// walked with the keyboard as a user does, and the message pane of the real
// program's status bar is read from outside (WM_GETTEXT gives a status
// bar's first pane and crosses processes).
#include <gtest/gtest.h>

#include <windows.h>

#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"

namespace {

const wchar_t kIdleText[] = L"欢迎使用Jotstack";

HWND StatusBar(const JotstackProcess& app)
{
    return ::FindWindowExW(app.MainWindow(), nullptr, L"msctls_statusbar32", nullptr);
}

// Waits until the message pane shows `want`; returns what it shows last.
std::wstring WaitForStatus(HWND bar, const std::wstring& want, DWORD timeoutMs = 3000)
{
    std::wstring text;
    DWORD start = ::GetTickCount();
    do {
        text = ReadWindowText(bar);
        if (text == want)
            break;
        ::Sleep(20);
    } while (::GetTickCount() - start < timeoutMs);
    return text;
}

// A key press into the program's queue, where its menu loop reads keys.
void PressKey(const JotstackProcess& app, UINT vk)
{
    ::PostMessageW(app.MainWindow(), WM_KEYDOWN, vk, 1);
    ::PostMessageW(app.MainWindow(), WM_KEYUP, vk, 0xC0000001);
}

// Alt plus the menu's access key: opens that menu of the menu bar.
void OpenMenuWithAltKey(const JotstackProcess& app, wchar_t accessKey)
{
    ::PostMessageW(app.MainWindow(), WM_SYSCOMMAND, SC_KEYMENU, accessKey);
}

// Shows the main window and waits until the window manager has made it the
// active window: an activation that arrives while a menu is open closes it.
void ShowAndWaitUntilActive(const JotstackProcess& app)
{
    app.Command(ID_SHOW_MAIN_WINDOW);
    for (int i = 0; i < 150 && ::GetForegroundWindow() != app.MainWindow(); ++i)
        ::Sleep(20);
    ::Sleep(300);
}

class MenuPromptE2E : public JotstackE2ETest {};

}  // namespace

TEST_F(MenuPromptE2E, HighlightedEditMenuItemsShowTheirPromptsAndTheIdleTextComesBack)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    ShowAndWaitUntilActive(app);
    HWND bar = StatusBar(app);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(WaitForStatus(bar, kIdleText), kIdleText);
    const HWND edit = app.ActiveEdit();

    // Alt+E opens "编辑(&E)" on its first item; Down walks the items and
    // skips the separators.
    OpenMenuWithAltKey(app, L'e');
    EXPECT_EQ(WaitForStatus(bar, L"撤消上一次操作"), L"撤消上一次操作");
    const wchar_t* const walk[] = {
        L"剪切所选内容，放入剪贴板",
        L"复制所选内容，放入剪贴板",
        L"插入剪贴板中的内容",
        L"删除所选内容",
        L"查找指定的文字",
        L"重复上一次查找，找下一处",
        L"用别的文字替换指定的文字",
        L"选择当前页签的全部文字",
        L"设置文字自动换行模式",
        L"插入当前系统日期、时间",
    };
    for (const wchar_t* prompt : walk) {
        PressKey(app, VK_DOWN);
        EXPECT_EQ(WaitForStatus(bar, prompt), prompt);
    }
    // Up goes back to the word wrap item.
    PressKey(app, VK_UP);
    EXPECT_EQ(WaitForStatus(bar, L"设置文字自动换行模式"), L"设置文字自动换行模式");

    // Escape closes the menu, a second one leaves the menu bar.
    PressKey(app, VK_ESCAPE);
    PressKey(app, VK_ESCAPE);
    EXPECT_EQ(WaitForStatus(bar, kIdleText), kIdleText);
    // The menu ran no command: no find dialog, and the page's edit control
    // is the same one (switching word wrap makes a new one).
    EXPECT_EQ(app.FindOwnWindow(L"#32770", L"查找"), nullptr);
    EXPECT_EQ(app.ActiveEdit(), edit);
}

TEST_F(MenuPromptE2E, PromptOfTheViewMenuFontItemAndIdleTextAfterTheMenuIsLeft)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    ShowAndWaitUntilActive(app);
    HWND bar = StatusBar(app);
    ASSERT_NE(bar, nullptr);

    // "查看(&V)": 工具栏, 状态栏, then 制表符宽度 and 设置字体 after a separator.
    OpenMenuWithAltKey(app, L'v');
    EXPECT_EQ(WaitForStatus(bar, L"显示或隐藏工具栏"), L"显示或隐藏工具栏");
    PressKey(app, VK_DOWN);
    PressKey(app, VK_DOWN);
    EXPECT_EQ(WaitForStatus(bar, L"设置制表符显示宽度"), L"设置制表符显示宽度");
    PressKey(app, VK_DOWN);
    EXPECT_EQ(WaitForStatus(bar, L"设置文字显示所用的字体"), L"设置文字显示所用的字体");
    // Right moves to the next menu of the bar, "工具(&T)", on its first item.
    PressKey(app, VK_RIGHT);
    EXPECT_EQ(WaitForStatus(bar, L"禁止屏幕保护程序发挥作用"), L"禁止屏幕保护程序发挥作用");

    PressKey(app, VK_ESCAPE);
    PressKey(app, VK_ESCAPE);
    EXPECT_EQ(WaitForStatus(bar, kIdleText), kIdleText);
    EXPECT_EQ(app.FindOwnWindow(L"#32770", L"字体"), nullptr);
}
