// CCustomTabCtrl's painting, read back pixel by pixel (WM_PRINTCLIENT into a
// 32-bit DIB), the outline test against GDI's own polygon regions, and the
// visual-style access where no style is active (Wine's default).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "framework/wnd.h"
#include "tabstrip/custom_tab_ctrl.h"
#include "tabstrip/tab_button_look.h"
#include "tabstrip/tab_geometry.h"
#include "tabstrip/tab_glyphs.h"
#include "tabstrip/tab_layout.h"
#include "tabstrip/visual_style_access.h"
#include "tabstrip/visual_style_rules.h"

namespace {

constexpr int kW = 600;
constexpr int kH = 22;   // button block 79 wide

// A top-down 32-bit bitmap selected into a memory DC.
class Canvas {
public:
    Canvas(int w, int h) : m_w(w), m_h(h)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits),
                                      nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < w * h; ++i)
            m_bits[i] = 0x00123456;   // nothing paints this
    }
    ~Canvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const uint32_t p = m_bits[y * m_w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int m_w, m_h;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

class Parent : public CWnd {
public:
    bool Create()
    {
        CWnd::RegisterWindowClass(L"JotTabPaintParent", 0, nullptr, ::LoadCursorW(nullptr, IDC_ARROW),
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return CreateEx(0, L"JotTabPaintParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 200, nullptr,
                        nullptr);
    }
};

COLORREF Sys(int index)
{
    return ::GetSysColor(index);
}

class TabStripPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create());
        strip = std::make_unique<CCustomTabCtrl>();
        ASSERT_TRUE(strip->Create(WS_CHILD | WS_VISIBLE | CTCS_FOURBUTTONS | CTCS_TOOLTIPS, RECT{},
                                  parent, 101));
        strip->MoveWindow({0, 0, kW, kH});
    }
    void TearDown() override
    {
        strip.reset();
        parent.DestroyWindow();
    }

    std::unique_ptr<Canvas> Render()
    {
        auto canvas = std::make_unique<Canvas>(kW, kH);
        strip->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->Dc()), PRF_CLIENT);
        return canvas;
    }

    RECT ItemRect(int i)
    {
        RECT rc{};
        strip->GetItemRect(i, rc);
        return rc;
    }

    Parent parent;
    std::unique_ptr<CCustomTabCtrl> strip;
};

// Expects the frame of a classic push button (pushed or not) in `rc`, all
// but the glyph cell, to look exactly like DrawFrameControl draws it.
void ExpectClassicButton(const Canvas& strip, RECT rc, bool pushed)
{
    Canvas reference(kW, kH);
    ::DrawFrameControl(reference.Dc(), &rc, DFC_BUTTON,
                       DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const tabstrip::TabPoint glyph = tabstrip::GlyphOrigin({rc.left, rc.top, rc.right, rc.bottom});
    int compared = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) {
            const bool inGlyph = x >= glyph.x && x < glyph.x + 8 && y >= glyph.y && y < glyph.y + 7;
            if (inGlyph)
                continue;
            ASSERT_EQ(strip.At(x, y), reference.At(x, y)) << x << "," << y << (pushed ? " pushed" : "");
            ++compared;
        }
    EXPECT_GT(compared, 200);
}

}  // namespace

