#include "framework/print_preview.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

// The commands of the preview bar, in bar order.
enum PreviewCommand : UINT {
    kPrint = 1,
    kNextPage,
    kPrevPage,
    kNumPages,
    kZoomIn,
    kZoomOut,
    kClose,
};

struct BarButton {
    UINT id;
    const wchar_t* text;
};
constexpr BarButton kButtons[] = {
    {kPrint, L"打印(&P)..."}, {kNextPage, L"下一页(&N)"}, {kPrevPage, L"上一页(&V)"},
    {kNumPages, L"两页(&T)"}, {kZoomIn, L"放大(&I)"},     {kZoomOut, L"缩小(&O)"},
    {kClose, L"关闭(&C)"},
};
constexpr int kBarHeight = 32;
constexpr int kButtonWidth = 84;
constexpr int kMargin = 12;           // pixels around and between pages
constexpr double kZoom[] = {1.0, 2.0, 3.5};   // times the one-page fit
constexpr UINT_PTR kFrameSubclassId = 0x5052;   // 'PR'

struct EmfTraits {
    using Handle = HENHMETAFILE;
    static constexpr HENHMETAFILE Invalid() { return nullptr; }
    static bool IsValid(HENHMETAFILE h) { return h != nullptr; }
    static void Close(HENHMETAFILE h) { ::DeleteEnhMetaFile(h); }
};
using UniqueEmf = UniqueHandle<EmfTraits>;

class CPrintPreviewWnd : public CWnd {
public:
    CPrintPreviewWnd(CPrintable& doc, UniquePrinterDc printer, std::function<void()> print)
        : m_doc(doc), m_printer(std::move(printer)), m_print(std::move(print)) {}
    ~CPrintPreviewWnd() override;

    bool Open(HWND frame);
    void Close();
    const CPrintable* Document() const { return &m_doc; }
    bool PreTranslateMessage(MSG* msg) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR data);
    void FitToFrame();
    // Where the preview goes: the place of the frame's MDI client (or its
    // whole client area), so that toolbar and status bar stay in view.
    RECT PreviewArea() const;
    void Layout();
    void UpdateBar();
    void SetPage(int page);
    void Paint(HDC dc);
    HENHMETAFILE PageMetafile(UINT page);
    double Scale() const;
    void Scroll(int bar, int code);

    CPrintable& m_doc;
    UniquePrinterDc m_printer;
    std::function<void()> m_print;
    CPrintInfo m_info;
    HWND m_frame = nullptr;
    HWND m_mdiClient = nullptr;   // hidden while the preview shows
    std::map<UINT, UniqueEmf> m_pages;
    UINT m_nCurPage = 1;
    int m_nPagesShown = 1;
    int m_nZoom = 0;
    int m_scrollX = 0;
    int m_scrollY = 0;
    // The printer's sheet and printable area, in printer pixels.
    SIZE m_sheet{};
    POINT m_offset{};
    SIZE m_printable{};
};

std::unique_ptr<CPrintPreviewWnd>& Current()
{
    static std::unique_ptr<CPrintPreviewWnd> preview;
    return preview;
}

// A closed preview whose window procedure may still be on the stack (it
// closes itself from its own buttons); freed when the next one closes.
std::unique_ptr<CPrintPreviewWnd>& Retired()
{
    static std::unique_ptr<CPrintPreviewWnd> preview;
    return preview;
}

CPrintPreviewWnd::~CPrintPreviewWnd()
{
    if (m_frame)
        ::RemoveWindowSubclass(m_frame, FrameProc, kFrameSubclassId);
}

