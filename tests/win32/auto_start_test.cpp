// Auto-start against a registry key and a Startup folder of the test's own:
// the Run value (quoted when the path has a blank), the shortcut fallback
// when the key cannot be written, removal of both, and the bad cases (a
// foreign value under our name, a missing folder, a folder where the
// shortcut should be). Also CRegistryKey's edges.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include "app/auto_start.h"
#include "app/registry_key.h"
#include "tests/win32/test_files.h"

namespace {

const wchar_t kTestRoot[] = L"Software\\JotstackTests";

class AutoStartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitialize(nullptr);
        m_runKey = std::wstring(kTestRoot) + L"\\Run" + std::to_wstring(::GetTickCount());
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_runKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
        place.root = HKEY_CURRENT_USER;
        place.runKey = m_runKey;
        place.exePath = L"C:\\Program Files\\Jot Tools\\Jotstack.exe";
        place.startupFolder = m_startup.Path();
    }
    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
        ::CoUninitialize();
    }

    std::wstring RunValue()
    {
        wchar_t buf[512] = {};
        DWORD size = sizeof(buf);
        if (::RegGetValueW(HKEY_CURRENT_USER, m_runKey.c_str(), L"Jotstack", RRF_RT_REG_SZ, nullptr, buf,
                           &size) != ERROR_SUCCESS)
            return L"<none>";
        return buf;
    }
    void SetRunValue(const std::wstring& text)
    {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, m_runKey.c_str(), L"Jotstack", REG_SZ, text.c_str(),
                          static_cast<DWORD>((text.size() + 1) * 2));
    }
    std::wstring Shortcut() const { return m_startup.File(L"Jotstack.lnk"); }
    // The key is gone: opening it for writing fails, as for a user without
    // administrator rights on the machine-wide key.
    void MakeRunKeyUnwritable() { ::RegDeleteKeyW(HKEY_CURRENT_USER, m_runKey.c_str()); }

    std::wstring ShortcutTarget()
    {
        IShellLinkW* link = nullptr;
        if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(&link))))
            return L"<no shell link>";
        IPersistFile* file = nullptr;
        std::wstring result = L"<unreadable>";
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(Shortcut().c_str(), STGM_READ))) {
                wchar_t path[MAX_PATH] = {}, dir[MAX_PATH] = {};
                link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
                link->GetWorkingDirectory(dir, MAX_PATH);
                result = std::wstring(path) + L"|" + dir;
            }
            file->Release();
        }
        link->Release();
        return result;
    }

    ScratchDir m_startup;
    std::wstring m_runKey;
    AutoStartPlace place;
};

}  // namespace

TEST_F(AutoStartTest, OffWhenNeitherValueNorShortcut)
{
    EXPECT_FALSE(IsAutoStartOn(place));
}

TEST_F(AutoStartTest, ToggleWritesTheQuotedPathAndNoShortcut)
{
    ToggleAutoStart(place);
    EXPECT_EQ(RunValue(), L"\"C:\\Program Files\\Jot Tools\\Jotstack.exe\"");
    EXPECT_FALSE(FileExists(Shortcut()));
    EXPECT_TRUE(IsAutoStartOn(place));
}

TEST_F(AutoStartTest, APathWithoutBlanksIsWrittenBare)
{
    place.exePath = L"C:\\Tools\\Jotstack.exe";
    ToggleAutoStart(place);
    EXPECT_EQ(RunValue(), L"C:\\Tools\\Jotstack.exe");
}

TEST_F(AutoStartTest, SecondToggleRemovesTheValue)
{
    ToggleAutoStart(place);
    ToggleAutoStart(place);
    EXPECT_EQ(RunValue(), L"<none>");
    EXPECT_FALSE(IsAutoStartOn(place));
}

TEST_F(AutoStartTest, UnwritableKeyFallsBackToAStartupShortcut)
{
    MakeRunKeyUnwritable();
    ToggleAutoStart(place);
    ASSERT_TRUE(FileExists(Shortcut()));
    EXPECT_TRUE(IsAutoStartOn(place));
    EXPECT_EQ(ShortcutTarget(), place.exePath + L"|C:\\Program Files\\Jot Tools");
    ToggleAutoStart(place);
    EXPECT_FALSE(FileExists(Shortcut()));
    EXPECT_FALSE(IsAutoStartOn(place));
}

TEST_F(AutoStartTest, BothPresentAreRemovedByOneToggle)
{
    SetRunValue(place.exePath);
    SetStartupShortcut(place, TRUE);
    ASSERT_TRUE(FileExists(Shortcut()));
    ToggleAutoStart(place);
    EXPECT_EQ(RunValue(), L"<none>");
    EXPECT_FALSE(FileExists(Shortcut()));
}