TEST_F(TabStripPaint, EmptyStripShowsTheButtonBlockAndAnUnbrokenTopLine)
{
    const auto c = Render();
    for (int x = 79; x < kW; ++x)
        ASSERT_EQ(c->At(x, 1), Sys(COLOR_BTNTEXT)) << x;
    for (int x = 0; x < kW; x += 37)
        EXPECT_EQ(c->At(x, 0), Sys(COLOR_BTNFACE)) << x;
    EXPECT_EQ(c->At(300, 10), Sys(COLOR_BTNFACE));
    // The block's outline and the white between previous and next.
    EXPECT_EQ(c->At(0, 1), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(c->At(0, kH - 1), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(c->At(78, 10), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(c->At(39, 10), RGB(255, 255, 255));
}

TEST_F(TabStripPaint, ClassicButtonsWithTheirArrowGlyphs)
{
    const auto c = Render();
    ExpectClassicButton(*c, {1, 2, 20, 21}, false);
    ExpectClassicButton(*c, {20, 2, 39, 21}, false);
    ExpectClassicButton(*c, {40, 2, 59, 21}, false);
    ExpectClassicButton(*c, {59, 2, 78, 21}, false);
    // First: glyph at (6, 8); its bar is column 1, the arrow's back column 6.
    for (int y = 8; y < 15; ++y)
        EXPECT_EQ(c->At(7, y), Sys(COLOR_BTNTEXT)) << y;
    EXPECT_EQ(c->At(12, 8), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(c->At(6, 8), Sys(COLOR_BTNFACE));
    // Next: glyph at (45, 8); row 3 is "...###..".
    EXPECT_EQ(c->At(47, 8), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(c->At(48, 11), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(c->At(50, 11), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(c->At(47, 11), Sys(COLOR_BTNFACE));
    EXPECT_EQ(c->At(51, 11), Sys(COLOR_BTNFACE));
}

TEST_F(TabStripPaint, PressedButtonIsDrawnPushedAndOnlyWhileThePointerIsOnIt)
{
    strip->InsertItem(0, L"日常", 0);
    strip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(48, 10));
    ExpectClassicButton(*Render(), {40, 2, 59, 21}, true);
    ExpectClassicButton(*Render(), {20, 2, 39, 21}, false);
    strip->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 10));
    ExpectClassicButton(*Render(), {40, 2, 59, 21}, false);
    strip->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 12));
    ExpectClassicButton(*Render(), {40, 2, 59, 21}, true);
    strip->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(50, 12));
    ExpectClassicButton(*Render(), {40, 2, 59, 21}, false);
}

TEST_F(TabStripPaint, SelectedTabIsWhiteAndOpensIntoTheAreaAbove)
{
    strip->InsertItem(0, L"日常", 0);
    strip->InsertItem(1, L"工作", 0);
    strip->InsertItem(2, L"读书笔记", 0);
    strip->SetCurSel(1);
    const auto c = Render();
    const RECT sel = ItemRect(1);
    const RECT first = ItemRect(0);

    // The top line runs up to the selected tab, stops over it, resumes after.
    for (int x = 79; x < sel.left; ++x)
        ASSERT_EQ(c->At(x, 1), Sys(COLOR_BTNTEXT)) << x;
    for (int x = sel.left + 3; x < sel.right - 3; ++x)
        ASSERT_EQ(c->At(x, 1), Sys(COLOR_WINDOW)) << x;
    for (int x = sel.right; x < kW; ++x)
        ASSERT_EQ(c->At(x, 1), Sys(COLOR_BTNTEXT)) << x;

    // Filled with the window colour inside its slanted edges.
    EXPECT_EQ(c->At(sel.left + 11, 12), Sys(COLOR_WINDOW));
    // It lies over both neighbours where they overlap.
    EXPECT_EQ(c->At(sel.right - 7, 10), Sys(COLOR_WINDOW));
    EXPECT_EQ(c->At(sel.right - 6, 10), Sys(COLOR_WINDOW));
    EXPECT_EQ(c->At(sel.left + 7, 10), Sys(COLOR_WINDOW));
    // No inner shadow at its right edge (only its bottom edge uses that pen).
    for (int y = 1; y < kH - 1; ++y)
        for (int x = (sel.left + sel.right) / 2; x <= sel.right; ++x)
            ASSERT_NE(c->At(x, y), Sys(COLOR_BTNSHADOW)) << x << "," << y;

    // An unselected tab: button-face fill, a dark left edge, and the inner
    // shadow line beside its right edge (where not covered).
    EXPECT_EQ(c->At(first.left + 11, 12), Sys(COLOR_BTNFACE));
    bool darkEdge = false;
    for (int x = first.left + 4; x <= first.left + 7; ++x)
        darkEdge |= c->At(x, 12) == Sys(COLOR_BTNTEXT);
    EXPECT_TRUE(darkEdge);
    // Labels: ink of the bold (selected) and normal text appears in the text box.
    auto hasInk = [&](const RECT& r, COLORREF ink) {
        for (int y = 4; y < kH - 3; ++y)
            for (int x = r.left + 11; x < r.right - 11; ++x)
                if (c->At(x, y) == ink)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasInk(sel, Sys(COLOR_WINDOWTEXT)));
    EXPECT_TRUE(hasInk(first, Sys(COLOR_BTNTEXT)));
}

TEST_F(TabStripPaint, BottomEdgeOfATabUsesTheShadowPen)
{
    strip->InsertItem(0, L"日常", 0);
    const auto c = Render();
    const RECT r = ItemRect(0);   // the last tab: state 3
    EXPECT_EQ(c->At((r.left + r.right) / 2, r.bottom), Sys(COLOR_BTNSHADOW));
}

TEST_F(TabStripPaint, WindowPaintingDoesNotFail)
{
    for (int i = 0; i < 12; ++i)
        strip->InsertItem(i, L"页面", 0);
    strip->SetCurSel(5);
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    strip->Invalidate(false);
    strip->UpdateWindow();
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(strip->m_hWnd, &update, FALSE));
    parent.ShowWindow(SW_HIDE);
}

