// The real program at the display scale of the screen it runs on: Wine's
// DPI (HKCU\Control Panel\Desktop\LogPixels) is 96 in the main run and 144
// and 192 in the runs of scripts/dpi-e2e.sh. The windows are measured from
// outside and their pixels read off the screen: tab strip, toolbar buttons,
// page font, calendar grid, moon picture, clock and floating window come
// out at the scale, text at the scaled size and whole; and a move to a
// monitor of another DPI (WM_DPICHANGED) scales the main window there and
// back to exactly what it was.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>

#include "framework/dpi_scale.h"
#include "res/resource.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"
#include "tests/win32/dib_canvas.h"

namespace {

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

RECT WindowRect(HWND hwnd)
{
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

// What the screen shows of a window now.
std::unique_ptr<DibCanvas> Capture(HWND hwnd)
{
    const RECT rc = WindowRect(hwnd);
    auto canvas = std::make_unique<DibCanvas>(rc.right - rc.left, rc.bottom - rc.top, 0);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas->Dc(), 0, 0, canvas->Width(), canvas->Height(), screen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    return canvas;
}

struct Ink {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;   // right, bottom inclusive
    bool Empty() const { return left > right; }
    int Width() const { return Empty() ? 0 : right - left + 1; }
    int Height() const { return Empty() ? 0 : bottom - top + 1; }
};

// The bounding box of the pixels that are (or, with `other`, are not) of
// one colour within a part of a picture.
Ink InkOf(const DibCanvas& c, COLORREF colour, RECT part, bool other = false)
{
    Ink ink;
    part.left = std::max<LONG>(part.left, 0);
    part.top = std::max<LONG>(part.top, 0);
    part.right = std::min<LONG>(part.right, c.Width());
    part.bottom = std::min<LONG>(part.bottom, c.Height());
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x)
            if ((c.At(x, y) == colour) != other) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// The ink of a text as GDI draws it in a font: the same size the program
// must reach when it draws that text at this DPI.
Ink TextInk(const LOGFONTW& lf, const wchar_t* text)
{
    DibCanvas canvas(400, 200, 0x00FFFFFF);
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ old = ::SelectObject(canvas.Dc(), font);
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    ::SetTextColor(canvas.Dc(), RGB(0, 0, 0));
    ::TextOutW(canvas.Dc(), 10, 10, text, static_cast<int>(wcslen(text)));
    ::SelectObject(canvas.Dc(), old);
    ::DeleteObject(font);
    return InkOf(canvas, RGB(0, 0, 0), RECT{0, 0, 400, 200});
}

int LineHeightOf(const LOGFONTW& lf)
{
    HDC screen = ::GetDC(nullptr);
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ old = ::SelectObject(screen, font);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(screen, &tm);
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    return tm.tmHeight;
}

// The program's default page font ("宋体", 16 pixels at 96 DPI) at a DPI.
LOGFONTW PageFont(int dpi)
{
    LOGFONTW lf{};
    lf.lfHeight = dpiscale::ScaleFontHeight(-16, dpi);
    lf.lfWeight = FW_NORMAL;
    lf.lfPitchAndFamily = 2;
    lf.lfCharSet = 134;
    wcscpy(lf.lfFaceName, L"宋体");
    return lf;
}

HWND Toolbar(const JotstackProcess& app)
{
    return ::FindWindowExW(app.MainWindow(), nullptr, TOOLBARCLASSNAMEW, nullptr);
}

HWND StatusBar(const JotstackProcess& app)
{
    return ::FindWindowExW(app.MainWindow(), nullptr, STATUSCLASSNAMEW, nullptr);
}

// The edit control's distance from one line to the next.
int EditLineHeight(HWND edit)
{
    const int second = static_cast<int>(::SendMessageW(edit, EM_LINEINDEX, 1, 0));
    const LRESULT a = ::SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
    const LRESULT b = ::SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(second), 0);
    return static_cast<short>(HIWORD(b)) - static_cast<short>(HIWORD(a));
}

// What the main window looks like at one DPI, measured from outside.
struct MainLayout {
    int stripLeft = 0;       // in the status bar's client area
    int stripHeight = 0;
    int barHeight = 0;
    int buttonWidth = 0;     // toolbar
    int buttonHeight = 0;
    int lineHeight = 0;      // page
    RECT window{};
};

MainLayout Measure(const JotstackProcess& app)
{
    MainLayout m;
    HWND strip = app.TabStrip();
    HWND bar = StatusBar(app);
    RECT rc = WindowRect(strip);
    ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&rc), 2);
    m.stripLeft = rc.left;
    m.stripHeight = rc.bottom - rc.top;
    m.barHeight = WindowRect(bar).bottom - WindowRect(bar).top;
    const DWORD size = static_cast<DWORD>(::SendMessageW(Toolbar(app), TB_GETBUTTONSIZE, 0, 0));
    m.buttonWidth = LOWORD(size);
    m.buttonHeight = HIWORD(size);
    m.lineHeight = EditLineHeight(app.ActiveEdit());
    m.window = WindowRect(app.MainWindow());
    return m;
}

