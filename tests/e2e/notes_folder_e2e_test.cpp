// Where the real program keeps its notes: a portable copy beside itself; a
// copy in a folder the user cannot write to (here a folder made immutable
// on the host) in "%APPDATA%\Jotstack", with one notice; and a copy that
// Windows once redirected to the VirtualStore, offered and taken over
// without losing either version, or declined and left alone.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <vector>

#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/host_tools.h"
#include "tests/e2e/jotstack_process.h"

namespace {

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM lp)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    if (_wcsicmp(cls, L"Static") == 0)
        *reinterpret_cast<std::wstring*>(lp) += ReadWindowText(hwnd);
    return TRUE;
}

// Waits for the program's message box, returns its text and presses the
// button (IDOK, IDYES, IDNO).
std::wstring AnswerMessageBox(const JotstackProcess& app, int button, DWORD timeoutMs = 20000)
{
    HWND box = app.WaitForOwnWindow(L"#32770", nullptr, timeoutMs);
    if (!box)
        return L"<no message>";
    std::wstring text;
    ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
    ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    for (int i = 0; i < 300 && ::IsWindow(box); ++i)
        ::Sleep(10);
    return text;
}

bool Has(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

std::wstring KnownFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

std::vector<std::wstring> FilesMatching(const std::wstring& pattern)
{
    std::vector<std::wstring> found;
    const size_t slash = pattern.rfind(L'\\');
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return found;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            found.push_back(pattern.substr(0, slash + 1) + name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return found;
}

void RemoveFilesOf(const std::wstring& folder)
{
    for (const std::wstring& f : FilesMatching(folder + L"\\*")) {
        ::SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(f.c_str());
    }
    ::RemoveDirectoryW(folder.c_str());
}

// Every folder on the way to path's folder.
void MakeFolders(const std::wstring& path)
{
    for (size_t i = path.find(L'\\', 3); i != std::wstring::npos; i = path.find(L'\\', i + 1))
        ::CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
}

bool SetWriteTime(const std::wstring& path, const SYSTEMTIME& utc)
{
    FILETIME ft{};
    ::SystemTimeToFileTime(&utc, &ft);
    HANDLE h = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = ::SetFileTime(h, nullptr, nullptr, &ft) != FALSE;
    ::CloseHandle(h);
    return ok;
}

class NotesFolderE2E : public JotstackE2ETest {
protected:
    void SetUp() override
    {
        JotstackE2ETest::SetUp();
        m_userFolder = KnownFolder(CSIDL_APPDATA) + L"\\Jotstack";
        // Where Windows would have redirected this scratch folder's saves.
        m_virtualStore = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\VirtualStore" + m_dir.Path().substr(2);
        RemoveFilesOf(m_userFolder);
    }
    void TearDown() override
    {
        RemoveFilesOf(m_userFolder);
        RemoveFilesOf(m_virtualStore);
    }

    std::wstring UserFile(const wchar_t* name) const { return m_userFolder + L"\\" + name; }

    // Our notes as `ours`, written in 2020, and a copy `theirs` that Windows
    // redirected to the VirtualStore later; returns the copy's path.
    std::wstring NewerVirtualStoreCopy(const std::string& ours, const std::string& theirs)
    {
        EXPECT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), ours));
        SYSTEMTIME older{2020, 1, 3, 15, 8, 0, 0, 0};
        EXPECT_TRUE(SetWriteTime(m_dir.File(L"Jotstack.txt"), older));
        const std::wstring copy = m_virtualStore + L"\\Jotstack.txt";
        MakeFolders(copy);
        EXPECT_TRUE(WriteBytes(copy, theirs));
        return copy;
    }

    std::wstring m_userFolder;
    std::wstring m_virtualStore;
};

}  // namespace

TEST_F(NotesFolderE2E, APortableCopyKeepsEverythingBesideItAndSaysNothing)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.TypeIntoCurrentPage(L"portable");
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(20000));
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"日常", L"portable"}}));
    EXPECT_TRUE(FileExists(app.IniPath()));
    EXPECT_FALSE(FileExists(UserFile(L"Jotstack.txt")));
    EXPECT_FALSE(FileExists(UserFile(L"Jotstack.ini")));
}

