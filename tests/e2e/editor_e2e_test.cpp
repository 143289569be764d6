// The page editor of the real Jotstack.exe, driven as a user would: menu
// commands, the find and replace dialogs, the tab width dialog, the
// clipboard; checked on the page text, the selection, the INI file, the
// message boxes and the storage file.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"

namespace {

// Controls of the system's find and replace dialogs.
constexpr int kFindEdit = 0x0480;      // edt1
constexpr int kReplaceEdit = 0x0481;   // edt2
constexpr int kReplaceButton = 0x0400; // psh1
constexpr int kReplaceAll = 0x0401;    // psh2
constexpr int kMatchCase = 0x0411;     // chx2

class EditorE2E : public JotstackE2ETest {};

std::wstring MessageText(HWND box)
{
    std::wstring text;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        ::GetClassNameW(c, cls, 32);
        if (wcscmp(cls, L"Static") == 0 && ::GetWindowTextLengthW(c) > 1)
            text = ReadWindowText(c);
    }
    return text;
}

void CloseAndWait(HWND wnd, int id = IDOK)
{
    ::PostMessageW(wnd, WM_COMMAND, id, 0);
    for (int i = 0; i < 200 && ::IsWindow(wnd); ++i)
        ::Sleep(20);
}

// Waits for the program's message box; returns its text after closing it
// (empty when none came).
std::wstring TakeMessage(const JotstackProcess& app, DWORD timeoutMs = 3000)
{
    HWND box = app.WaitForOwnWindow(L"#32770", L"Jotstack", timeoutMs);
    if (!box)
        return L"";
    std::wstring text = MessageText(box);
    CloseAndWait(box);
    return text;
}

std::pair<int, int> Selection(HWND edit)
{
    DWORD s = 0, e = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return {static_cast<int>(s), static_cast<int>(e)};
}

// The program shown with one page holding text, caret at 0.
void StartWithText(JotstackProcess& app, const std::wstring& text)
{
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.TypeIntoCurrentPage(text);
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 0, 0);
}

HWND OpenFindDialog(const JotstackProcess& app, bool replace)
{
    app.PostCommand(replace ? ID_EDIT_REPLACE : ID_EDIT_FIND);
    return app.WaitForOwnWindow(L"#32770", replace ? L"替换" : L"查找", 10000);
}

void SetDlgText(HWND dlg, int id, const std::wstring& text)
{
    HWND ctl = ::GetDlgItem(dlg, id);
    ::SendMessageW(ctl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // The dialog enables its buttons on the edit's change notice.
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(ctl));
}

void Click(HWND dlg, int id)
{
    ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
}

// Lets the program handle what was posted to it.
void Settle(const JotstackProcess& app)
{
    ::SendMessageW(app.MainWindow(), WM_NULL, 0, 0);
    ::Sleep(100);
    ::SendMessageW(app.MainWindow(), WM_NULL, 0, 0);
}

}  // namespace

TEST_F(EditorE2E, FindNextWrapsAndSaysWhenTheRoundIsComplete)
{
    JotstackProcess app(m_dir);
    StartWithText(app, L"ab ab ab");
    HWND dlg = OpenFindDialog(app, false);
    ASSERT_NE(dlg, nullptr);
    SetDlgText(dlg, kFindEdit, L"ab");
    const int expected[] = {0, 3, 6};
    for (int pos : expected) {
        Click(dlg, IDOK);
        Settle(app);
        EXPECT_EQ(Selection(app.ActiveEdit()), std::make_pair(pos, pos + 2));
    }
    // The fourth find comes back to the first match and says so.
    Click(dlg, IDOK);
    EXPECT_EQ(TakeMessage(app), L"已完成对文档的搜索。");
    EXPECT_EQ(Selection(app.ActiveEdit()), std::make_pair(0, 2));
    // F3 repeats the last find.
    app.Command(ID_EDIT_REPEAT);
    EXPECT_EQ(Selection(app.ActiveEdit()), std::make_pair(3, 5));
    CloseAndWait(dlg, IDCANCEL);
}

