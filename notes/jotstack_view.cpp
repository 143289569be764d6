#include "notes/jotstack_view.h"

#include "app/para_block.h"
#include "framework/dpi.h"
#include "framework/print_preview.h"
#include "notes/jotstack_doc.h"
#include "notes/page_rules.h"
#include "res/resource.h"

namespace {

// The display font of every page, and what the INI file holds of it.
LOGFONTW g_font{};
LOGFONTW g_fontSnapshot{};

void SetDefaultFont(LOGFONTW& lf)
{
    lf = LOGFONTW{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_NORMAL;
    lf.lfPitchAndFamily = 2;
    lf.lfCharSet = 134;   // GB2312_CHARSET
    lstrcpynW(lf.lfFaceName, L"宋体", LF_FACESIZE);
}

// Heights the font dialog can give (sizes up to 1638 points, on screens
// up to 144 dpi) fit well inside this; a height beyond it comes from a
// damaged INI file and would draw the page as specks or not at all.
constexpr int kMaxFontHeight = 4096;

}  // namespace

LOGFONTW& SharedPageFont()
{
    return g_font;
}

LOGFONTW PageFontAt(const LOGFONTW& font96, int dpi)
{
    LOGFONTW lf = font96;
    lf.lfHeight = dpiscale::ScaleFontHeight(font96.lfHeight, dpi);
    lf.lfWidth = dpiscale::Scale(font96.lfWidth, dpi);
    return lf;
}

void CJotstackView::LoadFontSettings()
{
    SetDefaultFont(g_font);
    const wchar_t* s = L"Font";
    const int height = IniReadInt(s, L"Height", g_font.lfHeight);
    if (height >= -kMaxFontHeight && height <= kMaxFontHeight)
        g_font.lfHeight = height;
    g_font.lfWeight = IniReadInt(s, L"Weight", g_font.lfWeight);
    g_font.lfItalic = static_cast<BYTE>(IniReadInt(s, L"Italic", g_font.lfItalic));
    g_font.lfUnderline = static_cast<BYTE>(IniReadInt(s, L"Underline", g_font.lfUnderline));
    g_font.lfPitchAndFamily =
        static_cast<BYTE>(IniReadInt(s, L"PitchAndFamily", g_font.lfPitchAndFamily));
    g_font.lfCharSet = static_cast<BYTE>(IniReadInt(s, L"CharSet", g_font.lfCharSet));
    std::wstring face = IniReadString(s, L"FaceName", g_font.lfFaceName, 255);
    lstrcpynW(g_font.lfFaceName, face.c_str(), LF_FACESIZE);
    g_fontSnapshot = g_font;
}

CJotstackDoc* CJotstackView::GetDocument() const
{
    return static_cast<CJotstackDoc*>(m_pDocument);
}

void CJotstackView::SetPageText(const std::wstring& text)
{
    UINT limit = static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
    if (text.size() > nMaxSize && text.size() > limit)
        SendMessage(EM_SETLIMITTEXT, text.size());
    SetText(text);
}

void CJotstackView::ShowPageText(const std::u16string& text, const notebook::ViewState& state)
{
    // The edit control lays out every line of a new text before it shows any
    // (Wine's takes a third of a second for 100,000 characters of wrapped
    // Chinese). A long page first gets the lines that fill the screen, is
    // painted, and then takes its whole text: the screen keeps showing those
    // lines meanwhile, and the user sees the page at once.
    if (text.size() > kShowFirstAbove && ::IsWindowVisible(m_hWnd)) {
        RECT rc = GetClientRect();
        TEXTMETRICW tm{};
        if (HDC dc = ::GetDC(m_hWnd)) {
            HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
            ::GetTextMetricsW(dc, &tm);
            ::SelectObject(dc, old);
            ::ReleaseDC(m_hWnd, dc);
        }
        const int rows = (rc.bottom - rc.top) / std::max<int>(1, tm.tmHeight) + 2;
        // A line on the screen is at most one of the page's lines.
        const size_t end = pages::EndOfLines(text, static_cast<size_t>(std::max(0, state.firstLine)) +
                                                       static_cast<size_t>(rows));
        if (end < text.size()) {
            SetText(std::wstring(reinterpret_cast<const wchar_t*>(text.data()), end));
            SendMessage(EM_LINESCROLL, 0, state.firstLine);
            ::UpdateWindow(m_hWnd);
        }
    }
    const std::wstring whole(reinterpret_cast<const wchar_t*>(text.data()), text.size());
    UINT limit = static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
    if (whole.size() > nMaxSize && whole.size() > limit)
        SendMessage(EM_SETLIMITTEXT, whole.size());
    // Handed over whole, so that the control lays it out once and does not
    // first delete what it showed; it starts with no undo and no mark.
    PutWholeText(m_hWnd, whole);
    SetModify(false);
    SendMessage(EM_LINESCROLL, 0, state.firstLine);
    SendMessage(EM_SETSEL, static_cast<WPARAM>(state.start), state.end);
    SendMessage(EM_SCROLLCARET);
}

std::u16string CJotstackView::Text() const
{
    const std::wstring text = GetText();
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

size_t CJotstackView::TextLength() const
{
    return m_hWnd ? static_cast<size_t>(GetBufferLength()) : 0;
}

notebook::ViewState CJotstackView::State() const
{
    notebook::ViewState state;
    if (!m_hWnd)
        return state;
    GetSel(state.start, state.end);
    state.firstLine = static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
    return state;
}

void CJotstackView::ClearModified()
{
    if (m_hWnd)
        SetModify(false);
}

void CJotstackView::OnActivateView(bool activate, CView* activated, CView* deactivated)
{
    if (activate)
        if (CJotstackDoc* doc = GetDocument())
            doc->OnPageActivated(this);
    CDragEdit::OnActivateView(activate, activated, deactivated);
}

void CJotstackView::SaveFontSettings()
{
    const wchar_t* s = L"Font";
    if (g_font.lfHeight != g_fontSnapshot.lfHeight)
        IniWriteInt(s, L"Height", g_font.lfHeight);
    if (g_font.lfHeight != 0) {
        if (g_font.lfWeight != g_fontSnapshot.lfWeight)
            IniWriteInt(s, L"Weight", g_font.lfWeight);
        if (g_font.lfItalic != g_fontSnapshot.lfItalic)
            IniWriteInt(s, L"Italic", g_font.lfItalic);
        if (g_font.lfUnderline != g_fontSnapshot.lfUnderline)
            IniWriteInt(s, L"Underline", g_font.lfUnderline);
        if (g_font.lfPitchAndFamily != g_fontSnapshot.lfPitchAndFamily)
            IniWriteInt(s, L"PitchAndFamily", g_font.lfPitchAndFamily);
        if (g_font.lfCharSet != g_fontSnapshot.lfCharSet)
            IniWriteInt(s, L"CharSet", g_font.lfCharSet);
        if (lstrcmpW(g_font.lfFaceName, g_fontSnapshot.lfFaceName) != 0)
            IniWriteString(s, L"FaceName", g_font.lfFaceName);
    }
    g_fontSnapshot = g_font;
}

bool CJotstackView::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CDragEdit::PreCreateWindow(cs))
        return false;
    if (g_paraBlock.GetPara(PARA_WORD_WRAP))
        cs.style &= ~static_cast<LONG>(WS_HSCROLL | ES_AUTOHSCROLL);
    return true;
}

