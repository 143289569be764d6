// Users switch between the 32-bit and the 64-bit program on one notebook.
// The 64-bit end-to-end tests run the 32-bit Jotstack.exe beside their own
// where the machine executes 32-bit code (JOTSTACK_EXE_X86, set by
// scripts/test.sh), in the same 64-bit Wine prefix, as on 64-bit Windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class CrossFlavourE2E : public JotstackE2ETest {
protected:
    void SetUp() override
    {
        JotstackE2ETest::SetUp();
        if (IsSkipped())
            return;
        if (sizeof(void*) != 8 || JotstackX86UnderTest().empty())
            GTEST_SKIP() << "needs the 64-bit tests and the 32-bit program (JOTSTACK_EXE_X86)";
        m_x86 = JotstackX86UnderTest();
        m_x64 = JotstackUnderTest();
    }

    // The machine-wide Run value in one registry view (KEY_WOW64_64KEY or
    // KEY_WOW64_32KEY); empty when there is none.
    static std::wstring RunValue(REGSAM view)
    {
        wchar_t buf[512] = {};
        DWORD size = sizeof(buf);
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
            return {};
        LONG rc = ::RegQueryValueExW(key, L"Jotstack", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
        ::RegCloseKey(key);
        return rc == ERROR_SUCCESS ? std::wstring(buf) : std::wstring();
    }

    static void SetRunValue(REGSAM view, const std::wstring& text)
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(key, L"Jotstack", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
    }

    static void DeleteRunValues()
    {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            HKEY key = nullptr;
            if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE | view, &key) == ERROR_SUCCESS) {
                ::RegDeleteValueW(key, L"Jotstack");
                ::RegCloseKey(key);
            }
        }
    }

    // One user's session: the second page gets new text and a selection, the
    // window is shown and closed (save and hide), then "退出".
    static void EditAndExit(JotstackProcess& app, const std::wstring& text)
    {
        ASSERT_TRUE(app.Start());
        app.Command(ID_SHOW_MAIN_WINDOW);
        app.SelectTab(1);
        app.TypeIntoCurrentPage(text);
        ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 2, 7);
        ::SendMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
        app.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(20000));
    }

    std::wstring m_x86, m_x64;
};

const Notebook kNotebook = {
    {L"日常", L"买菜\r\n交电费"},
    {L"工作", L"周一开会"},
    {L"长页", TextInLines(100000, L'记')},
    {L"空", L""},
};

}  // namespace

TEST_F(CrossFlavourE2E, EachReadsWhatTheOtherWroteWithNothingLost)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes(kNotebook)));
    {
        JotstackProcess x86(m_dir.Path(), m_x86);
        EditAndExit(x86, L"32位写的 text");
    }
    Notebook afterX86 = kNotebook;
    afterX86[1].second = L"32位写的 text";
    ASSERT_EQ(ReadBytes(m_dir.File(L"Jotstack.txt")), StorageBytes(afterX86));

    JotstackProcess x64(m_dir.Path(), m_x64);
    ASSERT_TRUE(x64.Start());
    // The page and selection the 32-bit program left.
    EXPECT_EQ(ReadWindowText(x64.ActiveChild()), L"工作");
    DWORD sel = static_cast<DWORD>(::SendMessageW(x64.ActiveEdit(), EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(sel), 2);
    EXPECT_EQ(HIWORD(sel), 7);
    std::vector<VisiblePage> pages = x64.Pages();
    ASSERT_EQ(pages.size(), afterX86.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].name, afterX86[i].first) << i;
        EXPECT_EQ(pages[i].text, afterX86[i].second) << i;
    }
    x64.SelectTab(3);
    x64.TypeIntoCurrentPage(L"64位写的");
    x64.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(x64.WaitForExit(20000));

    // And back: the 32-bit program sees the 64-bit program's change.
    JotstackProcess again(m_dir.Path(), m_x86);
    ASSERT_TRUE(again.Start());
    pages = again.Pages();
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[1].text, L"32位写的 text");
    EXPECT_EQ(pages[2].text, kNotebook[2].second);
    EXPECT_EQ(pages[3].text, L"64位写的");
}