TEST_F(EditorE2E, NotFoundIsSaidOnlyWhenNothingWasFound)
{
    JotstackProcess app(m_dir);
    StartWithText(app, L"hello world");
    HWND dlg = OpenFindDialog(app, false);
    ASSERT_NE(dlg, nullptr);
    SetDlgText(dlg, kFindEdit, L"xyz");
    Click(dlg, IDOK);
    EXPECT_EQ(TakeMessage(app), L"搜索的字符串没有找到！");
    // Case matters when asked: "World" is not "world".
    ::SendMessageW(::GetDlgItem(dlg, kMatchCase), BM_SETCHECK, BST_CHECKED, 0);
    SetDlgText(dlg, kFindEdit, L"World");
    Click(dlg, IDOK);
    EXPECT_EQ(TakeMessage(app), L"搜索的字符串没有找到！");
    ::SendMessageW(::GetDlgItem(dlg, kMatchCase), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(dlg, IDOK);
    Settle(app);
    EXPECT_EQ(Selection(app.ActiveEdit()), std::make_pair(6, 11));
    CloseAndWait(dlg, IDCANCEL);
}

TEST_F(EditorE2E, ReplaceAllReplacesEachOccurrenceOnceAndMarksThePage)
{
    JotstackProcess app(m_dir);
    StartWithText(app, L"cat dog cat\r\ncatcat");
    ::SendMessageW(app.ActiveEdit(), EM_SETMODIFY, FALSE, 0);
    HWND dlg = OpenFindDialog(app, true);
    ASSERT_NE(dlg, nullptr);
    SetDlgText(dlg, kFindEdit, L"cat");
    SetDlgText(dlg, kReplaceEdit, L"a cat");
    Click(dlg, kReplaceAll);
    Settle(app);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"a cat dog a cat\r\na cata cat");
    EXPECT_NE(::SendMessageW(app.ActiveEdit(), EM_GETMODIFY, 0, 0), 0);
    // One Replace: the selection is not a match, so it only finds.
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 0, 0);
    SetDlgText(dlg, kFindEdit, L"dog");
    SetDlgText(dlg, kReplaceEdit, L"fox");
    Click(dlg, kReplaceButton);
    Settle(app);
    EXPECT_EQ(Selection(app.ActiveEdit()), std::make_pair(6, 9));
    Click(dlg, kReplaceButton);
    Settle(app);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"a cat fox a cat\r\na cata cat");
    CloseAndWait(dlg, IDCANCEL);
    app.Command(ID_FILE_SAVE);
    std::string bytes = ReadBytes(app.StoragePath());
    EXPECT_NE(bytes.find(Utf16Bytes(L"a cat fox a cat", false)), std::string::npos);
}

TEST_F(EditorE2E, WordWrapKeepsTextSelectionAndTheModifiedMark)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    const std::wstring text = L"第一行 long line of text\r\nsecond line";
    app.TypeIntoCurrentPage(text);
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 4, 9);
    HWND before = app.ActiveEdit();
    const bool wrapped = (::GetWindowLongW(before, GWL_STYLE) & ES_AUTOHSCROLL) == 0;
    app.Command(ID_WORD_WRAP);
    HWND after = app.ActiveEdit();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ((::GetWindowLongW(after, GWL_STYLE) & ES_AUTOHSCROLL) == 0, !wrapped);
    EXPECT_EQ(ReadWindowText(after), text);
    EXPECT_EQ(Selection(after), std::make_pair(4, 9));
    EXPECT_NE(::SendMessageW(after, EM_GETMODIFY, 0, 0), 0);
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_WORD_WRAP"), wrapped ? L"0" : L"1");
    // Hiding saves: the edit made before the toggle reaches the storage file.
    app.Command(ID_APP_EXIT);
    std::string bytes = ReadBytes(app.StoragePath());
    EXPECT_NE(bytes.find(Utf16Bytes(text, false)), std::string::npos);
}

TEST_F(EditorE2E, PasteOfCopiedFilesInsertsOnePathPerLineAndSelectsIt)
{
    JotstackProcess app(m_dir);
    StartWithText(app, L"[]");
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 1, 1);
    // Three hundred files on the clipboard, as the shell puts them there.
    std::wstring list;
    std::wstring expected;
    for (int i = 0; i < 300; ++i) {
        std::wstring path = L"C:\\files\\文件" + std::to_wstring(i) + L".txt";
        list += path + L'\0';
        expected += path + L"\r\n";
    }
    list += L'\0';
    size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* df = static_cast<DROPFILES*>(::GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), list.data(), list.size() * 2);
    ::GlobalUnlock(mem);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(CF_HDROP, mem);
    ::CloseClipboard();

    app.Command(ID_EDIT_PASTE);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"[" + expected + L"]");
    EXPECT_EQ(Selection(app.ActiveEdit()), std::make_pair(1, 1 + int(expected.size())));
    // Undo takes the list out again.
    app.Command(ID_EDIT_UNDO);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"[]");
}

