// Files nobody planned for, under Wine with the real program: damaged and
// odd storage files, hostile INI files, deep and oddly named folders, and
// many copies started at once. Each storage file loads and saves back
// without losing anything the program can hold.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "notes/code_page.h"
#include "notes/storage_codec.h"
#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"

namespace {

// The ANSI code page of this Wine prefix (936 here), as the program uses it.
class AnsiCodePage : public CodePage {
public:
    std::u16string ToUtf16(std::string_view bytes) const override
    {
        if (bytes.empty())
            return {};
        int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        std::u16string out(static_cast<size_t>(std::max(n, 0)), u'\0');
        if (n > 0)
            ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                  reinterpret_cast<wchar_t*>(out.data()), n);
        return out;
    }
    std::string FromUtf16(std::u16string_view) const override { return {}; }
};

std::wstring W(std::u16string_view s)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}

bool LongDrills()
{
    const char* env = std::getenv("JOT_LONG_DRILLS");
    return env && *env && *env != '0';
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM lp)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    if (_wcsicmp(cls, L"Static") == 0)
        *reinterpret_cast<std::wstring*>(lp) += ReadWindowText(hwnd);
    return TRUE;
}

std::wstring TakeMessageBox(const JotstackProcess& app, DWORD timeoutMs)
{
    HWND box = app.WaitForOwnWindow(L"#32770", nullptr, timeoutMs);
    if (!box)
        return L"<no message>";
    std::wstring text;
    ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && ::IsWindow(box); ++i)
        ::Sleep(10);
    return text;
}

// Starts the program on the file, checks that the pages shown are the
// pages the file holds, marks a page modified, exits through the tray menu
// and checks that the saved file holds exactly those pages.
void LoadsAndSavesBackWhole(const ScratchDir& dir, const std::string& bytes, const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_TRUE(WriteBytes(dir.File(L"Jotstack.txt"), bytes));
    ::DeleteFileW(dir.File(L"Jotstack.bak.txt").c_str());
    const std::vector<storage::Page> expected = storage::ParseFile(bytes, AnsiCodePage());
    JotstackProcess app(dir);
    ASSERT_TRUE(app.Start(120000));
    ASSERT_EQ(app.PageCount(), static_cast<int>(expected.size()));
    if (expected.size() <= 20) {
        std::vector<VisiblePage> pages = app.Pages();
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i].name, W(expected[i].name)) << "page " << i;
            EXPECT_EQ(pages[i].text, W(expected[i].text)) << "page " << i;
        }
    }
    app.SelectTab(0);
    ::SendMessageW(app.ActiveEdit(), EM_SETMODIFY, TRUE, 0);
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(120000));
    EXPECT_EQ(ReadBytes(dir.File(L"Jotstack.txt")), storage::Encode(expected, storage::Form::Storage));
    EXPECT_EQ(ReadBytes(dir.File(L"Jotstack.bak.txt")), bytes) << "the loaded file is the backup";
}

// Random UTF-16 with every combining mark made an "x". Wine 8's Uniscribe
// reads before the start of its glyph array when a run of text begins with
// a mark it attaches to a base (GPOS mark-to-base and mark-to-ligature);
// the 64-bit Wine faults there, inside the edit control, where Windows shows
// a dotted circle. What the storage file holds is the question here.
std::string WithoutCombiningMarks(std::string bytes)
{
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const wchar_t unit = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                  static_cast<unsigned char>(bytes[i + 1]) << 8);
        WORD type = 0;
        if (::GetStringTypeW(CT_CTYPE3, &unit, 1, &type) &&
            (type & (C3_NONSPACING | C3_DIACRITIC | C3_VOWELMARK))) {
            bytes[i] = 'x';
            bytes[i + 1] = '\0';
        }
    }
    return bytes;
}

class HostileInputE2E : public JotstackE2ETest {};

}  // namespace