TEST_F(AutoStartTest, AnotherProgramsValueUnderOurNameCountsAsOnAndIsRemoved)
{
    SetRunValue(L"C:\\Elsewhere\\other.exe -quiet");
    EXPECT_TRUE(IsAutoStartOn(place));
    ToggleAutoStart(place);
    EXPECT_EQ(RunValue(), L"<none>");
}

TEST_F(AutoStartTest, OldQuotelessValueStillCountsAsOn)
{
    SetRunValue(L"C:\\Program Files\\Jot Tools\\Jotstack.exe");
    EXPECT_TRUE(IsAutoStartOn(place));
}

TEST_F(AutoStartTest, RenamedExecutableNoLongerSeesTheOldShortcut)
{
    SetStartupShortcut(place, TRUE);
    place.exePath = L"C:\\Tools\\Notes.exe";
    EXPECT_FALSE(IsAutoStartOn(place));
}

TEST_F(AutoStartTest, MissingStartupFolderLeavesEverythingOffSilently)
{
    MakeRunKeyUnwritable();
    place.startupFolder = m_startup.File(L"no such folder");
    ToggleAutoStart(place);
    EXPECT_FALSE(IsAutoStartOn(place));
    place.startupFolder.clear();   // the shell knows no Startup folder at all
    ToggleAutoStart(place);
    EXPECT_FALSE(IsAutoStartOn(place));
}

TEST_F(AutoStartTest, AStartupFolderThatCannotHoldFilesStaysOffSilently)
{
    // A file where the folder should be: nothing can be created in it.
    MakeRunKeyUnwritable();
    ASSERT_TRUE(WriteBytes(m_startup.File(L"blocked"), "x"));
    place.startupFolder = m_startup.File(L"blocked");
    ToggleAutoStart(place);
    EXPECT_FALSE(IsAutoStartOn(place));
    EXPECT_EQ(ReadBytes(m_startup.File(L"blocked")), "x");
}

TEST_F(AutoStartTest, AFolderWhereTheShortcutShouldBeIsNeitherOnNorDeleted)
{
    ASSERT_TRUE(::CreateDirectoryW(Shortcut().c_str(), nullptr));
    EXPECT_FALSE(IsAutoStartOn(place));
    SetStartupShortcut(place, FALSE);
    DWORD attr = ::GetFileAttributesW(Shortcut().c_str());
    EXPECT_NE(attr, INVALID_FILE_ATTRIBUTES);
    ::RemoveDirectoryW(Shortcut().c_str());
}

TEST_F(AutoStartTest, DeletingAMissingShortcutIsNoError)
{
    SetStartupShortcut(place, FALSE);
    EXPECT_FALSE(FileExists(Shortcut()));
}

// ---- CRegistryKey ---------------------------------------------------------------

TEST_F(AutoStartTest, RegistryKeyReadsWritesAndDeletes)
{
    CRegistryKey key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, m_runKey));
    EXPECT_EQ(key.m_strSubKey, m_runKey);
    EXPECT_TRUE(key.WriteString(L"v", L"中文 text"));
    std::wstring value = L"untouched";
    EXPECT_TRUE(key.ReadString(L"v", value));
    EXPECT_EQ(value, L"中文 text");
    EXPECT_TRUE(key.DeleteValue(L"v"));
    value = L"untouched";
    EXPECT_FALSE(key.ReadString(L"v", value));
    EXPECT_EQ(value, L"untouched");
    key.Close();
    EXPECT_EQ(key.m_hKey, nullptr);
}

TEST_F(AutoStartTest, RegistryKeyLeavesTheStringAloneForLongOrOddValues)
{
    CRegistryKey key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, m_runKey));
    key.WriteString(L"long", std::wstring(300, L'x'));
    DWORD number = 7;
    ::RegSetValueExW(key.m_hKey, L"dword", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4);
    std::wstring value = L"untouched";
    EXPECT_FALSE(key.ReadString(L"long", value));
    EXPECT_FALSE(key.ReadString(L"dword", value));
    EXPECT_EQ(value, L"untouched");
}

TEST_F(AutoStartTest, RegistryKeyThatCannotBeOpenedFailsEveryCall)
{
    CRegistryKey key(HKEY_CURRENT_USER);
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, std::wstring(kTestRoot) + L"\\missing"));
    EXPECT_NE(key.m_lResult, ERROR_SUCCESS);
    std::wstring value;
    EXPECT_FALSE(key.ReadString(L"x", value));
    EXPECT_FALSE(key.WriteString(L"x", L"y"));
    EXPECT_FALSE(key.DeleteValue(L"x"));
}