bool CPrintPreviewWnd::Open(HWND frame)
{
    HDC p = m_printer.Get();
    m_info.m_bPreview = true;
    m_info.m_rectDraw = printing::PrintableArea(p);
    if (!m_doc.OnBeginPrinting(p, m_info))
        return false;
    m_printable = SIZE{m_info.m_rectDraw.right, m_info.m_rectDraw.bottom};
    m_sheet = SIZE{std::max<int>(::GetDeviceCaps(p, PHYSICALWIDTH), m_printable.cx),
                   std::max<int>(::GetDeviceCaps(p, PHYSICALHEIGHT), m_printable.cy)};
    m_offset = POINT{::GetDeviceCaps(p, PHYSICALOFFSETX), ::GetDeviceCaps(p, PHYSICALOFFSETY)};
    m_nPagesShown = m_info.m_nMaxPage > 1 ? 2 : 1;

    if (!RegisterWindowClass(L"JotstackPrintPreview", CS_HREDRAW | CS_VREDRAW, nullptr,
                             ::LoadCursorW(nullptr, IDC_ARROW), nullptr))
        return false;
    m_frame = frame;
    m_mdiClient = ::FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    RECT rc = PreviewArea();
    if (!CreateEx(0, L"JotstackPrintPreview", L"",
                  WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, rc.left,
                  rc.top, rc.right - rc.left, rc.bottom - rc.top, frame, nullptr)) {
        m_frame = nullptr;
        return false;
    }
    if (m_mdiClient)
        ::ShowWindow(m_mdiClient, SW_HIDE);
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    int x = 6;
    for (const BarButton& b : kButtons) {
        HWND button = ::CreateWindowExW(0, L"BUTTON", b.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                        x, 4, kButtonWidth, kBarHeight - 8, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(b.id)),
                                        ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        x += kButtonWidth + 4;
    }
    ::SetWindowSubclass(frame, FrameProc, kFrameSubclassId, reinterpret_cast<DWORD_PTR>(this));
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    Layout();
    UpdateBar();
    ::SetFocus(m_hWnd);
    return true;
}

void CPrintPreviewWnd::Close()
{
    HWND frame = m_frame;
    if (frame)
        ::RemoveWindowSubclass(frame, FrameProc, kFrameSubclassId);
    m_frame = nullptr;
    m_pages.clear();
    m_doc.OnEndPrinting(m_info);
    DestroyWindow();
    if (m_mdiClient)
        ::ShowWindow(m_mdiClient, SW_SHOW);
    m_mdiClient = nullptr;
    if (frame) {
        ::InvalidateRect(frame, nullptr, TRUE);
        ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    }
    if (Current().get() == this)
        Retired() = std::move(Current());
}

LRESULT CALLBACK CPrintPreviewWnd::FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                             UINT_PTR, DWORD_PTR data)
{
    LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_SIZE && wp != SIZE_MINIMIZED)
        reinterpret_cast<CPrintPreviewWnd*>(data)->FitToFrame();
    return r;
}

RECT CPrintPreviewWnd::PreviewArea() const
{
    RECT rc{};
    if (m_mdiClient) {
        ::GetWindowRect(m_mdiClient, &rc);
        ::MapWindowPoints(nullptr, m_frame, reinterpret_cast<POINT*>(&rc), 2);
    } else {
        ::GetClientRect(m_frame, &rc);
    }
    return rc;
}

void CPrintPreviewWnd::FitToFrame()
{
    RECT rc = PreviewArea();
    SetWindowPos(HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOACTIVATE);
    Layout();
}

double CPrintPreviewWnd::Scale() const
{
    RECT rc = GetClientRect();
    int w = rc.right - 2 * kMargin;
    int h = rc.bottom - kBarHeight - 2 * kMargin;
    if (m_nZoom > 0) {
        double one = std::min(double(w) / m_sheet.cx, double(h) / m_sheet.cy);
        return std::max(one, 0.01) * kZoom[m_nZoom];
    }
    int pages = m_nPagesShown;
    double sx = double(w - (pages - 1) * kMargin) / (double(m_sheet.cx) * pages);
    double sy = double(h) / m_sheet.cy;
    return std::max(std::min(sx, sy), 0.01);
}

