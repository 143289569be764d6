// Saves that fail for real under Wine: a storage file held by another
// program, a folder without write rights, a full disk and the end of the
// logon. After each, the storage file and the backup are byte for byte what
// they were, the program does not end, and nothing typed is lost once the
// cause is gone.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "res/resource.h"
#include "tests/e2e/host_tools.h"
#include "tests/e2e/e2e_fixture.h"
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

// The text of a message box.
std::wstring BoxText(HWND box)
{
    std::wstring text;
    ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

// Waits for the program's message box, returns its text and closes it.
std::wstring TakeMessageBox(const JotstackProcess& app, DWORD timeoutMs = 20000)
{
    HWND box = app.WaitForOwnWindow(L"#32770", nullptr, timeoutMs);
    if (!box)
        return L"<no message>";
    std::wstring text = BoxText(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && ::IsWindow(box); ++i)
        ::Sleep(10);
    return text;
}

bool Has(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

// Reads a file through a handle that holds it (the test's own lock).
std::string ReadThrough(HANDLE file)
{
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (::ReadFile(file, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    return bytes;
}

bool PageModified(const JotstackProcess& app)
{
    return ::SendMessageW(app.ActiveEdit(), EM_GETMODIFY, 0, 0) != 0;
}

class FailedSaveE2E : public JotstackE2ETest {};

}  // namespace

TEST_F(FailedSaveE2E, LockedStorageFileKeepsTheProgramRunningAndLosesNothing)
{
    const std::string original = StorageBytes({{L"A", L"alpha"}, {L"B", L"beta"}});
    const std::string oldBackup = StorageBytes({{L"A", L"older"}});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), original));
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.bak.txt"), oldBackup));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.SelectTab(1);
    app.TypeIntoCurrentPage(L"beta, typed while the file is held");

    // Another program holds the storage file without sharing it.
    HANDLE lock = ::CreateFileW(app.StoragePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    // Two hides: one message (the close and the minimise it does are one
    // failure), the second hide stays quiet.
    app.Command(ID_SHOW_MAIN_WINDOW);
    ::PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    std::wstring hideText = TakeMessageBox(app);
    EXPECT_TRUE(Has(hideText, L"下次保存时会再试"));
    EXPECT_EQ(TakeMessageBox(app, 1500), L"<no message>");
    app.Command(ID_SHOW_MAIN_WINDOW);
    ::PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(TakeMessageBox(app, 1500), L"<no message>");
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));

    // "退出" is told every time: the program refuses to end.
    app.PostCommand(ID_TRAY_EXIT);
    std::wstring text = TakeMessageBox(app);
    EXPECT_TRUE(Has(text, L"笔记未能保存"));
    EXPECT_TRUE(Has(text, L"占用"));
    EXPECT_TRUE(Has(text, L"程序没有退出"));
    ::Sleep(300);
    ASSERT_TRUE(app.IsRunning()) << "the program ended with unsaved notes";
    EXPECT_TRUE(app.TrayIconExists());
    EXPECT_TRUE(PageModified(app));
    EXPECT_EQ(ReadThrough(lock), original);
    EXPECT_EQ(ReadBytes(app.BackupPath()), oldBackup);
    EXPECT_FALSE(FileExists(app.StoragePath() + L".tmp"));

    // Hiding again while the file is still held: the user was told already,
    // the hides stay quiet (each one still tries to save).
    app.Command(ID_SHOW_MAIN_WINDOW);
    ::PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    app.Command(ID_SHOW_MAIN_WINDOW);
    ::PostMessageW(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(TakeMessageBox(app, 2000), L"<no message>");
    EXPECT_TRUE(app.IsRunning());
    EXPECT_EQ(ReadThrough(lock), original);
    EXPECT_EQ(ReadBytes(app.BackupPath()), oldBackup);

    // The other program lets go: the next exit saves and ends.
    ::CloseHandle(lock);
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(20000));
    EXPECT_EQ(ReadBytes(app.StoragePath()),
              StorageBytes({{L"A", L"alpha"}, {L"B", L"beta, typed while the file is held"}}));
    EXPECT_EQ(ReadBytes(app.BackupPath()), original);
}