void Print(const char* what, int dpi, const MainLayout& m)
{
    std::printf("%s at %d DPI: tab strip at x %d, %d high (status bar %d); toolbar buttons %d x %d; "
                "page lines %d apart; window %ld x %ld\n",
                what, dpi, m.stripLeft, m.stripHeight, m.barHeight, m.buttonWidth, m.buttonHeight, m.lineHeight,
                m.window.right - m.window.left, m.window.bottom - m.window.top);
}

// The toolbar button for a DPI: the image drawn for that scale and the
// padding of a 96-DPI screen (7 x 6, the toolbar's own) scaled.
void ExpectToolbarButtonsAt(const MainLayout& m, int dpi)
{
    const dpiscale::ImageScale scale = dpiscale::ImageScaleFor(dpi);
    EXPECT_EQ(m.buttonWidth, dpiscale::ImageLength(16, scale) + dpiscale::Scale(7, dpi)) << dpi;
    EXPECT_EQ(m.buttonHeight, dpiscale::ImageLength(15, scale) + dpiscale::Scale(6, dpi)) << dpi;
}

void WritePlacement(const std::wstring& ini, int dpi)
{
    auto S = [dpi](int v) { return dpiscale::Scale(v, dpi); };
    const std::wstring record = L"0,1,-1,-1,-1,-1," + std::to_wstring(S(20)) + L"," + std::to_wstring(S(20)) +
                                L"," + std::to_wstring(S(20) + S(600)) + L"," + std::to_wstring(S(20) + S(380));
    ::WritePrivateProfileStringW(L"Position", L"WindowPos", record.c_str(), ini.c_str());
}

class DpiE2E : public JotstackE2ETest {
protected:
    void SetUp() override
    {
        JotstackE2ETest::SetUp();
        m_dpi = ScreenDpi();
    }
    int S(int length96) const { return dpiscale::Scale(length96, m_dpi); }

    int m_dpi = 96;
};

}  // namespace