TEST_F(CrossFlavourE2E, BothWriteTheSameBytes)
{
    // The same session, once with each flavour, each in a folder of its own.
    ScratchDir other;
    const std::string start = StorageBytes(kNotebook);
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), start));
    ASSERT_TRUE(WriteBytes(other.File(L"Jotstack.txt"), start));
    {
        JotstackProcess x86(m_dir.Path(), m_x86);
        EditAndExit(x86, L"同一段文字\r\nsame text");
    }
    {
        JotstackProcess x64(other.Path(), m_x64);
        EditAndExit(x64, L"同一段文字\r\nsame text");
    }
    for (const wchar_t* name : {L"Jotstack.txt", L"Jotstack.bak.txt", L"Jotstack.ini"}) {
        const std::string fromX86 = ReadBytes(m_dir.File(name));
        EXPECT_FALSE(fromX86.empty()) << name;
        EXPECT_EQ(fromX86, ReadBytes(other.File(name))) << name;
    }
}

TEST_F(CrossFlavourE2E, OnlyOneCopyRunsWhicheverFlavourStartsSecond)
{
    ScratchDir other;
    {
        JotstackProcess x86(m_dir.Path(), m_x86);
        ASSERT_TRUE(x86.Start());
        JotstackProcess second(other.Path(), m_x64);
        EXPECT_EQ(second.RunSecondCopy(), 0);
        EXPECT_TRUE(x86.IsRunning());
        EXPECT_TRUE(::IsWindowVisible(x86.MainWindow()));
        x86.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(x86.WaitForExit(20000));
    }
    JotstackProcess x64(m_dir.Path(), m_x64);
    ASSERT_TRUE(x64.Start());
    JotstackProcess second(other.Path(), m_x86);
    EXPECT_EQ(second.RunSecondCopy(), 0);
    EXPECT_TRUE(x64.IsRunning());
    EXPECT_TRUE(::IsWindowVisible(x64.MainWindow()));
    // The second copy made no notes of its own.
    EXPECT_FALSE(FileExists(other.File(L"Jotstack.txt")));
}

TEST_F(CrossFlavourE2E, AutoStartSwitchedOnByOneIsOnForTheOther)
{
    DeleteRunValues();
    {
        JotstackProcess x86(m_dir.Path(), m_x86);
        ASSERT_TRUE(x86.Start());
        x86.Command(ID_AUTO_START);
        x86.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(x86.WaitForExit(20000));
    }
    // Written where the 64-bit program and the 64-bit system look.
    EXPECT_NE(RunValue(KEY_WOW64_64KEY).find(L"Jotstack.exe"), std::wstring::npos);
    EXPECT_EQ(RunValue(KEY_WOW64_32KEY), L"");

    // The 64-bit program sees it on: the command switches it off.
    JotstackProcess x64(m_dir.Path(), m_x64);
    ASSERT_TRUE(x64.Start());
    x64.Command(ID_AUTO_START);
    EXPECT_EQ(RunValue(KEY_WOW64_64KEY), L"");

    // A value an older 32-bit release left in the 32-bit view counts as on
    // too, and switching off removes it.
    SetRunValue(KEY_WOW64_32KEY, L"\"C:\\Jotstack\\Jotstack.exe\"");
    x64.Command(ID_AUTO_START);
    EXPECT_EQ(RunValue(KEY_WOW64_32KEY), L"");
    EXPECT_EQ(RunValue(KEY_WOW64_64KEY), L"");
    DeleteRunValues();
    x64.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(x64.WaitForExit(20000));
}

TEST_F(CrossFlavourE2E, AStartupShortcutMadeByOneIsOnForTheOther)
{
    // Without the machine-wide Run key (a user without administrator
    // rights) the 32-bit program makes a shortcut in the Startup folder...
    DeleteRunValues();
    ASSERT_EQ(::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kRunKey, KEY_WOW64_64KEY, 0), ERROR_SUCCESS);
    wchar_t startup[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, startup, CSIDL_STARTUP, FALSE));
    const std::wstring shortcut = std::wstring(startup) + L"\\Jotstack.lnk";
    {
        JotstackProcess x86(m_dir.Path(), m_x86);
        ASSERT_TRUE(x86.Start());
        x86.Command(ID_AUTO_START);
        EXPECT_TRUE(FileExists(shortcut));
        x86.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(x86.WaitForExit(20000));
    }
    // ...which the 64-bit program sees as on, and removes.
    JotstackProcess x64(m_dir.Path(), m_x64);
    ASSERT_TRUE(x64.Start());
    x64.Command(ID_AUTO_START);
    EXPECT_FALSE(FileExists(shortcut));
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key,
                      nullptr);
    if (key)
        ::RegCloseKey(key);
}
