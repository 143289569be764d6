// The display font of the pages, as a user sees it: chosen in the font
// dialog of the page menu, written to the INI file at exit and back on the
// pages after a restart; a damaged face name in the INI file still gives
// readable pages. Font sizes are judged from outside by where the edit
// control puts the characters (EM_POSFROMCHAR).
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"

namespace {

// Ten wide letters on the first line, one on the second.
const wchar_t kSample[] = L"WWWWWWWWWW\r\nW";

struct CharPos {
    int x;
    int y;
};

CharPos PosFromChar(HWND edit, int index)
{
    LRESULT r = ::SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    return {static_cast<short>(LOWORD(r)), static_cast<short>(HIWORD(r))};
}

// How far five letters reach, and how far apart two lines are, in pixels.
struct TextExtent {
    int fiveLetters;
    int lineHeight;
};

TextExtent Measure(HWND edit)
{
    CharPos first = PosFromChar(edit, 0);
    CharPos sixth = PosFromChar(edit, 5);
    CharPos nextLine = PosFromChar(edit, 12);
    return {sixth.x - first.x, nextLine.y - first.y};
}

std::wstring ComboText(HWND combo, int index)
{
    LRESULT len = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == CB_ERR)
        return L"";
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

// Picks an item of one of the font dialog's lists as a click would.
bool PickInCombo(HWND dlg, int id, const std::wstring& text)
{
    HWND combo = ::GetDlgItem(dlg, id);
    LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR)
        return false;
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

// A face of the list that is not the current one and not a vertical
// (@-prefixed) variant; "" when the list has no other face.
std::wstring OtherFace(HWND dlg)
{
    HWND combo = ::GetDlgItem(dlg, cmb1);
    const std::wstring current = ReadWindowText(combo);
    const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    // Faces every Wine prefix has, in order of preference.
    for (const wchar_t* known : {L"Courier New", L"Tahoma", L"Arial", L"Times New Roman"}) {
        if (current != known &&
            ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(known)) != CB_ERR)
            return known;
    }
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring face = ComboText(combo, static_cast<int>(i));
        if (!face.empty() && face[0] != L'@' && face != current)
            return face;
    }
    return L"";
}

void CloseAndWait(HWND wnd, int id)
{
    ::PostMessageW(wnd, WM_COMMAND, id, 0);
    for (int i = 0; i < 200 && ::IsWindow(wnd); ++i)
        ::Sleep(20);
}

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// Line height of a font of `pixels` (character height) in this face.
int LineHeightOf(const wchar_t* face, int pixels)
{
    LOGFONTW lf{};
    lf.lfHeight = -pixels;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = 134;
    lf.lfPitchAndFamily = 2;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    HFONT font = ::CreateFontIndirectW(&lf);
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, font);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(screen, &tm);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(font);
    return tm.tmHeight;
}

class PageFontE2E : public JotstackE2ETest {};

}  // namespace