TEST_F(DpiE2E, TheMainWindowsBarsTabsAndPageFontFollowTheDisplayScale)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"),
                           StorageBytes({{L"日常", L"第一行 first\r\n第二行 second\r\n"}, {L"工作", L"w"}})));
    JotstackProcess app(m_dir);
    WritePlacement(app.IniPath(), m_dpi);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    ::SetWindowPos(app.MainWindow(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessagesFor(800);
    const MainLayout m = Measure(app);
    Print("main window", m_dpi, m);

    // The message area keeps 250 pixels of a 96-DPI screen.
    EXPECT_EQ(m.stripLeft, S(250));
    // The tabs fill the status bar's height, which follows its font.
    EXPECT_GE(m.stripHeight, m.barHeight - 4);
    EXPECT_LE(m.stripHeight, m.barHeight + 1);
    ExpectToolbarButtonsAt(m, m_dpi);
    // The page font at the scaled size: lines as far apart as that font's.
    EXPECT_EQ(m.lineHeight, LineHeightOf(PageFont(m_dpi)));

    // On the screen: the selected tab's label in the bold tab font at this
    // DPI, whole, inside the strip; the arrow of the "first" button as tall
    // as the glyph drawn for this scale.
    const auto strip = Capture(app.TabStrip());
    const int h = strip->Height();
    const int block = (h - 3) * 4 + 3;
    LOGFONTW bold{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    // The first tab starts at the button block: label width + 4 + H wide,
    // its text between the slanted edges (the tab is H - 2 high).
    SIZE labelSize{};
    {
        HDC screen = ::GetDC(nullptr);
        HFONT font = ::CreateFontIndirectW(&bold);
        HGDIOBJ old = ::SelectObject(screen, font);
        ::GetTextExtentPoint32W(screen, L"日常", 2, &labelSize);
        ::SelectObject(screen, old);
        ::DeleteObject(font);
        ::ReleaseDC(nullptr, screen);
    }
    const int slant = (h - 2) / 2;
    const RECT text{block + slant + 1, 2, block + labelSize.cx + 4 + h - slant - 1, h - 2};
    const Ink label = InkOf(*strip, ::GetSysColor(COLOR_WINDOWTEXT), text);
    const Ink expected = TextInk(bold, L"日常");
    std::printf("tab label ink %d x %d (drawn alone: %d x %d) in a strip %d high\n", label.Width(), label.Height(),
                expected.Width(), expected.Height(), h);
    EXPECT_EQ(label.Height(), expected.Height());
    EXPECT_EQ(label.Width(), expected.Width());
    EXPECT_GT(label.top, 1);
    EXPECT_LT(label.bottom, h - 1);
    const Ink arrow = InkOf(*strip, ::GetSysColor(COLOR_BTNTEXT), RECT{3, 4, h - 4, h - 3});
    EXPECT_EQ(arrow.Height(), dpiscale::ImageLength(7, dpiscale::ImageScaleFor(m_dpi)));
    app.Kill();
}

TEST_F(DpiE2E, AMoveToAMonitorOfAnotherDpiScalesTheMainWindowAndBackExactly)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"),
                           StorageBytes({{L"日常", L"一\r\n二\r\n三"}, {L"未看", L"四\r\n五"}})));
    JotstackProcess app(m_dir);
    WritePlacement(app.IniPath(), 96);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    PumpMessagesFor(500);
    const MainLayout before = Measure(app);
    const int other = m_dpi == 96 ? 192 : 96;

    // What Windows sends when the window reaches the other monitor (here
    // without a suggested rectangle: the window keeps its corner and its
    // size in the eyes of the user).
    ::PostMessageW(app.MainWindow(), 0x02E0, MAKEWPARAM(other, other), 0);
    PumpMessagesFor(800);
    const MainLayout moved = Measure(app);
    Print("before the move", m_dpi, before);
    Print("after the move", other, moved);
    EXPECT_EQ(moved.stripLeft, dpiscale::Scale(250, other));
    ExpectToolbarButtonsAt(moved, other);
    EXPECT_EQ(moved.lineHeight, LineHeightOf(PageFont(other)));
    EXPECT_EQ(moved.window.left, before.window.left);
    EXPECT_EQ(moved.window.top, before.window.top);
    EXPECT_EQ(moved.window.right - moved.window.left,
              dpiscale::Rescale(before.window.right - before.window.left, m_dpi, other));
    EXPECT_GE(moved.stripHeight, moved.barHeight - 4);
    if (other > m_dpi) {
        EXPECT_GT(moved.barHeight, before.barHeight);
    }
    // A page that had no window yet gets one with its font at the new scale.
    ASSERT_EQ(app.PageWindowCount(), 1);
    app.SelectTab(1);
    PumpMessagesFor(500);
    ASSERT_EQ(app.CurrentTab(), 1);
    EXPECT_EQ(EditLineHeight(app.ActiveEdit()), LineHeightOf(PageFont(other)));

    // And back: everything as it was.
    ::PostMessageW(app.MainWindow(), 0x02E0, MAKEWPARAM(m_dpi, m_dpi), 0);
    PumpMessagesFor(800);
    const MainLayout back = Measure(app);
    EXPECT_EQ(back.stripLeft, before.stripLeft);
    EXPECT_EQ(back.stripHeight, before.stripHeight);
    EXPECT_EQ(back.barHeight, before.barHeight);
    EXPECT_EQ(back.buttonWidth, before.buttonWidth);
    EXPECT_EQ(back.buttonHeight, before.buttonHeight);
    EXPECT_EQ(back.lineHeight, before.lineHeight);
    app.SelectTab(0);
    PumpMessagesFor(300);
    EXPECT_EQ(EditLineHeight(app.ActiveEdit()), before.lineHeight);
    EXPECT_EQ(back.window.right - back.window.left, before.window.right - before.window.left);
    EXPECT_EQ(back.window.bottom - back.window.top, before.window.bottom - before.window.top);
    // The toolbar made afresh still carries every button and its tooltips.
    EXPECT_EQ(::SendMessageW(Toolbar(app), TB_BUTTONCOUNT, 0, 0), 27);
    app.Kill();
}