TEST_F(FailedSaveE2E, FolderWithoutWriteRightsKeepsTheNotesUntilItIsWritable)
{
    const std::string original = StorageBytes({{L"日常", L"before"}});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), original));
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.bak.txt"), "backup"));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.TypeIntoCurrentPage(L"after");

    hosttools::LockedFolder locked(m_dir.Path());
    if (!locked.Locked())
        GTEST_SKIP() << "the host cannot take the folder's write rights (chattr)";
    app.PostCommand(ID_TRAY_EXIT);
    std::wstring text = TakeMessageBox(app);
    EXPECT_TRUE(Has(text, L"权限")) << "no word of the rights";
    ::Sleep(300);
    ASSERT_TRUE(app.IsRunning());
    EXPECT_TRUE(PageModified(app));
    EXPECT_EQ(ReadBytes(app.StoragePath()), original);
    EXPECT_EQ(ReadBytes(app.BackupPath()), "backup");

    locked.Release();
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(20000));
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"日常", L"after"}}));
    EXPECT_EQ(ReadBytes(app.BackupPath()), original);
}

TEST_F(FailedSaveE2E, FullDiskKeepsTheNotesUntilThereIsRoomAgain)
{
    // The program's folder on a tiny disk of its own: the executable, the
    // notes and a filler that leaves almost no room.
    hosttools::SmallDisk disk(m_dir.File(L"disk"), 4096);
    if (!disk.Mounted())
        GTEST_SKIP() << "the host cannot mount a small disk here";
    const std::wstring folder = m_dir.File(L"disk");
    const std::string original = StorageBytes({{L"日常", L"small"}});
    ASSERT_TRUE(WriteBytes(folder + L"\\Jotstack.txt", original));
    ASSERT_TRUE(WriteBytes(folder + L"\\Jotstack.bak.txt", "backup"));
    {
        JotstackProcess app(folder);
        ASSERT_TRUE(FileExists(app.ExePath()));
        ASSERT_TRUE(app.Start());
        const std::wstring big = TextInLines(100000, L'满');
        app.TypeIntoCurrentPage(big);

        // Fill the disk.
        const std::wstring filler = folder + L"\\filler.bin";
        HANDLE h = ::CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        std::string block(4096, 'f');
        DWORD written = 0;
        while (::WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
               written == block.size()) {
        }
        ::CloseHandle(h);

        app.PostCommand(ID_TRAY_EXIT);
        std::wstring text = TakeMessageBox(app);
        EXPECT_TRUE(Has(text, L"磁盘已满"));
        ::Sleep(300);
        ASSERT_TRUE(app.IsRunning());
        EXPECT_TRUE(PageModified(app));
        EXPECT_EQ(ReadBytes(app.StoragePath()), original);
        EXPECT_EQ(ReadBytes(app.BackupPath()), "backup");
        EXPECT_FALSE(FileExists(app.StoragePath() + L".tmp"));

        ::DeleteFileW(filler.c_str());
        app.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(20000));
        EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"日常", big}}));
        EXPECT_EQ(ReadBytes(app.BackupPath()), original);
    }
}

TEST_F(FailedSaveE2E, LogoffWithAFailedSaveWritesAnEmergencyCopyAndTellsAtTheNextStart)
{
    const std::string original = StorageBytes({{L"A", L"a"}});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), original));
    std::wstring copyPath;
    {
        JotstackProcess app(m_dir);
        ASSERT_TRUE(app.Start());
        app.TypeIntoCurrentPage(L"typed before the logoff");
        HANDLE lock = ::CreateFileW(app.StoragePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        EXPECT_NE(::SendMessageW(app.MainWindow(), WM_QUERYENDSESSION, 0, 0), 0);
        ::SendMessageW(app.MainWindow(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(ReadThrough(lock), original);
        ::CloseHandle(lock);
        app.Kill();   // the logon ends
    }

    // The copy sits in the local application-data folder, in storage form.
    wchar_t local[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local)));
    const std::wstring folder = std::wstring(local) + L"\\Jotstack";
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW((folder + L"\\Jotstack-*.txt").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE) << "no emergency copy";
    std::vector<std::wstring> copies;
    do
        copies.push_back(folder + L"\\" + data.cFileName);
    while (::FindNextFileW(find, &data));
    ::FindClose(find);
    for (const std::wstring& c : copies)
        if (ReadBytes(c) == StorageBytes({{L"A", L"typed before the logoff"}}))
            copyPath = c;
    ASSERT_FALSE(copyPath.empty()) << "no copy holds the typed notes";

    // The next start tells where the copy is, once.
    {
        JotstackProcess app(m_dir);
        ASSERT_TRUE(app.Start());
        std::wstring text = TakeMessageBox(app);
        EXPECT_TRUE(Has(text, copyPath.c_str())) << "the notice names the copy";
        app.Kill();
    }
    {
        JotstackProcess app(m_dir);
        ASSERT_TRUE(app.Start());
        EXPECT_EQ(app.FindOwnWindow(L"#32770"), nullptr);
        app.Kill();
    }
    ::DeleteFileW(copyPath.c_str());
}
