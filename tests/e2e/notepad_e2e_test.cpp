// The real Jotstack.exe, started under Wine and driven from outside with
// window messages; the checks look at windows and at the files on disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include <windows.h>
#include <shellapi.h>

#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"

namespace {

class NotepadE2E : public JotstackE2ETest {};

}  // namespace

TEST_F(NotepadE2E, StartsHiddenWithTheIconInTheTray)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));
    EXPECT_TRUE(app.TrayIconExists());
    // A fresh start creates the storage file and shows one page "日常".
    EXPECT_TRUE(FileExists(app.StoragePath()));
    std::vector<VisiblePage> pages = app.Pages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].name, L"日常");
    EXPECT_EQ(pages[0].text, L"");
}

TEST_F(NotepadE2E, SecondStartEndsAndBringsTheFirstCopyForward)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    ASSERT_FALSE(::IsWindowVisible(app.MainWindow()));
    EXPECT_EQ(app.RunSecondCopy(), 0);
    EXPECT_TRUE(app.IsRunning());
    EXPECT_TRUE(::IsWindowVisible(app.MainWindow()));
    // The notice re-adds the icon about a second later.
    ::Sleep(1500);
    EXPECT_TRUE(app.TrayIconExists());
}

TEST_F(NotepadE2E, PagesOfAStorageFileAppearInTabOrder)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"),
                           StorageBytes({{L"日常", L"买菜\r\n交电费"},
                                         {L"工作", L""},
                                         {L"  读书 笔记 ", L"第一章"}})));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    std::vector<VisiblePage> pages = app.Pages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].name, L"日常");
    EXPECT_EQ(pages[0].text, L"买菜\r\n交电费");
    EXPECT_EQ(pages[1].name, L"工作");
    EXPECT_EQ(pages[1].text, L"");
    EXPECT_EQ(pages[2].name, L"读书 笔记");
    EXPECT_EQ(pages[2].text, L"第一章");
}

TEST_F(NotepadE2E, SaveWritesExactBytesAndKeepsOneBackup)
{
    const std::string original = StorageBytes({{L"A", L"one"}, {L"B", L"two"}});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), original));
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.bak.txt"), "old backup"));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());

    // Nothing modified: Save writes nothing and leaves the backup alone.
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()), original);
    EXPECT_EQ(ReadBytes(app.BackupPath()), "old backup");

    app.SelectTab(1);
    app.TypeIntoCurrentPage(L"two\r\nthree");
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"A", L"one"}, {L"B", L"two\r\nthree"}}));
    EXPECT_EQ(ReadBytes(app.BackupPath()), original);
    EXPECT_FALSE(FileExists(app.StoragePath() + L".tmp"));

    // The marks were cleared: a second Save changes nothing.
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.BackupPath()), original);
}

TEST_F(NotepadE2E, EscapeSavesAndHidesWithoutEnding)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    ASSERT_TRUE(::IsWindowVisible(app.MainWindow()));
    app.TypeIntoCurrentPage(L"jotted");
    ::SendMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));
    EXPECT_TRUE(app.IsRunning());
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"日常", L"jotted"}}));
    EXPECT_NE(ReadIni(app.IniPath(), L"Position", L"WindowPos"), L"<missing>");
}

TEST_F(NotepadE2E, ExitFromTheTrayMenuSavesEverythingAndEnds)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"),
                           StorageBytes({{L"A", L"alpha"}, {L"B", L"beta\r\nbeta"}, {L"C", L""}})));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.SelectTab(1);
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 2, 7);
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(20000));

    std::wstring pos = ReadIni(app.IniPath(), L"Position", L"WindowPos");
    EXPECT_EQ(std::count(pos.begin(), pos.end(), L','), 9) << pos;
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CUR_VIEW"), L"1");
    EXPECT_EQ(ReadIni(app.IniPath(), L"View1", L"PARA_START_CHAR"), L"2");
    EXPECT_EQ(ReadIni(app.IniPath(), L"View1", L"PARA_END_CHAR"), L"7");
    // Pages whose state did not change get no section: it reads as the start.
    EXPECT_EQ(::GetPrivateProfileIntW(L"View0", L"PARA_FIRST_LINE", 0, app.IniPath().c_str()), 0u);
    EXPECT_EQ(ReadIni(app.IniPath(), L"View2", L"PARA_START_CHAR"), L"<missing>");

    // The next start comes back to the same page and selection.
    JotstackProcess again(m_dir);
    ASSERT_TRUE(again.Start());
    HWND edit = again.ActiveEdit();
    EXPECT_EQ(ReadWindowText(again.ActiveChild()), L"B");
    DWORD sel = static_cast<DWORD>(::SendMessageW(edit, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(sel), 2);
    EXPECT_EQ(HIWORD(sel), 7);
}