namespace {

void ChooseListEntry(HWND dlg, int listId, int index)
{
    HWND list = ::GetDlgItem(dlg, listId);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

bool WaitForInfo(HWND dlg, const std::wstring& prefix)
{
    for (int i = 0; i < 200; ++i) {
        const std::wstring text = ReadWindowText(::GetDlgItem(dlg, IDC_CAL_INFO));
        if (text.compare(0, prefix.size(), prefix) == 0)
            return true;
        PumpMessagesFor(50);
    }
    return false;
}

}  // namespace

TEST_F(DpiE2E, CalendarGridTextAndMoonFollowTheDisplayScale)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.PostCommand(ID_PERPETUAL_CALENDAR);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"万年历", 10000);
    ASSERT_NE(dlg, nullptr);
    ::SetWindowPos(dlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // January 2025, the 13th: a full moon (13 January 2025, 22:27 UTC), a
    // Monday in row 2 (the 1st is a Wednesday).
    ChooseListEntry(dlg, IDC_CAL_YEAR, 2025 - 1901);
    ChooseListEntry(dlg, IDC_CAL_MONTH, 0);
    ASSERT_TRUE(WaitForInfo(dlg, L"2025年1月"));
    HWND grid = ::GetDlgItem(dlg, IDC_CAL_GRID);
    ::PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(S(12 + 57 * 1 + 20), S(46 + 40 * 2 + 15)));
    ASSERT_TRUE(WaitForInfo(dlg, L"2025年1月13日"));
    PumpMessagesFor(800);
    const auto pic = Capture(grid);
    std::printf("calendar grid at %d DPI: control %d x %d\n", m_dpi, pic->Width(), pic->Height());

    // The header band: 40 rows at 96 DPI.
    const Ink band = InkOf(*pic, RGB(190, 70, 70), RECT{S(30), 0, S(31), S(60)});
    EXPECT_EQ(band.top, S(1));
    EXPECT_EQ(band.bottom + 1, S(41));
    // The selected day's box: 51 x 38 at 96 DPI, where the 13th's cell is.
    const int cellLeft = S(12 + 57), cellTop = S(46 + 80);
    const Ink selection = InkOf(*pic, RGB(150, 150, 230), RECT{0, S(42), pic->Width(), pic->Height()});
    std::printf("selected day's box %d x %d at (%d, %d)\n", selection.Width(), selection.Height(), selection.left,
                selection.top);
    EXPECT_EQ(selection.left, cellLeft - S(3));
    EXPECT_EQ(selection.top, cellTop - S(3));
    EXPECT_EQ(selection.right + 1, cellLeft + S(48));
    EXPECT_EQ(selection.bottom + 1, cellTop + S(35));
    // The whole week fits: Saturday's cell ends inside the control.
    EXPECT_LE(S(12 + 7 * 57), pic->Width());

    // The day number "13" in white on the selection, at the scaled size.
    LOGFONTW arial{};
    arial.lfHeight = dpiscale::ScaleFontHeight(26, m_dpi);
    arial.lfWeight = FW_NORMAL;
    arial.lfCharSet = DEFAULT_CHARSET;
    wcscpy(arial.lfFaceName, L"Arial");
    const Ink number = InkOf(*pic, RGB(255, 255, 255), RECT{cellLeft, cellTop, cellLeft + S(28), cellTop + S(35)});
    const Ink drawn = TextInk(arial, L"13");
    std::printf("day number ink %d x %d (drawn alone %d x %d)\n", number.Width(), number.Height(), drawn.Width(),
                drawn.Height());
    EXPECT_EQ(number.Height(), drawn.Height());
    EXPECT_EQ(number.Width(), drawn.Width());

    // The two text lines under the grid: two bands of text, the second
    // below the first, both inside the control.
    const int linesTop = S(284);
    int firstEnd = -1, secondTop = -1, secondEnd = -1;
    for (int y = linesTop; y < pic->Height(); ++y) {
        const bool ink = !InkOf(*pic, RGB(0, 0, 0), RECT{0, y, pic->Width(), y + 1}).Empty();
        if (ink && secondTop < 0 && firstEnd >= 0 && y > firstEnd + 1)
            secondTop = y;
        if (ink && secondTop < 0)
            firstEnd = y;
        if (ink && secondTop >= 0)
            secondEnd = y;
    }
    std::printf("text lines: first to row %d, second rows %d..%d of %d\n", firstEnd, secondTop, secondEnd,
                pic->Height());
    EXPECT_GT(firstEnd, linesTop);
    EXPECT_GE(secondTop, S(304) - 2);
    EXPECT_GT(secondEnd, secondTop);
    EXPECT_LT(secondEnd, pic->Height() - 1);

    // The full moon: a disc 54 pixels across at 96 DPI (2 x 27), drawn for
    // this scale, centred in its picture.
    HWND moonCtl = ::GetDlgItem(dlg, IDC_CAL_MOON);
    const auto moon = Capture(moonCtl);
    const Ink disc = InkOf(*moon, RGB(0, 0, 0), RECT{0, 0, moon->Width(), moon->Height()}, true);
    const double radius = 27.0 * static_cast<int>(dpiscale::ImageScaleFor(m_dpi)) / 100.0;
    std::printf("moon disc %d x %d in a picture %d x %d\n", disc.Width(), disc.Height(), moon->Width(),
                moon->Height());
    EXPECT_NEAR(disc.Width(), 2 * radius, 3.0);
    EXPECT_NEAR(disc.Height(), 2 * radius, 3.0);
    // Whole inside the picture, and as near its middle as the 96-DPI layout
    // puts it (the disc's centre pixel lands a little right of and below it).
    EXPECT_GT(disc.left, 0);
    EXPECT_GT(disc.top, 0);
    EXPECT_LT(disc.right, moon->Width() - 1);
    EXPECT_LT(disc.bottom, moon->Height() - 1);
    EXPECT_NEAR((disc.left + disc.right) / 2.0, moon->Width() / 2.0, S(3));
    ::SendMessageW(dlg, WM_CLOSE, 0, 0);
    app.Kill();
}