TEST_F(EditorE2E, DateAndTimeAreInsertedInTwentyFourHoursAndUndoable)
{
    JotstackProcess app(m_dir);
    StartWithText(app, L"x");
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 1, 1);
    app.Command(ID_INSERT_DATE_TIME);
    std::wstring text = ReadWindowText(app.ActiveEdit());
    wchar_t date[260] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, date, 260);
    ASSERT_GT(text.size(), 1u + wcslen(date));
    EXPECT_EQ(text.substr(0, 1 + wcslen(date) + 1), L"x" + std::wstring(date) + L" ");
    // The time part reads H:MM:SS or HH:MM:SS with no AM/PM text.
    std::wstring time = text.substr(2 + wcslen(date));
    EXPECT_GE(time.size(), 7u);
    EXPECT_EQ(time.find_first_not_of(L"0123456789:"), std::wstring::npos) << "time: " << time.size();
    app.Command(ID_EDIT_UNDO);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"x");
}

TEST_F(EditorE2E, TabWidthDialogChecksTheRangeAndWritesTheSetting)
{
    JotstackProcess app(m_dir);
    StartWithText(app, L"a\tb");
    app.PostCommand(ID_TAB_STOPS);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"设置制表符宽度", 10000);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(ReadWindowText(::GetDlgItem(dlg, IDC_TAB_WIDTH)), L"8");
    for (const wchar_t* bad : {L"0", L"17", L"abc"}) {
        ::SendMessageW(::GetDlgItem(dlg, IDC_TAB_WIDTH), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(bad));
        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        EXPECT_NE(TakeMessage(app), L"") << "no message for " << bad;
        EXPECT_TRUE(::IsWindow(dlg));
    }
    ::SendMessageW(::GetDlgItem(dlg, IDC_TAB_WIDTH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4"));
    CloseAndWait(dlg);
    // The setting is written once the dialog has returned, a moment after
    // its window is gone.
    for (int i = 0; i < 100 && ReadIni(app.IniPath(), L"ParaBlock", L"PARA_TAB_STOPS") != L"16"; ++i)
        ::Sleep(20);
    EXPECT_EQ(ReadIni(app.IniPath(), L"ParaBlock", L"PARA_TAB_STOPS"), L"16");
}

TEST_F(EditorE2E, GarbledRepairNeedsASelectionAndRepairsShiftedText)
{
    JotstackProcess app(m_dir);
    // "中文" (D6D0 CEC4) shifted by a stray B0: B0D6 D0CE C4 + 'A' as C441.
    wchar_t garbled[16] = {};
    int n = ::MultiByteToWideChar(936, 0, "\xB0\xD6\xD0\xCE\xC4\x41", 6, garbled, 16);
    ASSERT_GT(n, 0);
    StartWithText(app, L"ok" + std::wstring(garbled, n));
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 0, 0);
    // Without a selection the command is disabled: nothing happens.
    app.PostCommand(ID_REPAIR_GARBLED);
    EXPECT_EQ(TakeMessage(app, 500), L"");
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"ok" + std::wstring(garbled, n));
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 0, 2);
    app.PostCommand(ID_REPAIR_GARBLED);
    EXPECT_EQ(TakeMessage(app), L"抱歉，乱码必须是选择区的首字。");
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 2, -1);
    app.Command(ID_REPAIR_GARBLED);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"ok 中文A");
    app.Command(ID_EDIT_UNDO);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"ok" + std::wstring(garbled, n));
}

// ---- Bad input -------------------------------------------------------------------

TEST_F(EditorE2E, FindStringLongerThanThePageIsNotFound)
{
    JotstackProcess app(m_dir);
    StartWithText(app, L"short");
    HWND dlg = OpenFindDialog(app, false);
    ASSERT_NE(dlg, nullptr);
    SetDlgText(dlg, kFindEdit, L"short but longer");
    Click(dlg, IDOK);
    EXPECT_EQ(TakeMessage(app), L"搜索的字符串没有找到！");
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"short");
    CloseAndWait(dlg, IDCANCEL);
}

TEST_F(EditorE2E, BadTabWidthAndLongFaceNameInTheIniFileGetSoundDefaults)
{
    JotstackProcess app(m_dir);
    const std::wstring ini = app.IniPath();
    ::WritePrivateProfileStringW(L"ParaBlock", L"PARA_TAB_STOPS", L"abc", ini.c_str());
    ::WritePrivateProfileStringW(L"Font", L"Height", L"-20", ini.c_str());
    const std::wstring face(40, L'字');
    ::WritePrivateProfileStringW(L"Font", L"FaceName", face.c_str(), ini.c_str());
    StartWithText(app, L"a\tb");
    // The page works and shows the usual tab width of 8 in the dialog.
    app.PostCommand(ID_TAB_STOPS);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"设置制表符宽度", 10000);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(ReadWindowText(::GetDlgItem(dlg, IDC_TAB_WIDTH)), L"8");
    CloseAndWait(dlg, IDCANCEL);
    app.Command(ID_APP_EXIT);
    std::string bytes = ReadBytes(app.StoragePath());
    EXPECT_NE(bytes.find(Utf16Bytes(L"a\tb", false)), std::string::npos);
}