TEST_F(NotepadE2E, PageLongerThanTheTypingLimitLoadsAndSavesWhole)
{
    const std::wstring longText = TextInLines(1100000, L'长');
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"),
                           StorageBytes({{L"long", longText}, {L"short", L"x"}})));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    app.SelectTab(0);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()).size(), longText.size());
    app.SelectTab(1);
    app.TypeIntoCurrentPage(L"y");
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"long", longText}, {L"short", L"y"}}));
}

TEST_F(NotepadE2E, DamagedFileLoadsAndSavesBackWhatCouldBeRead)
{
    // Odd byte count, a NUL, a lone surrogate and a header without line end.
    std::string bytes = Utf16Bytes(kStorageSeparator + L"P\r\na" + std::wstring(1, L'\0') + L"b" +
                                   std::wstring(1, wchar_t(0xD800)) + kStorageSeparator + L"tail");
    bytes += 'Z';
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), bytes));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    std::vector<VisiblePage> pages = app.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].text, std::wstring(L"a b") + wchar_t(0xD800));
    EXPECT_EQ(pages[1].name, L"tail" + std::wstring(1, L'Z'));
    app.SelectTab(0);
    ::SendMessageW(app.ActiveEdit(), EM_SETMODIFY, TRUE, 0);
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()),
              StorageBytes({{L"P", std::wstring(L"a b") + wchar_t(0xD800)}, {L"tailZ", L""}}));
    EXPECT_EQ(ReadBytes(app.BackupPath()), bytes);
}

TEST_F(NotepadE2E, KillingTheProcessDuringSavesNeverLeavesHalfANotebook)
{
    // Big enough that a save takes a while (about 0.1 s under Wine): 30 pages
    // of 200,000 characters.
    std::vector<std::pair<std::wstring, std::wstring>> pages;
    for (int i = 0; i < 30; ++i)
        pages.push_back({L"页" + std::to_wstring(i), TextInLines(200000, wchar_t(L'a' + i))});
    std::string content = StorageBytes(pages);
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), content));

    // scripts/drills.sh asks for hundreds of trials (JOT_KILL_TRIALS).
    const char* trialsEnv = std::getenv("JOT_KILL_TRIALS");
    const int trials = trialsEnv && std::atoi(trialsEnv) > 0 ? std::atoi(trialsEnv) : 9;
    std::mt19937 random(12345);
    std::string backup;   // none yet
    int savedRounds = 0;
    for (int round = 0; round < trials; ++round) {
        JotstackProcess app(m_dir);
        ASSERT_TRUE(app.Start(60000)) << round;
        app.SelectTab(round % 30);
        // The page stays as big as it was, so every trial saves the whole
        // big notebook.
        std::wstring edited = L"round " + std::to_wstring(round) + L"\r\n" +
                              TextInLines(199990, wchar_t(L'a' + round % 26));
        app.TypeIntoCurrentPage(edited);
        auto next = pages;
        next[static_cast<size_t>(round % 30)].second = edited;
        const std::string nextContent = StorageBytes(next);

        app.PostCommand(ID_FILE_SAVE);
        const std::wstring temp = app.StoragePath() + L".tmp";
        DWORD start = ::GetTickCount();
        switch (round % 3) {
        case 0:   // any moment
            ::Sleep(std::uniform_int_distribution<DWORD>(0, 250)(random));
            break;
        case 1:   // while the new content is being written
            while (!FileExists(temp) && ::GetTickCount() - start < 3000)
                ::Sleep(1);
            ::Sleep(std::uniform_int_distribution<DWORD>(0, 20)(random));
            break;
        case 2:   // as the files are being rotated
            while (!FileExists(temp) && ::GetTickCount() - start < 3000)
                ::Sleep(1);
            while (FileExists(temp) && FileExists(app.StoragePath()) && ::GetTickCount() - start < 3000)
                ;
            break;
        }
        app.Kill();

        // The next start finishes or drops the interrupted save.
        JotstackProcess check(m_dir);
        ASSERT_TRUE(check.Start(60000)) << round;
        check.Kill();
        std::string now = ReadBytes(m_dir.File(L"Jotstack.txt"));
        ASSERT_TRUE(now == content || now == nextContent) << "round " << round << ": "
                                                          << now.size() << " bytes";
        // The backup generation survives too: the one before, or the notes
        // this save replaced.
        const std::string bak = ReadBytes(m_dir.File(L"Jotstack.bak.txt"));
        ASSERT_TRUE(bak == backup || bak == content) << "round " << round << ": backup of "
                                                     << bak.size() << " bytes";
        backup = bak;
        if (now == nextContent) {
            pages = next;
            content = nextContent;
            ++savedRounds;
        }
    }
    // Some kills came after the save, some before or during it.
    std::printf("%d trials: %d saves completed before the kill, the others left the old notes; "
                "no file was anything else\n", trials, savedRounds);
}