TEST_F(DpiE2E, ClockAndFloatingWindowFollowTheDisplayScale)
{
    JotstackProcess app(m_dir);
    const std::pair<const wchar_t*, int> values[] = {
        {L"PARA_CLOCK_SHOW", 1}, {L"PARA_CLOCK_RADIUS", 80}, {L"PARA_CLOCK_X", 100}, {L"PARA_CLOCK_Y", 100},
        {L"PARA_CLOCK_TRANSPARENCY", 0}, {L"PARA_FLOAT_WND_SHOW", 1}, {L"PARA_FLOAT_WND_X", 600},
        {L"PARA_FLOAT_WND_Y", 100}, {L"PARA_FLOAT_WND_TRANS", 0},
    };
    for (const auto& [key, value] : values)
        ::WritePrivateProfileStringW(L"ParaBlock", key, std::to_wstring(value).c_str(), app.IniPath().c_str());
    ASSERT_TRUE(app.Start());
    HWND clock = nullptr, floating = nullptr;
    for (int i = 0; i < 100 && !(clock && floating); ++i) {
        PumpMessagesFor(100);
        for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
             w = ::FindWindowExW(nullptr, w, L"#32770", nullptr)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid != app.ProcessId() || !::IsWindowVisible(w))
                continue;
            if (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED)
                clock = w;
            else
                floating = w;
        }
    }
    ASSERT_NE(clock, nullptr);
    ASSERT_NE(floating, nullptr);
    const RECT c = WindowRect(clock);
    const RECT f = WindowRect(floating);
    std::printf("clock %ld x %ld, floating window %ld x %ld at %d DPI\n", c.right - c.left, c.bottom - c.top,
                f.right - f.left, f.bottom - f.top, m_dpi);
    EXPECT_EQ(c.right - c.left, 2 * S(80));
    EXPECT_EQ(c.bottom - c.top, 2 * S(80));
    EXPECT_EQ(c.left, 100);
    EXPECT_EQ(f.left, 600);
    EXPECT_EQ(f.right - f.left, S(40));
    EXPECT_EQ(f.bottom - f.top, S(40));
    // The clock is as far from the left edge as it was stored: a screen
    // position means the same place at every scale.
    EXPECT_EQ(c.top, 100);
    // The floating window's icon drawn for this scale fills it but a margin.
    ::SetWindowPos(floating, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessagesFor(300);
    const auto icon = Capture(floating);
    const Ink drawn = InkOf(*icon, ::GetSysColor(COLOR_BTNFACE), RECT{0, 0, icon->Width(), icon->Height()}, true);
    EXPECT_GE(drawn.Width(), S(32) - S(6));
    EXPECT_LE(drawn.right, S(33));
    app.Kill();
}