void CPrintPreviewWnd::Layout()
{
    RECT rc = GetClientRect();
    double s = Scale();
    int contentW = int(m_sheet.cx * s) + 2 * kMargin;
    int contentH = int(m_sheet.cy * s) + 2 * kMargin;
    int viewW = rc.right, viewH = rc.bottom - kBarHeight;
    bool scroll = m_nZoom > 0;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMax = scroll ? contentW : 0;
    si.nPage = static_cast<UINT>(scroll ? viewW : 1);
    m_scrollX = std::clamp(m_scrollX, 0, std::max(0, contentW - viewW));
    si.nPos = m_scrollX;
    ::ShowScrollBar(m_hWnd, SB_HORZ, scroll && contentW > viewW);
    ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
    si.nMax = scroll ? contentH : 0;
    si.nPage = static_cast<UINT>(scroll ? viewH : 1);
    m_scrollY = std::clamp(m_scrollY, 0, std::max(0, contentH - viewH));
    si.nPos = m_scrollY;
    ::ShowScrollBar(m_hWnd, SB_VERT, scroll && contentH > viewH);
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
    if (!scroll)
        m_scrollX = m_scrollY = 0;
    Invalidate(true);
}

void CPrintPreviewWnd::UpdateBar()
{
    const UINT maxPage = m_info.m_nMaxPage;
    ::EnableWindow(GetDlgItem(kNextPage), m_nCurPage + m_nPagesShown - 1 < maxPage);
    ::EnableWindow(GetDlgItem(kPrevPage), m_nCurPage > 1);
    ::EnableWindow(GetDlgItem(kNumPages), maxPage > 1 && m_nZoom == 0);
    ::SetWindowTextW(GetDlgItem(kNumPages), m_nPagesShown == 2 ? L"一页(&O)" : L"两页(&T)");
    ::EnableWindow(GetDlgItem(kZoomIn), m_nZoom + 1 < int(std::size(kZoom)));
    ::EnableWindow(GetDlgItem(kZoomOut), m_nZoom > 0);
    // Focus must not stay on a button that just went grey.
    if (HWND focus = ::GetFocus(); focus && !::IsWindowEnabled(focus))
        ::SetFocus(m_hWnd);
}

void CPrintPreviewWnd::SetPage(int page)
{
    int last = std::max<int>(1, int(m_info.m_nMaxPage) - (m_nZoom == 0 ? m_nPagesShown - 1 : 0));
    m_nCurPage = static_cast<UINT>(std::clamp(page, 1, last));
    m_scrollY = 0;
    Layout();
    UpdateBar();
}

HENHMETAFILE CPrintPreviewWnd::PageMetafile(UINT page)
{
    auto it = m_pages.find(page);
    if (it != m_pages.end())
        return it->second.Get();
    HDC p = m_printer.Get();
    int dpiX = std::max(1, ::GetDeviceCaps(p, LOGPIXELSX));
    int dpiY = std::max(1, ::GetDeviceCaps(p, LOGPIXELSY));
    // The frame in 0.01 mm: the printable area.
    RECT frame{0, 0, MulDiv(m_printable.cx, 2540, dpiX), MulDiv(m_printable.cy, 2540, dpiY)};
    HDC mf = ::CreateEnhMetaFileW(p, nullptr, &frame, L"Jotstack\0preview\0");
    if (!mf)
        return nullptr;
    m_info.m_nCurPage = page;
    m_doc.OnPrint(mf, m_info);
    UniqueEmf emf(::CloseEnhMetaFile(mf));
    HENHMETAFILE h = emf.Get();
    m_pages.emplace(page, std::move(emf));
    return h;
}

