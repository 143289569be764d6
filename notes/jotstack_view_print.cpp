// Printing of a page: its text in the page's font, scaled to the printer,
// with long lines wrapped at the printable width (framework/text_pages),
// and the print, print preview and print setup commands.
#include <windows.h>

#include <cstdlib>

#include "framework/dpi.h"
#include "framework/print_preview.h"
#include "notes/jotstack_view.h"
#include "res/resource.h"

namespace {

HWND TopWindow(HWND hwnd)
{
    HWND root = ::GetAncestor(hwnd, GA_ROOT);
    return root ? root : hwnd;
}

// The page's font as the screen shows it, sized for a device of dpiY.
LOGFONTW FontForDevice(HWND edit, int dpiY)
{
    LOGFONTW lf{};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    ::GetObjectW(font, sizeof lf, &lf);
    // The page's font is made for the DPI of its monitor.
    const int screenDpi = dpi::ForWindow(edit);
    lf.lfHeight = ::MulDiv(lf.lfHeight, dpiY, screenDpi);
    lf.lfWidth = ::MulDiv(lf.lfWidth, dpiY, screenDpi);
    if (lf.lfHeight == 0)
        lf.lfHeight = -::MulDiv(10, dpiY, 72);   // 10 points
    return lf;
}

}  // namespace

bool CJotstackView::HandlePrintCommand(CmdRequest& req)
{
    switch (req.id) {
    case ID_FILE_PRINT:
        return req.Run([this] { printing::Print(TopWindow(m_hWnd), *this, false); });
    case ID_FILE_PRINT_DIRECT:
        return req.Run([this] { printing::Print(TopWindow(m_hWnd), *this, true); });
    case ID_FILE_PRINT_PREVIEW:
        return req.Run([this] {
            printing::ShowPrintPreview(TopWindow(m_hWnd), *this,
                                       [this] { printing::Print(TopWindow(m_hWnd), *this, false); });
        });
    case ID_FILE_PRINT_SETUP:
        return req.Run([this] { printing::ShowPrintSetup(TopWindow(m_hWnd)); });
    }
    return false;
}

std::wstring CJotstackView::GetPrintTitle() const
{
    HWND frame = ::GetParent(m_hWnd);
    wchar_t name[256] = {};
    if (frame)
        ::GetWindowTextW(frame, name, 256);
    return name[0] ? std::wstring(L"Jotstack - ") + name : std::wstring(L"Jotstack");
}

bool CJotstackView::OnBeginPrinting(HDC printerDc, CPrintInfo& info)
{
    m_printText = GetText();
    LOGFONTW lf = FontForDevice(m_hWnd, std::max(1, ::GetDeviceCaps(printerDc, LOGPIXELSY)));
    m_printFont.Reset(::CreateFontIndirectW(&lf));
    SelectObjectScope select(printerDc, m_printFont.Get());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(printerDc, &tm);
    m_nPrintLineHeight = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
    const int average = std::max<int>(1, tm.tmAveCharWidth);
    // Tab stops are in dialog units: 4 to an average character.
    m_nPrintTab = std::max(1, GetTabStops() * average / 4);

    std::vector<int> widths(65536, -1);
    auto charWidth = [&](char16_t c) {
        int& w = widths[c];
        if (w < 0) {
            if (c >= 0xD800 && c <= 0xDFFF) {
                w = c <= 0xDBFF ? 2 * average : 0;   // a pair counts at its first half
            } else {
                INT got = 0;
                w = ::GetCharWidth32W(printerDc, c, c, &got) ? got : average;
            }
        }
        return w;
    };
    const RECT& area = info.m_rectDraw;
    std::u16string_view text(reinterpret_cast<const char16_t*>(m_printText.data()), m_printText.size());
    m_printLines = textpages::LayOutLines(text, area.right - area.left, m_nPrintTab, charWidth);
    m_nLinesPerPage = static_cast<size_t>(std::max(1, int(area.bottom - area.top) / m_nPrintLineHeight));
    info.m_nMinPage = 1;
    info.m_nMaxPage = static_cast<UINT>(textpages::PageCount(m_printLines.size(), m_nLinesPerPage));
    return true;
}

void CJotstackView::OnPrint(HDC dc, CPrintInfo& info)
{
    SelectObjectScope select(dc, m_printFont.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    textpages::PageLines page =
        textpages::LinesOfPage(info.m_nCurPage - 1, m_printLines.size(), m_nLinesPerPage);
    const RECT& area = info.m_rectDraw;
    int y = area.top;
    INT tab = m_nPrintTab;
    for (size_t i = page.first; i < page.first + page.count; ++i) {
        const textpages::Line& line = m_printLines[i];
        if (line.length > 0)
            ::TabbedTextOutW(dc, area.left, y, m_printText.data() + line.start,
                             static_cast<int>(line.length), 1, &tab, area.left);
        y += m_nPrintLineHeight;
    }
}

void CJotstackView::OnEndPrinting(CPrintInfo&)
{
    m_printLines.clear();
    m_printLines.shrink_to_fit();
    m_printText.clear();
    m_printText.shrink_to_fit();
    m_printFont.Reset();
}