TEST_F(HostileInputE2E, DamagedStorageFilesLoadAndSaveBackWhatTheyHold)
{
    std::mt19937 random(99);
    std::string randomBytes(4096, '\0');
    for (char& c : randomBytes)
        c = static_cast<char>(random());
    std::string odd = StorageBytes({{L"P", L"ab"}});
    odd += 'Z';
    const std::wstring lone = std::wstring(1, wchar_t(0xDC00)) + L"x" + wchar_t(0xD800);

    LoadsAndSavesBackWhole(m_dir, odd, "odd byte count");
    LoadsAndSavesBackWhole(m_dir, StorageBytes({{L"S" + lone, lone + L"\r\n" + lone}}), "lone surrogates");
    LoadsAndSavesBackWhole(m_dir, StorageBytes({{L"N", std::wstring(L"a\0b\0", 4)}}), "NULs");
    LoadsAndSavesBackWhole(m_dir, Utf16Bytes(kStorageSeparator + L"P\r\nbody" + kStorageSeparator.substr(0, 7)), "separator cut at the end");
    LoadsAndSavesBackWhole(m_dir, Utf16Bytes(L"before" + kStorageSeparator + L"P\rno LF" + kStorageSeparator), "text before, CR only");
    LoadsAndSavesBackWhole(m_dir, "\xFF\xFE" + WithoutCombiningMarks(randomBytes), "random UTF-16");
    randomBytes[0] = 'x';
    LoadsAndSavesBackWhole(m_dir, randomBytes, "random bytes");
}

TEST_F(HostileInputE2E, ReadOnlyStorageFileAndABackupThatIsAFolder)
{
    const std::string original = StorageBytes({{L"A", L"a"}});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), original));
    ASSERT_TRUE(::SetFileAttributesW(m_dir.File(L"Jotstack.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::CreateDirectoryW(m_dir.File(L"Jotstack.bak.txt").c_str(), nullptr));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.TypeIntoCurrentPage(L"kept");
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(20000));
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"A", L"kept"}}));
    DWORD attrs = ::GetFileAttributesW(app.BackupPath().c_str());
    EXPECT_TRUE(attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
        << "the folder is the user's: left alone";
    ::RemoveDirectoryW(app.BackupPath().c_str());
}

TEST_F(HostileInputE2E, HostileSettingsFilesStartAUsableWindow)
{
    std::string outOfRange = "[ParaBlock]\r\n";
    for (const char* key : {"PARA_TOOLBAR", "PARA_STATUS_BAR", "PARA_TOP_MOST", "PARA_TAB_STOPS",
                            "PARA_WORD_WRAP", "PARA_CUR_VIEW", "PARA_CLOCK_RADIUS", "PARA_CLOCK_X",
                            "PARA_CLOCK_Y", "PARA_TRANSPARENCY", "PARA_FLOAT_WND_X", "PARA_FLOAT_WND_Y",
                            "PARA_FLOAT_WND_TRANS", "PARA_HTML_SEL"})
        outOfRange += std::string(key) + "=-2147483648\r\n";
    std::string text = "[ParaBlock]\r\nPARA_TAB_STOPS=abc\r\nPARA_CUR_VIEW=99999999999999999999\r\n"
                       "PARA_TRANSPARENCY=1e9\r\nPARA_WORD_WRAP=\r\n[Position]\r\nWindowPos=garbage,1,2\r\n";
    std::string hugeLine = "[ParaBlock]\r\nPARA_TAB_STOPS=" + std::string(1 << 20, '7') + "\r\n[Position]\r\nWindowPos=" +
                           std::string(1 << 20, ',') + "\r\n";
    std::string noSection = "[Other]\r\nPARA_TOOLBAR=0\r\n[Position]\r\nWindowPos=0,1,0,0,0,0,90000,90000,90500,90400\r\n";
    std::wstring wide = L"[ParaBlock]\r\nPARA_TRANSPARENCY=500\r\nPARA_TOP_MOST=1\r\n[Position]\r\nWindowPos=0,1,-1,-1,-8,-8,900,700,100,120\r\n";
    std::string utf16 = Utf16Bytes(wide);
    std::string ansi = "[ParaBlock]\r\nPARA_TOOLBAR=\xD6\xD0\xCE\xC4\r\n[\xD6\xD0]\r\nx=y\r\n";

    const std::pair<const char*, std::string> cases[] = {
        {"every key out of range", outOfRange}, {"text and huge numbers", text},
        {"a 1 MB line", hugeLine},              {"no ParaBlock, placement off-screen", noSection},
        {"UTF-16 INI, inside-out placement", utf16}, {"ANSI INI", ansi},
    };
    for (const auto& [what, ini] : cases) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.ini"), ini));
        ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes({{L"A", L"a"}, {L"B", L"b"}})));
        JotstackProcess app(m_dir);
        ASSERT_TRUE(app.Start(60000));
        app.Command(ID_SHOW_MAIN_WINDOW);
        ASSERT_TRUE(::IsWindowVisible(app.MainWindow()));
        RECT rc{};
        ::GetWindowRect(app.MainWindow(), &rc);
        RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        RECT overlap{};
        EXPECT_TRUE(::IntersectRect(&overlap, &rc, &screen)) << "window off the screen";
        EXPECT_GT(rc.right - rc.left, 50);
        EXPECT_GT(rc.bottom - rc.top, 50);
        app.TypeIntoCurrentPage(L"typed");
        app.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(30000));
        std::string saved = ReadBytes(app.StoragePath());
        EXPECT_TRUE(saved == StorageBytes({{L"A", L"typed"}, {L"B", L"b"}}) ||
                    saved == StorageBytes({{L"A", L"a"}, {L"B", L"typed"}}))
            << "the notes were not saved whole";
    }
}