TEST_F(NotepadE2E, PageManagerAddsAPageThatTheNextSaveWrites)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.PostCommand(ID_PAGE_MANAGER);
    HWND manager = app.WaitForOwnWindow(L"#32770", L"页签管理", 10000);
    ASSERT_NE(manager, nullptr);
    ::PostMessageW(::GetDlgItem(manager, IDC_PAGE_ADD), BM_CLICK, 0, 0);
    HWND name = app.WaitForOwnWindow(L"#32770", L"新建页签", 10000);
    ASSERT_NE(name, nullptr);
    ::SendMessageW(::GetDlgItem(name, IDC_PAGE_NAME), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"  新页  "));
    ::PostMessageW(::GetDlgItem(name, IDOK), BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && app.PageCount() < 2; ++i)
        ::Sleep(50);
    ASSERT_EQ(app.PageCount(), 2);
    // The page that was current stays current.
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"日常");
    ::PostMessageW(manager, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 100 && app.FindOwnWindow(L"#32770", L"页签管理"); ++i)
        ::Sleep(50);

    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"日常", L""}, {L"新页", L""}}));
}

namespace {

// Opens the page manager on a shown window and returns it.
HWND OpenPageManager(JotstackProcess& app)
{
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.PostCommand(ID_PAGE_MANAGER);
    return app.WaitForOwnWindow(L"#32770", L"页签管理", 10000);
}

void SelectEntry(HWND manager, int index)
{
    HWND list = ::GetDlgItem(manager, IDC_PAGE_LIST);
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(IDC_PAGE_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

// Clicks a button of the manager and, when a message box comes up, returns
// its text after closing it.
std::wstring ClickAndReadMessage(JotstackProcess& app, HWND manager, int button)
{
    ::PostMessageW(::GetDlgItem(manager, button), BM_CLICK, 0, 0);
    HWND box = app.WaitForOwnWindow(L"#32770", L"Jotstack", 3000);
    if (!box)
        return L"";
    std::wstring text;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        ::GetClassNameW(c, cls, 32);
        if (wcscmp(cls, L"Static") == 0 && ::GetWindowTextLengthW(c) > 1)
            text = ReadWindowText(c);
    }
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && ::IsWindow(box); ++i)
        ::Sleep(20);
    return text;
}

std::vector<std::wstring> Names(const JotstackProcess& app)
{
    std::vector<std::wstring> names;
    for (const VisiblePage& p : app.Pages())
        names.push_back(p.name);
    return names;
}

}  // namespace

TEST_F(NotepadE2E, PageManagerRefusesToDeleteAPageWithTextOrTheLastPage)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"),
                           StorageBytes({{L"A", L" "}, {L"B", L""}, {L"C", L"c"}})));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    HWND manager = OpenPageManager(app);
    ASSERT_NE(manager, nullptr);

    SelectEntry(manager, 0);   // a single space is text
    EXPECT_EQ(ClickAndReadMessage(app, manager, IDC_PAGE_DELETE),
              L"抱歉，该页签还有内容。请把页签内容清空后再删除。");
    EXPECT_EQ(app.PageCount(), 3);

    SelectEntry(manager, 1);   // empty: goes, and the page after it is selected
    EXPECT_EQ(ClickAndReadMessage(app, manager, IDC_PAGE_DELETE), L"");
    EXPECT_EQ(app.PageCount(), 2);
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"C");
    EXPECT_EQ(::SendMessageW(::GetDlgItem(manager, IDC_PAGE_LIST), LB_GETCURSEL, 0, 0), 1);
    ::PostMessageW(manager, WM_COMMAND, IDCANCEL, 0);
    ::Sleep(300);

    // The next Save writes the notebook without the deleted page.
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"A", L" "}, {L"C", L"c"}}));
}

TEST_F(NotepadE2E, PageManagerKeepsTheLastPage)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    HWND manager = OpenPageManager(app);
    ASSERT_NE(manager, nullptr);
    SelectEntry(manager, 0);
    EXPECT_EQ(ClickAndReadMessage(app, manager, IDC_PAGE_DELETE), L"亲，好歹留点底线吧，别都删没了。");
    EXPECT_EQ(app.PageCount(), 1);
}