// --- Outline test against GDI's regions -----------------------------------

namespace {

void ExpectSameAsGdi(const tabstrip::TabPoint* pts, int count, const char* what)
{
    std::vector<POINT> gdi(static_cast<size_t>(count));
    int minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
    for (int i = 0; i < count; ++i) {
        gdi[size_t(i)] = {pts[i].x, pts[i].y};
        minX = std::min(minX, pts[i].x);
        maxX = std::max(maxX, pts[i].x);
        minY = std::min(minY, pts[i].y);
        maxY = std::max(maxY, pts[i].y);
    }
    HRGN region = ::CreatePolygonRgn(gdi.data(), count, WINDING);
    int mismatches = 0;
    for (int y = minY - 2; y <= maxY + 2; ++y)
        for (int x = minX - 2; x <= maxX + 2; ++x) {
            const bool ours = tabstrip::PolygonContains(pts, size_t(count), {x, y});
            const bool theirs = region && ::PtInRegion(region, x, y);
            if (ours != theirs && mismatches++ < 5)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " ours " << ours;
        }
    if (region)
        ::DeleteObject(region);
}

}  // namespace

TEST(TabOutlineVsGdi, EveryDisplayStateAtManyHeights)
{
    using tabstrip::DisplayState;
    for (int h : {8, 12, 16, 19, 20, 21, 22, 24, 27, 32, 40}) {
        const tabstrip::TabRect tab{40, 1, 40 + 37 + h, h - 1};
        const tabstrip::TabRect sliver{40, 1, 40 + h / 2, h - 1};
        for (auto state : {DisplayState::Full, DisplayState::Covered}) {
            const auto o = tabstrip::MakeOutline(state, tab);
            ExpectSameAsGdi(o.data(), 6, "tab");
        }
        for (auto state : {DisplayState::Sliver, DisplayState::SliverSelected}) {
            const auto o = tabstrip::MakeOutline(state, sliver);
            ExpectSameAsGdi(o.data(), 6, "sliver");
        }
    }
}

TEST(TabOutlineVsGdi, RandomPolygonsIncludingSelfCrossingOnes)
{
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> coord(0, 24);
    std::uniform_int_distribution<int> corners(3, 7);
    for (int n = 0; n < 300; ++n) {
        std::vector<tabstrip::TabPoint> pts(size_t(corners(rng)));
        for (auto& p : pts)
            p = {coord(rng), coord(rng)};
        ExpectSameAsGdi(pts.data(), int(pts.size()), "random");
    }
}

// --- Visual styles where none is active -----------------------------------

TEST(TabVisualStyleWin, NoActiveStyleMeansClassicButtons)
{
    Parent window;
    ASSERT_TRUE(window.Create());
    CVisualStyleAccess style;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    EXPECT_EQ(style.IsLibraryLoaded(),
              tabstrip::ShouldLoadVisualStyles(info.dwMajorVersion, info.dwMinorVersion));
    EXPECT_FALSE(style.Open(nullptr, L"SPIN"));
    const bool opened = style.Open(window.m_hWnd, L"SPIN");
    if (!opened) {
        COLORREF colour = 0x123456;
        int value = 77;
        MARGINS margins{1, 2, 3, 4};
        wchar_t file[16] = L"unchanged";
        EXPECT_FALSE(style.GetThemeColor(4, 0, 3820, &colour));
        EXPECT_FALSE(style.GetThemeEnumValue(4, 0, 4001, &value));
        EXPECT_FALSE(style.GetThemeInt(4, 0, 2401, &value));
        EXPECT_FALSE(style.GetThemeMargins(4, 0, 3601, &margins));
        EXPECT_FALSE(style.GetThemeFilename(4, 0, 3001, file, 16));
        EXPECT_EQ(colour, COLORREF(0x123456));
        EXPECT_EQ(value, 77);
        EXPECT_STREQ(file, L"unchanged");
        EXPECT_EQ(style.LoadStyleBitmap(L"a\\b.bmp"), nullptr);
        CTabButtonLook look;
        EXPECT_FALSE(look.Load(window.m_hWnd));
        EXPECT_FALSE(look.HasImages());
    }
    style.Close();
    style.Close();   // twice is harmless
    window.DestroyWindow();
}
