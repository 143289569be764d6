#include "tabstrip/custom_tab_ctrl.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <new>
#include <string_view>

#include "framework/dpi.h"
#include "framework/exceptions.h"
#include "tabstrip/tab_glyphs.h"

namespace {

constexpr wchar_t kClassName[] = L"CCustomTabCtrl";

static_assert(sizeof(wchar_t) == sizeof(char16_t), "labels cross as UTF-16");

std::u16string_view ToU16(const wchar_t* text)
{
    if (!text)
        return {};
    return std::u16string_view(reinterpret_cast<const char16_t*>(text));
}

const wchar_t* ToWide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

RECT ToRect(const tabstrip::TabRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

bool RegisterClassOnce()
{
    return CWnd::RegisterWindowClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr,
                                     ::LoadCursorW(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

POINT PointOf(LPARAM lp)
{
    return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
}

}  // namespace

CCustomTabCtrl::CCustomTabCtrl()
    : m_logic([this](std::u16string_view label) { return Measure(label); })
{
    if (!RegisterClassOnce())
        throw CResourceException();

    m_measureDc = ::CreateCompatibleDC(nullptr);
    CreateFontsAndGlyphs(dpi::System());
}

void CCustomTabCtrl::CreateFontsAndGlyphs(int dpi)
{
    m_nDpi = dpi;
    // The stock font is made for the system DPI; on a monitor of another
    // DPI the same font is scaled to it.
    LOGFONTW lf = dpi::StockFont(DEFAULT_GUI_FONT, dpi);
    m_fontNormal.Reset(::CreateFontIndirectW(&lf));
    lf.lfWeight = FW_BOLD;
    m_fontBold.Reset(::CreateFontIndirectW(&lf));
    m_glyphStrip = tabstrip::GlyphStripAt(dpiscale::ImageScaleFor(dpi));
    m_glyphs.Reset(::CreateBitmap(tabstrip::kGlyphCells * m_glyphStrip.cellWidth, m_glyphStrip.cellHeight, 1, 1,
                                  m_glyphStrip.bits.data()));
    if (m_measureDc)
        ::SelectObject(m_measureDc, m_fontBold ? static_cast<HGDIOBJ>(m_fontBold.Get())
                                               : ::GetStockObject(DEFAULT_GUI_FONT));
}

void CCustomTabCtrl::UpdateForDpi()
{
    const int dpi = dpi::ForWindow(m_hWnd);
    if (dpi == m_nDpi)
        return;
    CreateFontsAndGlyphs(dpi);
    m_logic.RemeasureAll();
    m_logic.LayOut(tabstrip::LayoutMode::Fit, m_logic.GetCurSel());
    Repaint();
}

CCustomTabCtrl::~CCustomTabCtrl()
{
    // The window goes before the fonts and bitmaps it paints with.
    DestroyWindow();
    if (m_measureDc)
        ::DeleteDC(m_measureDc);
}

bool CCustomTabCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (!RegisterClassOnce())
        return false;
    return CreateEx(0, kClassName, L"", style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

// --- Item operations -------------------------------------------------------

int CCustomTabCtrl::InsertItem(int index, const wchar_t* label, DWORD_PTR data)
{
    int result;
    try {
        result = m_logic.InsertItem(index, ToU16(label), static_cast<uintptr_t>(data));
    } catch (const std::bad_alloc&) {
        result = CTC_ERR_MEMORY;
    }
    if (result >= 0)
        Repaint();
    return result;
}

int CCustomTabCtrl::AppendItems(const std::vector<std::pair<std::wstring, DWORD_PTR>>& items)
{
    int result;
    try {
        std::vector<std::pair<std::u16string, uintptr_t>> labels;
        labels.reserve(items.size());
        for (const auto& [label, data] : items)
            labels.emplace_back(std::u16string(ToU16(label.c_str())), static_cast<uintptr_t>(data));
        result = m_logic.AppendItems(labels);
    } catch (const std::bad_alloc&) {
        result = CTC_ERR_MEMORY;
    }
    Repaint();
    return result;
}

int CCustomTabCtrl::DeleteItem(int index)
{
    int result;
    try {
        result = m_logic.DeleteItem(index);
    } catch (const std::bad_alloc&) {
        result = CTC_ERR_MEMORY;
    }
    if (result == CTC_OK)
        Repaint();
    return result;
}

int CCustomTabCtrl::SetCurSel(int index)
{
    const int result = m_logic.SetCurSel(index);
    if (result == CTC_OK)
        Repaint();
    return result;
}

int CCustomTabCtrl::GetCurSel() const
{
    return m_logic.GetCurSel();
}

int CCustomTabCtrl::GetItemCount() const
{
    return m_logic.GetItemCount();
}

int CCustomTabCtrl::GetItemText(int index, std::wstring& label) const
{
    const tabstrip::TabItem* item = m_logic.Item(index);
    if (!item)
        return CTC_ERR_INDEX;
    label.assign(ToWide(item->label), item->label.size());
    return CTC_OK;
}

int CCustomTabCtrl::SetItemText(int index, const wchar_t* label)
{
    int result;
    try {
        result = m_logic.SetItemText(index, ToU16(label));
    } catch (const std::bad_alloc&) {
        result = CTC_ERR_MEMORY;
    }
    if (result == CTC_OK)
        Repaint();
    return result;
}

int CCustomTabCtrl::GetItemData(int index, DWORD_PTR& data) const
{
    const tabstrip::TabItem* item = m_logic.Item(index);
    if (!item)
        return CTC_ERR_INDEX;
    data = static_cast<DWORD_PTR>(item->data);
    return CTC_OK;
}

int CCustomTabCtrl::FindItemByData(DWORD_PTR data) const
{
    return m_logic.FindItemByData(static_cast<uintptr_t>(data));
}

int CCustomTabCtrl::GetItemRect(int index, RECT& rect) const
{
    const tabstrip::TabItem* item = m_logic.Item(index);
    if (!item)
        return CTC_ERR_INDEX;
    rect = ToRect(item->rect);
    return CTC_OK;
}

int CCustomTabCtrl::HitTest(POINT pt) const
{
    return m_logic.HitTest({pt.x, pt.y});
}

int CCustomTabCtrl::GetFirstVisible() const
{
    return m_logic.Model().FirstVisible();
}

int CCustomTabCtrl::Measure(std::u16string_view label) const
{
    if (!m_measureDc)
        return -1;
    SIZE size{};
    if (!::GetTextExtentPoint32W(m_measureDc, reinterpret_cast<const wchar_t*>(label.data()),
                                 static_cast<int>(label.size()), &size))
        return -1;
    return size.cx;
}

// --- Messages --------------------------------------------------------------

LRESULT CCustomTabCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        m_logic.SetClientSize({LOWORD(lp), HIWORD(lp)});
        Repaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;   // painting covers every pixel, off-screen
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC dc = ::BeginPaint(m_hWnd, &ps)) {
            Paint(dc);
            ::EndPaint(m_hWnd, &ps);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(PointOf(lp));
        return m_hWnd ? Default() : 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(PointOf(lp));
        return m_hWnd ? Default() : 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: {
        const POINT pt = PointOf(lp);
        if (!Notify(msg == WM_RBUTTONDOWN ? UINT(NM_RCLICK) : UINT(NM_RDBLCLK), HitTest(pt), pt))
            return 0;
        return Default();
    }
    case WM_MOUSEMOVE:
        OnMouseMove(PointOf(lp), wp);
        return 0;
    case WM_MOUSELEAVE:
        Apply(m_logic.MouseLeave());
        return 0;
    case WM_LBUTTONUP:
        Apply(m_logic.LeftButtonUp());
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press (a menu, a dialog, Alt+Tab): the
        // button-up will go elsewhere, so let go of the held button now or it
        // would stay pressed and keep scrolling.
        if (reinterpret_cast<HWND>(lp) != m_hWnd)
            Apply(m_logic.LeftButtonUp());
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wp));
        return 0;
    case WM_CTC_GETITEMCOUNT:
        return m_logic.GetItemCount();
    case WM_CTC_GETCURSEL:
        return m_logic.GetCurSel();
    case WM_CTC_SELECT_AND_NOTIFY:
        if (m_logic.SelectAndNotify(static_cast<int>(wp))) {
            Repaint();
            Notify(CTCN_SELCHANGE, m_logic.GetCurSel(), {});
        }
        return 0;
    case WM_THEMECHANGED:
        m_look.Load(m_hWnd);
        Repaint();
        return 0;
    case WM_DESTROY:
        StopRepeatTimer();
        break;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

void CCustomTabCtrl::OnCreate()
{
    UpdateForDpi();
    const DWORD style = GetStyle();
    m_logic.SetButtonsPresent((style & CTCS_FOURBUTTONS) != 0);
    m_look.Load(m_hWnd);
    ModifyStyle(0, WS_CLIPCHILDREN);
    const RECT rc = GetClientRect();
    m_logic.SetClientSize({rc.right, rc.bottom});
    m_logic.LayOut(tabstrip::LayoutMode::Fit, m_logic.GetCurSel());
}

bool CCustomTabCtrl::OnCommand(UINT id, UINT code, HWND control)
{
    const tabstrip::CommandOutcome out = m_logic.ScrollCommand(static_cast<int>(id));
    if (!out.handled)
        return false;
    Repaint();
    if (out.notify)
        Notify(CTCN_SELCHANGE, m_logic.GetCurSel(), {});
    return true;
}

void CCustomTabCtrl::OnLButtonDown(POINT pt)
{
    const int hit = HitTest(pt);
    if (!Notify(UINT(NM_CLICK), hit, pt))
        return;
    ProcessClick(hit, pt);
}

void CCustomTabCtrl::OnLButtonDblClk(POINT pt)
{
    ProcessClick(HitTest(pt), pt);
    if (m_hWnd)
        Notify(UINT(NM_DBLCLK), HitTest(pt), pt);
}

void CCustomTabCtrl::ProcessClick(int hit, POINT pt)
{
    ::SetCapture(m_hWnd);
    const tabstrip::ClickOutcome out = m_logic.Click(hit, ::GetTickCount());
    if (out.repaint)
        Repaint();
    if (out.startTimer)
        StartRepeatTimer();
    if (out.postCommand)
        PostMessage(WM_COMMAND, MAKEWPARAM(out.postCommand, 0), 0);
    if (out.notifySelection)
        Notify(CTCN_SELCHANGE, hit, pt);
}

void CCustomTabCtrl::OnMouseMove(POINT pt, WPARAM keys)
{
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&tme);
    Apply(m_logic.MouseMove({pt.x, pt.y}, (keys & MK_LBUTTON) != 0));
}

void CCustomTabCtrl::OnTimer(UINT_PTR id)
{
    Default();
    if (id == CTC_REPEAT_TIMER && m_logic.RepeatTick(::GetTickCount()))
        Repaint();
}

void CCustomTabCtrl::Apply(const tabstrip::ButtonEffects& fx)
{
    if (fx.repaint)
        Repaint();
    if (fx.startTimer)
        StartRepeatTimer();
    if (fx.stopTimer)
        StopRepeatTimer();
}

void CCustomTabCtrl::StartRepeatTimer()
{
    if (m_hWnd)
        ::SetTimer(m_hWnd, CTC_REPEAT_TIMER, tabstrip::kRepeatTimerMs, nullptr);
}

void CCustomTabCtrl::StopRepeatTimer()
{
    if (m_hWnd)
        ::KillTimer(m_hWnd, CTC_REPEAT_TIMER);
}

void CCustomTabCtrl::Repaint()
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool CCustomTabCtrl::Notify(UINT code, int item, POINT pt)
{
    HWND self = m_hWnd;
    HWND parent = self ? ::GetParent(self) : nullptr;
    if (!parent)
        return self != nullptr;
    const tabstrip::NotifyRecord rec = m_logic.MakeNotification(item, {pt.x, pt.y});
    CTC_NMHDR nm{};
    nm.hdr.hwndFrom = self;
    nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(self));
    nm.hdr.code = code;
    nm.iItem = rec.item;
    std::copy(std::begin(rec.label), std::end(rec.label), nm.szLabel);
    nm.dwData = static_cast<DWORD_PTR>(rec.data);
    nm.rcItem = ToRect(rec.rect);
    nm.ptHit = {rec.point.x, rec.point.y};
    nm.fSelected = rec.selected;
    nm.fHighlighted = rec.highlighted;
    ::SendMessageW(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    // The parent may have destroyed the strip while handling it.
    return m_hWnd == self && ::IsWindow(self);
}