TEST_F(NotepadE2E, MoveToTopExchangesWithTheFirstPage)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"),
                           StorageBytes({{L"A", L"a"}, {L"B", L"b"}, {L"C", L"c"}, {L"D", L"d"}})));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    HWND manager = OpenPageManager(app);
    ASSERT_NE(manager, nullptr);
    SelectEntry(manager, 3);
    ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(IDC_PAGE_TOP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(manager, IDC_PAGE_TOP)));
    SelectEntry(manager, 1);
    ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(IDC_PAGE_UP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(manager, IDC_PAGE_UP)));
    ::PostMessageW(manager, WM_COMMAND, IDCANCEL, 0);
    ::Sleep(300);
    EXPECT_EQ(Names(app), (std::vector<std::wstring>{L"B", L"D", L"C", L"A"}));
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()),
              StorageBytes({{L"B", L"b"}, {L"D", L"d"}, {L"C", L"c"}, {L"A", L"a"}}));
}

TEST_F(NotepadE2E, RenameChecksTheNameAndMarksThePage)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"),
                           StorageBytes({{L"Work", L"w"}, {L"Home", L"h"}})));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    HWND manager = OpenPageManager(app);
    ASSERT_NE(manager, nullptr);
    SelectEntry(manager, 1);
    ::PostMessageW(::GetDlgItem(manager, IDC_PAGE_RENAME), BM_CLICK, 0, 0);
    HWND name = app.WaitForOwnWindow(L"#32770", L"页签更名", 10000);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(ReadWindowText(::GetDlgItem(name, IDC_PAGE_NAME)), L"Home");

    auto tryName = [&](const wchar_t* text) {
        ::SendMessageW(::GetDlgItem(name, IDC_PAGE_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        ::PostMessageW(::GetDlgItem(name, IDOK), BM_CLICK, 0, 0);
        HWND box = app.WaitForOwnWindow(L"#32770", L"Jotstack", 2000);
        if (box)
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        ::Sleep(200);
        return box != nullptr;
    };
    EXPECT_TRUE(tryName(L"   "));      // blank: refused, dialog stays
    EXPECT_TRUE(tryName(L"Work"));     // another page's name: refused
    EXPECT_FALSE(tryName(L" work "));  // differs in case only: taken, trimmed
    EXPECT_FALSE(::IsWindow(name));
    ::PostMessageW(manager, WM_COMMAND, IDCANCEL, 0);
    ::Sleep(300);

    EXPECT_EQ(Names(app), (std::vector<std::wstring>{L"Work", L"work"}));
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"Work", L"w"}, {L"work", L"h"}}));
}

TEST_F(NotepadE2E, PagesIgnoreMinimiseCloseAndRestore)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    HWND child = app.ActiveChild();
    ASSERT_NE(child, nullptr);
    for (WPARAM cmd : {SC_CLOSE, SC_MINIMIZE, SC_RESTORE})
        ::SendMessageW(child, WM_SYSCOMMAND, cmd, 0);
    EXPECT_TRUE(::IsWindow(child));
    EXPECT_TRUE(::IsZoomed(child));
    EXPECT_EQ(app.PageCount(), 1);
}

TEST_F(NotepadE2E, SaveAsExportsAndLeavesTheStorageFileAndMarksAlone)
{
    const std::string original = StorageBytes({{L"A", L"one"}, {L"B", L"two"}});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), original));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.TypeIntoCurrentPage(L"edited");   // page A (the current one)

    app.PostCommand(ID_FILE_SAVE_AS);
    HWND dialog = app.WaitForOwnWindow(L"#32770", L"Save As", 10000);
    ASSERT_NE(dialog, nullptr);
    const std::wstring exported = m_dir.File(L"export.txt");
    HWND nameBox = ::GetDlgItem(dialog, 1148);   // the Explorer-style file name box
    if (!nameBox)
        nameBox = ::GetDlgItem(dialog, 1152);
    ASSERT_NE(nameBox, nullptr);
    ::SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(exported.c_str()));
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && !FileExists(exported); ++i)
        ::Sleep(50);
    ::Sleep(200);

    const std::wstring eq(12, L'=');
    EXPECT_EQ(ReadBytes(exported),
              Utf16Bytes(eq + L"A" + eq + L"\r\nedited" + eq + L"B" + eq + L"\r\ntwo"));
    EXPECT_EQ(ReadBytes(app.StoragePath()), original);
    EXPECT_FALSE(FileExists(app.BackupPath()));

    // The marks are still set: the next Save writes the storage file.
    app.Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"A", L"edited"}, {L"B", L"two"}}));
    EXPECT_EQ(ReadBytes(app.BackupPath()), original);
}