TEST_F(PageFontE2E, FontChosenInTheDialogIsWrittenAndComesBackAfterARestart)
{
    TextExtent before{};
    TextExtent chosen{};
    std::wstring face;
    {
        JotstackProcess app(m_dir);
        // Two pages with the same text.
        const std::wstring sep = L"\f\f\f\f\a\a\a\a\b\b\b\b";
        ASSERT_TRUE(WriteBytes(app.StoragePath(),
                               Utf16Bytes(sep + L"一\r\n" + kSample + sep + L"二\r\n" + kSample)));
        ASSERT_TRUE(app.Start());
        app.Command(ID_SHOW_MAIN_WINDOW);
        ASSERT_EQ(app.PageCount(), 2);
        // Both pages on screen once, so that both have their windows.
        app.SelectTab(1);
        app.SelectTab(0);
        before = Measure(app.ActiveEdit());
        ASSERT_GT(before.fiveLetters, 0);
        ASSERT_GT(before.lineHeight, 0);

        app.PostCommand(ID_SET_FONT);
        HWND dlg = app.WaitForOwnWindow(L"#32770", L"字体", 10000);
        ASSERT_NE(dlg, nullptr) << "no font dialog";
        face = OtherFace(dlg);
        ASSERT_FALSE(face.empty()) << "the font dialog lists no other face";
        ASSERT_TRUE(PickInCombo(dlg, cmb1, face)) << "face " << face.size();
        ASSERT_TRUE(PickInCombo(dlg, cmb3, L"28")) << "no size 28 in the list";
        CloseAndWait(dlg, IDOK);
        ASSERT_FALSE(::IsWindow(dlg));

        chosen = Measure(app.ActiveEdit());
        EXPECT_GT(chosen.fiveLetters, before.fiveLetters);
        EXPECT_GT(chosen.lineHeight, before.lineHeight);
        EXPECT_EQ(ReadWindowText(app.ActiveEdit()), kSample);
        // The other page's window keeps its font until it is made afresh.
        app.SelectTab(1);
        EXPECT_EQ(Measure(app.ActiveEdit()).fiveLetters, before.fiveLetters);

        app.Command(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(15000));
        const std::wstring ini = app.IniPath();
        EXPECT_EQ(ReadIni(ini, L"Font", L"Height"), std::to_wstring(-::MulDiv(28, ScreenDpi(), 72)));
        EXPECT_EQ(ReadIni(ini, L"Font", L"FaceName"), face);
        EXPECT_EQ(ReadIni(ini, L"Font", L"Weight"), L"<missing>") << "an unchanged key was written";
    }
    // The next start shows every page in the chosen font at once.
    JotstackProcess again(m_dir);
    ASSERT_TRUE(again.Start());
    again.Command(ID_SHOW_MAIN_WINDOW);
    ASSERT_EQ(again.PageCount(), 2);
    for (int page = 0; page < 2; ++page) {
        again.SelectTab(page);
        ASSERT_EQ(ReadWindowText(again.ActiveEdit()), kSample) << "page " << page;
        TextExtent restored = Measure(again.ActiveEdit());
        EXPECT_EQ(restored.fiveLetters, chosen.fiveLetters) << "page " << page;
        EXPECT_EQ(restored.lineHeight, chosen.lineHeight) << "page " << page;
    }
    again.Command(ID_TRAY_EXIT);
    EXPECT_TRUE(again.WaitForExit(15000));
}

TEST_F(PageFontE2E, OverlongFaceNameInTheIniFileGivesAReadablePage)
{
    // What a 20-pixel font of the usual face measures here.
    const int usualLine = LineHeightOf(L"宋体", 20);
    ASSERT_GT(usualLine, 0);
    // Faces of 31 and 300 characters: a face name holds at most 31.
    for (size_t length : {31u, 300u}) {
        ScratchDir dir;
        JotstackProcess app(dir);
        const std::wstring ini = app.IniPath();
        ::WritePrivateProfileStringW(L"Font", L"Height", L"-20", ini.c_str());
        ::WritePrivateProfileStringW(L"Font", L"FaceName", std::wstring(length, L'宋').c_str(),
                                     ini.c_str());
        ASSERT_TRUE(app.Start()) << length << " characters";
        app.Command(ID_SHOW_MAIN_WINDOW);
        app.TypeIntoCurrentPage(kSample);
        TextExtent got = Measure(app.ActiveEdit());
        // Some face at the asked height: lines about as far apart as with
        // the usual face, letters side by side.
        EXPECT_GT(got.fiveLetters, 0) << length << " characters";
        EXPECT_NEAR(got.lineHeight, usualLine, usualLine / 4) << length << " characters";
        // Hiding to the tray saves the page.
        app.Command(ID_APP_EXIT);
        EXPECT_TRUE(app.IsRunning());
        std::string bytes = ReadBytes(app.StoragePath());
        EXPECT_NE(bytes.find(Utf16Bytes(L"WWWWWWWWWW", false)), std::string::npos);
    }
}

TEST_F(PageFontE2E, AbsurdFontHeightInTheIniFileGivesTheUsualFont)
{
    // What the usual font (16 pixels, the usual face) measures here.
    const int usualLine = LineHeightOf(L"宋体", 16);
    ASSERT_GT(usualLine, 0);
    // Far beyond any size the font dialog gives; the second would overflow
    // when negated.
    for (const wchar_t* height : {L"-100000", L"-2147483648"}) {
        ScratchDir dir;
        JotstackProcess app(dir);
        ::WritePrivateProfileStringW(L"Font", L"Height", height, app.IniPath().c_str());
        ASSERT_TRUE(app.Start()) << "height " << height;
        app.Command(ID_SHOW_MAIN_WINDOW);
        app.TypeIntoCurrentPage(kSample);
        TextExtent got = Measure(app.ActiveEdit());
        EXPECT_EQ(got.lineHeight, usualLine) << "height " << height;
        EXPECT_GT(got.fiveLetters, 5 * usualLine / 4) << "height " << height;
    }
}