TEST_F(HostileInputE2E, FolderWithSpacesAndChineseKeepsEverythingBesideTheProgram)
{
    const std::wstring folder = m_dir.File(L"我的 笔记 本 (测试)");
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    {
        JotstackProcess app(folder);
        ASSERT_TRUE(app.Start());
        app.TypeIntoCurrentPage(L"中文路径");
        app.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(20000));
    }
    EXPECT_EQ(ReadBytes(folder + L"\\Jotstack.txt"), StorageBytes({{L"日常", L"中文路径"}}));
    EXPECT_NE(ReadIni(folder + L"\\Jotstack.ini", L"Position", L"WindowPos"), L"<missing>");
    EXPECT_FALSE(FileExists(m_dir.File(L"Jotstack.ini")));
}

TEST_F(HostileInputE2E, FolderTooDeepForWholePathsIsRefusedClearlyNeverCut)
{
    // The deepest folder a program can still be started from (its own path
    // just under 260 characters): the backup and temporary names beside it
    // no longer fit.
    std::wstring folder = m_dir.Path();
    const size_t target = MAX_PATH - 2 - std::wstring(L"\\Jotstack.exe").size();
    while (folder.size() + 40 < target) {
        folder += L"\\深层文件夹-deep-folder-0123456789";
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
    }
    folder += L"\\" + std::wstring(target - folder.size() - 1, L'x');
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
    const std::wstring exe = folder + L"\\Jotstack.exe";
    ASSERT_TRUE(::CopyFileW(JotstackUnderTest().c_str(), (L"\\\\?\\" + exe).c_str(), FALSE));
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    const std::wstring longExe = L"\\\\?\\" + exe;
    if (!::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) &&
        !::CreateProcessW(longExe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) &&
        !::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        GTEST_SKIP() << "this system cannot start a program that deep (error " << ::GetLastError() << ")";

    // Either the program says it cannot run there and ends, or it runs with
    // its files beside it; never with settings or notes at a cut path.
    bool told = false;
    DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT && ::GetTickCount() - start < 30000) {
        if (HWND box = FindProcessWindow(pi.dwProcessId, L"#32770")) {
            std::wstring text;
            ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
            EXPECT_NE(text.find(L"路径太长"), std::wstring::npos);
            told = true;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    const bool ended = ::WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
    if (!ended)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    EXPECT_TRUE(told) << "no clear message";
    EXPECT_TRUE(ended);

    // Nothing was written at a cut path anywhere along the way.
    for (std::wstring dir = folder; dir.size() > m_dir.Path().size();) {
        const std::wstring cut = (dir + L"\\Jotstack.exe").substr(0, MAX_PATH - 1);
        for (const wchar_t* ext : {L".ini", L".txt"}) {
            std::wstring base = cut.substr(0, cut.rfind(L'.') == std::wstring::npos ? cut.size() : cut.rfind(L'.'));
            EXPECT_FALSE(FileExists(L"\\\\?\\" + base + ext)) << "file at a cut path";
        }
        dir = dir.substr(0, dir.rfind(L'\\'));
    }
}

TEST_F(HostileInputE2E, TenCopiesStartedAtOnceLeaveExactlyOneRunning)
{
    const std::string notes = StorageBytes({{L"A", L"alpha"}, {L"B", L"beta"}});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), notes));
    JotstackProcess copy(m_dir);   // puts Jotstack.exe into the folder
    const std::wstring exe = copy.ExePath();
    const char* env = std::getenv("JOT_STORM_ROUNDS");
    const int rounds = env && std::atoi(env) > 0 ? std::atoi(env) : 2;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<PROCESS_INFORMATION> procs;
        for (int i = 0; i < 10; ++i) {
            STARTUPINFOW si{};
            si.cb = sizeof(si);
            PROCESS_INFORMATION pi{};
            std::wstring cmd = L"\"" + exe + L"\"";
            ASSERT_TRUE(::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                         nullptr, m_dir.Path().c_str(), &si, &pi))
                << "error " << ::GetLastError() << " starting " << std::string(exe.begin(), exe.end()).size();
            procs.push_back(pi);
        }
        // All ten go at the same moment.
        for (auto& pi : procs)
            ::ResumeThread(pi.hThread);

        // The losers end (each waits for the winner's notice handler).
        int running = 10;
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < 60000) {
            running = 0;
            for (auto& pi : procs)
                running += ::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
            if (running <= 1)
                break;
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
            ::Sleep(100);
        }
        ::Sleep(1500);   // a late second copy would show up now
        running = 0;
        for (auto& pi : procs)
            running += ::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
        EXPECT_EQ(running, 1);
        for (auto& pi : procs) {
            ::TerminateProcess(pi.hProcess, 9);
            ::WaitForSingleObject(pi.hProcess, 10000);
            ::CloseHandle(pi.hProcess);
            ::CloseHandle(pi.hThread);
        }
        EXPECT_EQ(ReadBytes(m_dir.File(L"Jotstack.txt")), notes) << "the notes changed";
        if (::testing::Test::HasFailure())
            break;
    }
}