TEST_F(NotepadE2E, ViewTogglesAndAlwaysOnTopAreStoredAtOnce)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    HWND toolbar = ::FindWindowExW(app.MainWindow(), nullptr, L"ToolbarWindow32", nullptr);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_TRUE(::IsWindowVisible(toolbar));

    app.Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(::IsWindowVisible(toolbar));
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_TOOLBAR"), L"0");
    app.Command(ID_VIEW_STATUS_BAR);
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_STATUS_BAR"), L"0");

    app.Command(ID_TOP_MOST);
    EXPECT_TRUE(::GetWindowLongW(app.MainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_TOP_MOST"), L"1");
    app.Command(ID_TOP_MOST);
    EXPECT_FALSE(::GetWindowLongW(app.MainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_TOP_MOST"), L"0");

    // With a saved window position the hidden bars stay hidden next time.
    app.PostCommand(ID_TRAY_EXIT);
    ASSERT_TRUE(app.WaitForExit(20000));
    JotstackProcess again(m_dir);
    ASSERT_TRUE(again.Start());
    HWND toolbar2 = ::FindWindowExW(again.MainWindow(), nullptr, L"ToolbarWindow32", nullptr);
    again.Command(ID_SHOW_MAIN_WINDOW);
    EXPECT_FALSE(::IsWindowVisible(toolbar2));
}

TEST_F(NotepadE2E, ThousandsOfPagesLoadAndSaveBackWhole)
{
    std::vector<std::pair<std::wstring, std::wstring>> pages;
    for (int i = 0; i < 1000; ++i)
        pages.push_back({L"第" + std::to_wstring(i) + L"页", L"line " + std::to_wstring(i)});
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes(pages)));
    JotstackProcess app(m_dir);
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(app.Start(300000));
    std::printf("1000 pages: start to tray in %lu ms\n", ::GetTickCount() - start);
    EXPECT_EQ(app.PageCount(), 1000);
    app.SelectTab(999);
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"第999页");
    app.TypeIntoCurrentPage(L"changed");
    app.Command(ID_FILE_SAVE);
    pages.back().second = L"changed";
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes(pages));
}

TEST_F(NotepadE2E, MinimisingSavesAndHidesInTheTray)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.TypeIntoCurrentPage(L"before minimise");
    ::SendMessageW(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));
    EXPECT_TRUE(app.IsRunning());
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"日常", L"before minimise"}}));
}

TEST_F(NotepadE2E, EndOfLogonSavesTheWholeState)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes({{L"A", L"a"}, {L"B", L"b"}})));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.SelectTab(1);
    app.TypeIntoCurrentPage(L"bb");
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 1, 2);
    EXPECT_NE(::SendMessageW(app.MainWindow(), WM_QUERYENDSESSION, 0, 0), 0);
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes({{L"A", L"a"}, {L"B", L"bb"}}));
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_CUR_VIEW"), L"1");
    EXPECT_EQ(ReadIni(app.IniPath(), L"View1", L"PARA_START_CHAR"), L"1");
    EXPECT_NE(ReadIni(app.IniPath(), L"Position", L"WindowPos"), L"<missing>");
}

TEST_F(NotepadE2E, TaskbarRestartBringsTheIconBack)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = app.MainWindow();
    nid.uID = 130;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &nid));
    ASSERT_FALSE(app.TrayIconExists());
    ::SendMessageW(app.MainWindow(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(app.TrayIconExists());
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));
}

TEST_F(NotepadE2E, PageManagerReachesEveryOneOfTenThousandPages)
{
    Notebook pages = ManyPages(10000);
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes(pages)));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    HWND manager = OpenPageManager(app);
    ASSERT_NE(manager, nullptr);
    HWND list = ::GetDlgItem(manager, IDC_PAGE_LIST);
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 10000);
    SelectEntry(manager, 9999);
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"页9999");
    EXPECT_EQ(app.CurrentTab(), 9999);
    app.TypeIntoCurrentPage(L"从页签管理进来改的");
    // The last page goes to the top, and the first one to the bottom.
    ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(IDC_PAGE_TOP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(manager, IDC_PAGE_TOP)));
    EXPECT_EQ(app.CurrentTab(), 0);
    EXPECT_EQ(ReadWindowText(app.ActiveChild()), L"页9999");
    ::PostMessageW(manager, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 200 && ::IsWindow(manager); ++i)
        ::Sleep(20);
    ::SendMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    pages.back().second = L"从页签管理进来改的";
    std::swap(pages.front(), pages.back());
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes(pages));
}
