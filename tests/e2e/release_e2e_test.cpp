// The release zip as a user gets it: scripts/release-test.sh unpacks it into
// a fresh prefix, into a folder whose path has blanks and Chinese characters,
// and names that folder in JOTSTACK_RELEASE_DIR. The program is started
// from there as it is; nothing is copied. Skipped without that variable.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "res/resource.h"
#include "tests/e2e/jotstack_process.h"
#include "tests/e2e/tools_e2e_helpers.h"

namespace {

std::wstring ReleaseDir()
{
    const wchar_t* dir = _wgetenv(L"JOTSTACK_RELEASE_DIR");
    return dir ? dir : L"";
}

struct MainSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchMain(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<MainSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && ::FindWindowExW(hwnd, nullptr, L"MDIClient", nullptr)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool TrayIconOf(HWND main)
{
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = main;
    nid.uID = 130;
    return ::Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

std::wstring VersionString(const std::wstring& exe, const wchar_t* name)
{
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &handle);
    if (!size)
        return L"<no version resource>";
    std::string data(size, '\0');
    if (!::GetFileVersionInfoW(exe.c_str(), 0, size, data.data()))
        return L"<unreadable>";
    wchar_t* value = nullptr;
    UINT len = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!::VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &len) || !value)
        return L"<missing>";
    return value;
}

class ReleaseE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = ReleaseDir();
        if (m_dir.empty())
            GTEST_SKIP() << "JOTSTACK_RELEASE_DIR is not set (scripts/release-test.sh sets it)";
        m_exe = m_dir + L"\\Jotstack.exe";
    }
    void TearDown() override
    {
        if (m_pi.hProcess) {
            if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
                ::TerminateProcess(m_pi.hProcess, 1);
            ::CloseHandle(m_pi.hProcess);
            ::CloseHandle(m_pi.hThread);
        }
    }

    HWND StartFromTheFolder()
    {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring cmd = L"\"" + m_exe + L"\"";
        if (!::CreateProcessW(m_exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, m_dir.c_str(),
                              &si, &m_pi))
            return nullptr;
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < 30000) {
            MainSearch s{m_pi.dwProcessId, nullptr};
            ::EnumWindows(MatchMain, reinterpret_cast<LPARAM>(&s));
            if (s.found && !::IsWindowVisible(s.found) && TrayIconOf(s.found))
                return s.found;
            ::Sleep(100);
        }
        return nullptr;
    }

    std::wstring m_dir, m_exe;
    PROCESS_INFORMATION m_pi{};
};

}  // namespace

TEST_F(ReleaseE2E, TheZipHoldsTheProgramTheGuideAndTheNote)
{
    EXPECT_TRUE(FileExists(m_exe));
    EXPECT_TRUE(FileExists(m_dir + L"\\Jotstack.htm"));
    EXPECT_TRUE(FileExists(m_dir + L"\\images\\main-window.png"));
    EXPECT_TRUE(FileExists(m_dir + L"\\说明.txt"));
    // A user who unpacks it gets no notes or settings of ours.
    EXPECT_FALSE(FileExists(m_dir + L"\\Jotstack.txt"));
    EXPECT_FALSE(FileExists(m_dir + L"\\Jotstack.ini"));
}

TEST_F(ReleaseE2E, ExplorerSeesTheVersionResource)
{
    EXPECT_EQ(VersionString(m_exe, L"ProductName"), L"Jotstack");
    EXPECT_EQ(VersionString(m_exe, L"FileVersion"), L"3.0.0.0");
    // Each zip is one flavour, and says which.
    EXPECT_EQ(VersionString(m_exe, L"FileDescription"),
              std::wstring(L"Jotstack 托盘记事本与桌面工具 ") + (sizeof(void*) == 8 ? L"(64位)" : L"(32位)"));
    EXPECT_EQ(VersionString(m_exe, L"LegalCopyright"), L"版权所有 (C) 2026 Jotstack 开发组");
}

TEST_F(ReleaseE2E, TheProgramIsOfTheZipsFlavour)
{
    // The machine field of the PE header: x86 in the 32-bit zip, x64 in the other.
    DWORD binaryType = 0;
    ASSERT_TRUE(::GetBinaryTypeW(m_exe.c_str(), &binaryType));
    EXPECT_EQ(binaryType, sizeof(void*) == 8 ? static_cast<DWORD>(SCS_64BIT_BINARY)
                                             : static_cast<DWORD>(SCS_32BIT_BINARY));
}

TEST_F(ReleaseE2E, StartsFromTheUnpackedFolderAndKeepsItsNotesThere)
{
    HtmlAssociationProbe probe(L"C:\\release-guide-opened.txt");
    HWND main = StartFromTheFolder();
    ASSERT_NE(main, nullptr) << "no main window with a tray icon";
    EXPECT_TRUE(FileExists(m_dir + L"\\Jotstack.txt"));

    ::PostMessageW(main, WM_COMMAND, ID_USER_GUIDE, 0);
    std::string opened = probe.WaitForOpened(15000);
    EXPECT_NE(opened.find("Jotstack.htm"), std::string::npos) << opened;
    // The guide that opened is the one beside the program, in the Chinese
    // folder (cmd prints it in the ANSI code page).
    EXPECT_NE(opened.find("Jotstack 3.0"), std::string::npos) << opened;

    ::PostMessageW(main, WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_EQ(::WaitForSingleObject(m_pi.hProcess, 15000), WAIT_OBJECT_0);
    EXPECT_TRUE(FileExists(m_dir + L"\\Jotstack.txt"));
}