TEST_F(EditorE2E, TabWidthZeroOrSeventeenInTheIniFileShowsEight)
{
    for (const wchar_t* value : {L"0", L"68"}) {
        ScratchDir dir;
        JotstackProcess app(dir);
        ::WritePrivateProfileStringW(L"ParaBlock", L"PARA_TAB_STOPS", value, app.IniPath().c_str());
        StartWithText(app, L"x");
        app.PostCommand(ID_TAB_STOPS);
        HWND dlg = app.WaitForOwnWindow(L"#32770", L"设置制表符宽度", 10000);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(ReadWindowText(::GetDlgItem(dlg, IDC_TAB_WIDTH)), L"8") << "INI value " << value;
        CloseAndWait(dlg, IDCANCEL);
    }
}

TEST_F(EditorE2E, FontDialogOpensOnThePageFontAndOkKeepsThePage)
{
    JotstackProcess app(m_dir);
    StartWithText(app, L"字体 font");
    app.PostCommand(ID_SET_FONT);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"字体", 10000);
    ASSERT_NE(dlg, nullptr);
    CloseAndWait(dlg, IDOK);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"字体 font");
    EXPECT_EQ(app.FindOwnWindow(L"#32770", L"Jotstack"), nullptr);
}

TEST_F(EditorE2E, ReplaceAllBeyondThePageLimitLeavesThePageAlone)
{
    JotstackProcess app(m_dir);
    // A page at its limit of 1,048,575 characters, in short lines, from the
    // storage file (a message of 2 MiB does not cross processes under Wine).
    std::wstring text;
    text.reserve(1048575);
    while (text.size() < 1048575)
        text += std::wstring(78, L'a') + L"\r\n";
    text.resize(1048575);
    text.back() = L'a';
    ASSERT_TRUE(WriteBytes(app.StoragePath(),
                           Utf16Bytes(L"\f\f\f\f\a\a\a\a\b\b\b\b日常\r\n" + text)));
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    // The length as the control counts it (GetWindowTextLength of another
    // process's window reads its caption, not the control's text).
    auto length = [&] { return ::SendMessageW(app.ActiveEdit(), WM_GETTEXTLENGTH, 0, 0); };
    ASSERT_EQ(length(), 1048575);
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 0, 0);
    HWND dlg = OpenFindDialog(app, true);
    ASSERT_NE(dlg, nullptr);
    SetDlgText(dlg, kFindEdit, L"a");
    SetDlgText(dlg, kReplaceEdit, L"aa");
    Click(dlg, kReplaceAll);
    std::wstring message = TakeMessage(app, 30000);
    EXPECT_NE(message.find(L"1048575"), std::wstring::npos) << "no message about the limit";
    EXPECT_EQ(length(), 1048575);
    CloseAndWait(dlg, IDCANCEL);
}

TEST_F(EditorE2E, FindAndReplaceAllOnAPageOfTenThousandNeverShownBefore)
{
    Notebook pages = ManyPages(10000);
    pages[8888].second = L"cat dog cat\r\ncatcat";
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes(pages)));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.SelectTab(8888);
    ::SendMessageW(app.ActiveEdit(), EM_SETSEL, 0, 0);
    HWND dlg = OpenFindDialog(app, true);
    ASSERT_NE(dlg, nullptr);
    SetDlgText(dlg, kFindEdit, L"dog");
    Click(dlg, IDOK);   // Find Next
    Settle(app);
    EXPECT_EQ(Selection(app.ActiveEdit()), std::make_pair(4, 7));
    SetDlgText(dlg, kFindEdit, L"cat");
    SetDlgText(dlg, kReplaceEdit, L"a cat");
    Click(dlg, kReplaceAll);
    Settle(app);
    EXPECT_EQ(ReadWindowText(app.ActiveEdit()), L"a cat dog a cat\r\na cata cat");
    CloseAndWait(dlg, IDCANCEL);
    app.Command(ID_FILE_SAVE);
    pages[8888].second = L"a cat dog a cat\r\na cata cat";
    EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes(pages)) << "that page changed, no other";
}
