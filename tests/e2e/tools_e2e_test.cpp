// The tools of the real Jotstack.exe under Wine, with the real system where
// that is harmless in the throwaway test prefix: the screen-saver setting,
// the machine-wide Run value (read back with reg.exe), the shortcut in the
// Startup folder, the transparency dialog, the About box, the user guide
// and "关机" itself, after which the notes typed just before are on disk.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "res/resource.h"
#include "tests/e2e/jotstack_process.h"
#include "tests/e2e/tools_e2e_helpers.h"

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class ToolsE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (JotstackUnderTest().empty())
            GTEST_SKIP() << "JOTSTACK_EXE is not set";
        // Nothing of an earlier run may make auto-start look on.
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Jotstack");
        ::DeleteFileW(StartupShortcut().c_str());
    }
    void TearDown() override
    {
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Jotstack");
        ::DeleteFileW(StartupShortcut().c_str());
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr) == ERROR_SUCCESS)
            ::RegCloseKey(key);
    }

    static std::wstring StartupShortcut()
    {
        wchar_t folder[MAX_PATH] = {};
        if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, 0, folder)))
            return L"<no startup folder>";
        return std::wstring(folder) + L"\\Jotstack.lnk";
    }

    ScratchDir m_dir;
};

bool ScreenSaverActive()
{
    // Read from the user profile, where the program's change is written:
    // another process's cached system parameter may lag behind.
    wchar_t value[16] = {};
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveActive", RRF_RT_REG_SZ,
                       nullptr, value, &size) != ERROR_SUCCESS) {
        // Never written yet: the system's default holds.
        BOOL active = FALSE;
        ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        return active != FALSE;
    }
    return value[0] == L'1';
}

}  // namespace

TEST_F(ToolsE2E, ScreenSaverOffTwiceRestoresTheSystemSetting)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    bool before = ScreenSaverActive();
    app.Command(ID_SCREEN_SAVER_OFF);
    EXPECT_EQ(ScreenSaverActive(), !before);
    app.Command(ID_SCREEN_SAVER_OFF);
    EXPECT_EQ(ScreenSaverActive(), before);
}

TEST_F(ToolsE2E, AutoStartWritesAndRemovesTheRunValue)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_AUTO_START);
    RegQueryResult on = RegQuery(L"HKLM\\" + std::wstring(kRunKey), L"Jotstack");
    EXPECT_EQ(on.exitCode, 0);
    EXPECT_NE(on.output.find("Jotstack.exe"), std::string::npos) << on.output;
    EXPECT_FALSE(FileExists(StartupShortcut()));

    app.Command(ID_AUTO_START);
    EXPECT_NE(RegQuery(L"HKLM\\" + std::wstring(kRunKey), L"Jotstack").exitCode, 0);
}

TEST_F(ToolsE2E, AutoStartFallsBackToAStartupShortcut)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    // Without the Run key the value cannot be written, as for a user
    // without administrator rights.
    ASSERT_EQ(::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRunKey), ERROR_SUCCESS);
    app.Command(ID_AUTO_START);
    ASSERT_TRUE(FileExists(StartupShortcut()));
    EXPECT_EQ(ShortcutTarget(StartupShortcut()), app.ExePath());
    app.Command(ID_AUTO_START);
    EXPECT_FALSE(FileExists(StartupShortcut()));
}

TEST_F(ToolsE2E, TransparencyDialogMakesTheWindowTranslucentAndBack)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(SetTransparencyThroughDialog(app, L"30"));
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_TRANSPARENCY"), L"30");
    EXPECT_TRUE(::GetWindowLongW(app.MainWindow(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(app.MainWindow(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 178);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

    ASSERT_TRUE(SetTransparencyThroughDialog(app, L"0"));
    EXPECT_FALSE(::GetWindowLongW(app.MainWindow(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(ToolsE2E, TransparencyFromTheFileIsCappedAtStartUp)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.ini"), "[ParaBlock]\r\nPARA_TRANSPARENCY=95\r\n"));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    BYTE alpha = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(app.MainWindow(), nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 51);
}

TEST_F(ToolsE2E, AboutBoxShowsTheUnicodeEdition)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.PostCommand(ID_APP_ABOUT);
    HWND box = app.WaitForOwnWindow(L"#32770", L"About Jotstack", 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ReadWindowText(::GetDlgItem(box, IDC_ABOUT_VERSION)), std::wstring(L"Jotstack Version 3.00 Unicode版 ") + (sizeof(void*) == 8 ? L"64位" : L"32位"));
    EXPECT_EQ(ReadWindowText(::GetDlgItem(box, IDC_ABOUT_HOMEPAGE)), L"https://jotstack.example.org/");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForWindowGone(box, 5000));
}

TEST_F(ToolsE2E, HelpWithoutTheGuideSaysSo)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.PostCommand(ID_USER_GUIDE);
    HWND box = app.WaitForOwnWindow(L"#32770", nullptr, 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), L"抱歉，找不到帮助文件。\n请下载完整的ZIP文件。");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForWindowGone(box, 5000));
}

TEST_F(ToolsE2E, HelpOpensTheGuideBesideTheExecutable)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.htm"), "<html><body>guide</body></html>"));
    HtmlAssociationProbe probe(m_dir.File(L"opened.txt"));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.PostCommand(ID_USER_GUIDE);
    std::string opened = probe.WaitForOpened(15000);
    EXPECT_NE(opened.find("Jotstack.htm"), std::string::npos) << opened;
}

TEST_F(ToolsE2E, ShutdownSavesTheNotesAndEndsTheProgram)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.TypeIntoCurrentPage(L"关机前的笔记");
    app.PostCommand(ID_SHUTDOWN);
    ASSERT_TRUE(app.WaitForExit(30000));
    std::string bytes = ReadBytes(app.StoragePath());
    std::string expected = Utf16Bytes(L"关机前的笔记", false);
    EXPECT_NE(bytes.find(expected), std::string::npos);
}