TEST_F(HostileInputE2E, HugeNotebooksLoadAndSaveBackWhole)
{
    if (!LongDrills())
        GTEST_SKIP() << "a long drill: scripts/drills.sh runs it (JOT_LONG_DRILLS=1)";
    // 10,000 pages.
    std::vector<std::pair<std::wstring, std::wstring>> pages;
    for (int i = 0; i < 10000; ++i)
        pages.push_back({L"页" + std::to_wstring(i), L"text " + std::to_wstring(i)});
    {
        const std::string bytes = StorageBytes(pages);
        ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), bytes));
        JotstackProcess app(m_dir);
        const DWORD start = ::GetTickCount();
        // Pages beyond what the system gives windows for are announced once.
        bool started = app.Start(600000);
        std::wstring note = TakeMessageBox(app, 1000);
        if (!started)
            started = app.Start(600000);
        std::printf("10,000 pages: up in %lu ms; %ls\n", ::GetTickCount() - start, note.c_str());
        app.PostCommand(ID_TRAY_EXIT);
        TakeMessageBox(app, 100);
        app.SelectTab(0);
        ::SendMessageW(app.ActiveEdit(), EM_SETMODIFY, TRUE, 0);
        app.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(600000));
        EXPECT_EQ(ReadBytes(app.StoragePath()), bytes);
    }
    // A 50 MB file in the ANSI code page.
    {
        std::string ansi;
        ansi.reserve(50u << 20);
        const std::string line = "\xD6\xD0\xCE\xC4 notes in the ANSI code page, line after line\r\n";
        while (ansi.size() + line.size() <= (50u << 20))
            ansi += line;
        LoadsAndSavesBackWhole(m_dir, ansi, "50 MB ANSI");
    }
}