void CPrintPreviewWnd::Paint(HDC dc)
{
    RECT rc = GetClientRect();
    RECT bar{0, 0, rc.right, kBarHeight};
    ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT area{0, kBarHeight, rc.right, rc.bottom};
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    HRGN clip = ::CreateRectRgn(area.left, area.top, area.right, area.bottom);
    ::SelectClipRgn(dc, clip);
    ::DeleteObject(clip);

    double s = Scale();
    int w = int(m_sheet.cx * s), h = int(m_sheet.cy * s);
    int pages = m_nZoom == 0 ? m_nPagesShown : 1;
    int total = pages * w + (pages - 1) * kMargin;
    int x0 = std::max(kMargin, int(rc.right - total) / 2) - m_scrollX;
    int y0 = kBarHeight + std::max(kMargin, int(rc.bottom - kBarHeight - h) / 2) - m_scrollY;
    for (int i = 0; i < pages; ++i) {
        UINT page = m_nCurPage + static_cast<UINT>(i);
        if (page > m_info.m_nMaxPage)
            break;
        int x = x0 + i * (w + kMargin);
        RECT sheet{x, y0, x + w, y0 + h};
        RECT shadow = sheet;
        ::OffsetRect(&shadow, 3, 3);
        ::FillRect(dc, &shadow, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::FillRect(dc, &sheet, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        RECT dest{x + int(m_offset.x * s), y0 + int(m_offset.y * s),
                  x + int((m_offset.x + m_printable.cx) * s), y0 + int((m_offset.y + m_printable.cy) * s)};
        if (HENHMETAFILE emf = PageMetafile(page))
            ::PlayEnhMetaFile(dc, emf, &dest);
    }
    ::SelectClipRgn(dc, nullptr);
}

void CPrintPreviewWnd::Scroll(int bar, int code)
{
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, bar, &si);
    int pos = si.nPos;
    int line = 40;
    switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= int(si.nPage); break;
    case SB_PAGEDOWN: pos += int(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    default: return;
    }
    (bar == SB_HORZ ? m_scrollX : m_scrollY) = pos;
    Layout();
}

bool CPrintPreviewWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN)
        return false;
    switch (msg->wParam) {
    case VK_ESCAPE: OnCommand(kClose, 0, nullptr); return true;
    case VK_NEXT: OnCommand(kNextPage, 0, nullptr); return true;
    case VK_PRIOR: OnCommand(kPrevPage, 0, nullptr); return true;
    }
    return false;
}

bool CPrintPreviewWnd::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id) {
    case kPrint: {
        std::function<void()> print = m_print;
        Close();
        if (print)
            print();
        return true;
    }
    case kNextPage:
        if (m_nCurPage + m_nPagesShown - 1 < m_info.m_nMaxPage)
            SetPage(int(m_nCurPage) + 1);
        return true;
    case kPrevPage:
        SetPage(int(m_nCurPage) - 1);
        return true;
    case kNumPages:
        m_nPagesShown = m_nPagesShown == 2 ? 1 : 2;
        SetPage(int(m_nCurPage));
        return true;
    case kZoomIn:
        if (m_nZoom + 1 < int(std::size(kZoom)))
            ++m_nZoom;
        Layout();
        UpdateBar();
        return true;
    case kZoomOut:
        if (m_nZoom > 0)
            --m_nZoom;
        Layout();
        UpdateBar();
        return true;
    case kClose:
        Close();
        return true;
    }
    return false;
}

LRESULT CPrintPreviewWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        Paint(dc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_HSCROLL:
        Scroll(SB_HORZ, LOWORD(wp));
        return 0;
    case WM_VSCROLL:
        Scroll(SB_VERT, LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL:
        if (m_nZoom > 0)
            Scroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wp) > 0 ? SB_LINEUP : SB_LINEDOWN);
        else
            OnCommand(GET_WHEEL_DELTA_WPARAM(wp) > 0 ? kPrevPage : kNextPage, 0, nullptr);
        return 0;
    case WM_LBUTTONDOWN:
        ::SetFocus(m_hWnd);
        return 0;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

}  // namespace

namespace printing {

bool ShowPrintPreview(HWND frame, CPrintable& doc, std::function<void()> print)
{
    if (Current())
        Current()->Close();
    UniquePrinterDc printer = CreateCurrentPrinterDc();
    if (!printer) {
        ::MessageBoxW(frame, L"抱歉，没有找到打印机。打印预览要按打印机的纸张排版，请先安装一台打印机。",
                      L"Jotstack", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    auto preview = std::make_unique<CPrintPreviewWnd>(doc, std::move(printer), std::move(print));
    if (!preview->Open(frame))
        return false;
    Current() = std::move(preview);
    return true;
}

void ClosePrintPreview(const CPrintable* doc)
{
    if (Current() && (!doc || Current()->Document() == doc))
        Current()->Close();
}

HWND PrintPreviewWindow()
{
    return Current() ? Current()->m_hWnd : nullptr;
}

}  // namespace printing
