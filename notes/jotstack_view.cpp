#include "notes/jotstack_view.h"

#include "app/para_block.h"
#include "framework/dpi.h"
#include "framework/print_preview.h"
#include "notes/jotstack_doc.h"
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

void CJotstackView::SetPageText(const std::wstring& text, bool defer)
{
    if (defer) {
        m_bDeferred = true;
        m_strDeferred = text;
        m_nDeferredStart = m_nDeferredEnd = m_nDeferredFirstLine = 0;
        return;
    }
    m_bDeferred = false;
    m_strDeferred.clear();
    UINT limit = static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
    if (text.size() > nMaxSize && text.size() > limit)
        SendMessage(EM_SETLIMITTEXT, text.size());
    SetText(text);
}

std::wstring CJotstackView::GetPageText() const
{
    return m_bDeferred ? m_strDeferred : GetText();
}

int CJotstackView::GetPageLength() const
{
    return m_bDeferred ? static_cast<int>(m_strDeferred.size()) : GetBufferLength();
}

void CJotstackView::EnsureText()
{
    if (!m_bDeferred || !m_hWnd)
        return;
    // Setting the text clears the modified mark; a page marked before it
    // was shown keeps its mark.
    bool modified = GetModify();
    std::wstring text = std::move(m_strDeferred);
    SetPageText(text, false);
    SetModify(modified);
    SendMessage(EM_LINESCROLL, 0, m_nDeferredFirstLine);
    SendMessage(EM_SETSEL, static_cast<WPARAM>(m_nDeferredStart), m_nDeferredEnd);
    SendMessage(EM_SCROLLCARET);
}

void CJotstackView::OnActivateView(bool activate, CView* activated, CView* deactivated)
{
    if (activate)
        EnsureText();
    CDragEdit::OnActivateView(activate, activated, deactivated);
}

void CJotstackView::SaveViewState(int index)
{
    std::wstring section = L"View" + std::to_wstring(index);
    int start = m_nDeferredStart, end = m_nDeferredEnd, first = m_nDeferredFirstLine;
    if (!m_bDeferred) {
        GetSel(start, end);
        first = static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
    }
    // One write for the whole section: every private-profile write rewrites
    // the file, and this runs for every page at each close.
    std::wstring keys = L"PARA_START_CHAR=" + std::to_wstring(start) + L'\0' +
                        L"PARA_END_CHAR=" + std::to_wstring(end) + L'\0' +
                        L"PARA_FIRST_LINE=" + std::to_wstring(first) + L'\0';
    ::WritePrivateProfileSectionW(section.c_str(), keys.c_str(), g_szIniPath);

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

void CJotstackView::RestoreViewState(int index)
{
    std::wstring section = L"View" + std::to_wstring(index);
    int start = IniReadInt(section.c_str(), L"PARA_START_CHAR", 0);
    int end = IniReadInt(section.c_str(), L"PARA_END_CHAR", 0);
    int first = IniReadInt(section.c_str(), L"PARA_FIRST_LINE", 0);
    if (m_bDeferred) {
        m_nDeferredStart = start;
        m_nDeferredEnd = end;
        m_nDeferredFirstLine = first;
        return;
    }
    SendMessage(EM_LINESCROLL, 0, first);
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    SendMessage(EM_SCROLLCARET);
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