TEST_F(DpiE2E, AClockStoredAtTheEdgeOfA96DpiScreenStaysOnTheScreenAtThisScale)
{
    // The place a fresh installation gives the clock at 96 DPI: 150 pixels
    // left of the work area's right edge. At 200 % the clock is 240 pixels
    // wide; it comes up with its centre on the screen, where it can be grabbed.
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    JotstackProcess app(m_dir);
    const std::pair<const wchar_t*, int> values[] = {
        {L"PARA_CLOCK_SHOW", 1}, {L"PARA_CLOCK_RADIUS", 60}, {L"PARA_CLOCK_X", work.right - 150},
        {L"PARA_CLOCK_Y", work.top + 140}, {L"PARA_CLOCK_TRANSPARENCY", 0},
    };
    for (const auto& [key, value] : values)
        ::WritePrivateProfileStringW(L"ParaBlock", key, std::to_wstring(value).c_str(), app.IniPath().c_str());
    ASSERT_TRUE(app.Start());
    HWND clock = app.WaitForOwnWindow(L"#32770", nullptr, 10000);
    ASSERT_NE(clock, nullptr);
    const RECT c = WindowRect(clock);
    EXPECT_EQ(c.right - c.left, 2 * S(60));
    EXPECT_LT((c.left + c.right) / 2, work.right);
    EXPECT_EQ(c.top, work.top + 140);
    if (m_dpi == 96) {
        EXPECT_EQ(c.left, work.right - 150);   // nothing moves at 100 %
    }
    app.Kill();
}

namespace {

bool PickInCombo(HWND dlg, int id, const std::wstring& text)
{
    HWND combo = ::GetDlgItem(dlg, id);
    const LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR)
        return false;
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

}  // namespace

TEST_F(DpiE2E, AFontPickedAtThisScaleIsKeptAsAt96DpiAndShownAtThisScale)
{
    const std::wstring text = L"第一行\r\n第二行";
    {
        JotstackProcess app(m_dir);
        ASSERT_TRUE(WriteBytes(app.StoragePath(), StorageBytes({{L"日常", text}})));
        ASSERT_TRUE(app.Start());
        app.Command(ID_SHOW_MAIN_WINDOW);
        app.PostCommand(ID_SET_FONT);
        HWND dlg = app.WaitForOwnWindow(L"#32770", L"字体", 10000);
        ASSERT_NE(dlg, nullptr) << "no font dialog";
        // The dialog starts from the page's font: 16 pixels at 96 DPI are 12 points.
        EXPECT_EQ(ReadWindowText(::GetDlgItem(dlg, cmb3)), L"12");
        ASSERT_TRUE(PickInCombo(dlg, cmb3, L"28")) << "no size 28 in the list";
        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 200 && ::IsWindow(dlg); ++i)
            PumpMessagesFor(20);
        app.Command(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(15000));
    }
    // 28 points are 37 pixels on a 96-DPI screen, whatever this screen's DPI.
    EXPECT_EQ(ReadIni(m_dir.File(L"Jotstack.ini"), L"Font", L"Height"), L"-37");
    JotstackProcess again(m_dir);
    ASSERT_TRUE(again.Start());
    again.Command(ID_SHOW_MAIN_WINDOW);
    PumpMessagesFor(300);
    LOGFONTW lf = PageFont(m_dpi);
    lf.lfHeight = dpiscale::ScaleFontHeight(-37, m_dpi);
    EXPECT_EQ(EditLineHeight(again.ActiveEdit()), LineHeightOf(lf));
    again.Kill();
}