TEST_F(NotesFolderE2E, AnUnwritableFolderKeepsTheNotesInTheUserFolderAndSaysSoOnce)
{
    const std::string original = StorageBytes({{L"日常", L"beside the program"}, {L"二", L"two"}});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), original));
    ::WritePrivateProfileStringW(L"ParaBlock", L"PARA_TAB_STOPS", L"48", m_dir.File(L"Jotstack.ini").c_str());
    const std::string iniBefore = ReadBytes(m_dir.File(L"Jotstack.ini"));
    JotstackProcess app(m_dir);
    hosttools::LockedFolder locked(m_dir.Path());
    if (!locked.Locked())
        GTEST_SKIP() << "the host cannot take the folder's write rights (chattr)";

    ASSERT_TRUE(app.Start());
    const std::wstring notice = AnswerMessageBox(app, IDOK);
    EXPECT_TRUE(Has(notice, m_userFolder)) << "the notice names the user folder";
    EXPECT_TRUE(Has(notice, m_dir.Path())) << "and the folder it could not write to";
    // The notes beside the program came along.
    const std::vector<VisiblePage> pages = app.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].text, L"beside the program");
    EXPECT_EQ(pages[1].name, L"二");
    app.SelectTab(0);
    app.TypeIntoCurrentPage(L"typed in the user folder");
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(20000)) << "the save in the user folder failed";

    EXPECT_EQ(ReadBytes(UserFile(L"Jotstack.txt")),
              StorageBytes({{L"日常", L"typed in the user folder"}, {L"二", L"two"}}));
    EXPECT_EQ(ReadBytes(UserFile(L"Jotstack.bak.txt")), original);
    EXPECT_EQ(ReadIni(UserFile(L"Jotstack.ini"), L"ParaBlock", L"PARA_TAB_STOPS"), L"48");
    EXPECT_EQ(ReadIni(UserFile(L"Jotstack.ini"), L"Storage", L"UserFolderNoticeShown"), L"1");
    // The program's folder is as it was: no file more, none changed.
    EXPECT_EQ(ReadBytes(m_dir.File(L"Jotstack.txt")), original);
    EXPECT_EQ(ReadBytes(m_dir.File(L"Jotstack.ini")), iniBefore);
    // (The lock's own probe may stay behind when the lock came between its
    // creation and its removal; it is not the program's.)
    std::vector<std::wstring> files;
    std::string names;
    for (const std::wstring& f : FilesMatching(m_dir.File(L"*"))) {
        if (f == m_dir.File(L"~probe.tmp"))
            continue;
        files.push_back(f);
        for (wchar_t c : L" " + f.substr(m_dir.Path().size() + 1))
            names += c < 128 ? static_cast<char>(c) : '?';
    }
    EXPECT_EQ(files.size(), 3u) << "in the program's folder:" << names;

    // The next start finds the notes there and says nothing.
    JotstackProcess again(m_dir);
    ASSERT_TRUE(again.Start());
    ::Sleep(500);
    EXPECT_EQ(again.FindOwnWindow(L"#32770"), nullptr);
    EXPECT_EQ(again.Pages()[0].text, L"typed in the user folder");
    again.Kill();
}

TEST_F(NotesFolderE2E, ANewerVirtualStoreCopyIsTakenOverOnYesAndBothVersionsSurvive)
{
    const std::string ours = StorageBytes({{L"日常", L"ours, older"}});
    const std::string theirs = StorageBytes({{L"日常", L"redirected by Windows"}, {L"旧", L"old page"}});
    const std::wstring copy = NewerVirtualStoreCopy(ours, theirs);
    ASSERT_FALSE(HasFailure());

    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Launch());
    const std::wstring question = AnswerMessageBox(app, IDYES);
    EXPECT_TRUE(Has(question, copy)) << "the question names the redirected copy";
    EXPECT_TRUE(Has(question, app.StoragePath()));
    const std::wstring done = AnswerMessageBox(app, IDOK);
    const std::vector<std::wstring> kept = FilesMatching(m_dir.File(L"Jotstack-接管前-*.txt"));
    ASSERT_EQ(kept.size(), 1u) << "the program's own notes were not kept aside";
    EXPECT_TRUE(Has(done, kept[0]));
    ASSERT_TRUE(app.WaitUntilInTray());

    const std::vector<VisiblePage> pages = app.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].text, L"redirected by Windows");
    EXPECT_EQ(ReadBytes(kept[0]), ours);
    EXPECT_EQ(ReadBytes(copy), theirs) << "the redirected copy is left where it is";
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(20000));
    EXPECT_EQ(ReadBytes(app.StoragePath()), theirs);

    // Taken over once: the next start does not ask again.
    JotstackProcess again(m_dir);
    ASSERT_TRUE(again.Start());
    ::Sleep(500);
    EXPECT_EQ(again.FindOwnWindow(L"#32770"), nullptr);
    again.Kill();
}

TEST_F(NotesFolderE2E, ADeclinedVirtualStoreCopyIsLeftAloneUntilItChanges)
{
    const std::string ours = StorageBytes({{L"日常", L"ours"}});
    const std::string theirs = StorageBytes({{L"日常", L"theirs"}});
    const std::wstring copy = NewerVirtualStoreCopy(ours, theirs);
    ASSERT_FALSE(HasFailure());
    {
        JotstackProcess app(m_dir);
        ASSERT_TRUE(app.Launch());
        EXPECT_TRUE(Has(AnswerMessageBox(app, IDNO), copy));
        ASSERT_TRUE(app.WaitUntilInTray());
        EXPECT_EQ(app.Pages()[0].text, L"ours");
        EXPECT_EQ(app.FindOwnWindow(L"#32770"), nullptr);
        app.Kill();
    }
    EXPECT_EQ(ReadBytes(copy), theirs);
    EXPECT_EQ(ReadBytes(m_dir.File(L"Jotstack.txt")), ours);
    EXPECT_TRUE(FilesMatching(m_dir.File(L"Jotstack-接管前-*.txt")).empty());
    {
        JotstackProcess app(m_dir);
        ASSERT_TRUE(app.Start()) << "asked again about the copy already declined";
        app.Kill();
    }
    // The redirected copy changes: it is offered again.
    ASSERT_TRUE(WriteBytes(copy, StorageBytes({{L"日常", L"theirs, changed"}})));
    SYSTEMTIME later{};
    ::GetSystemTime(&later);
    ASSERT_TRUE(SetWriteTime(copy, later));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Launch());
    EXPECT_TRUE(Has(AnswerMessageBox(app, IDNO), copy));
    ASSERT_TRUE(app.WaitUntilInTray());
    app.Kill();
}