LRESULT CJotstackView::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        LRESULT r = CDragEdit::WindowProc(msg, wp, lp);
        if (r == -1)
            return r;
        if (g_font.lfHeight != 0) {
            // The INI keeps the size a 96-DPI screen shows; the page shows
            // it at the DPI of its monitor.
            const LOGFONTW lf = PageFontAt(g_font, dpi::ForWindow(m_hWnd));
            m_font.Reset(::CreateFontIndirectW(&lf));
            if (m_font)
                SetFont(m_font.Get(), true);
        }
        SetTabStops(SaneTabStops(g_paraBlock.GetPara(PARA_TAB_STOPS)));
        return r;
    }
    case WM_DESTROY:
        CloseFindDialogOfThisView();
        printing::ClosePrintPreview(this);
        // The page takes its text (when changed) and its state back.
        if (CJotstackDoc* doc = GetDocument())
            doc->OnViewDestroying(this);
        break;
    }
    if (msg == FindDialogMessage() && msg != 0) {
        OnFindReplaceCmd(lp);
        return 0;
    }
    return CDragEdit::WindowProc(msg, wp, lp);
}

void CJotstackView::UpdateForDpi(int oldDpi, int newDpi)
{
    if (!m_font || !m_hWnd || oldDpi == newDpi)
        return;
    LOGFONTW lf{};
    if (!::GetObjectW(m_font.Get(), sizeof lf, &lf))
        return;
    lf.lfHeight = dpiscale::Rescale(lf.lfHeight, oldDpi, newDpi);
    lf.lfWidth = dpiscale::Rescale(lf.lfWidth, oldDpi, newDpi);
    UniqueFont font(::CreateFontIndirectW(&lf));
    if (!font)
        return;
    SetFont(font.Get(), true);
    m_font = std::move(font);
}
