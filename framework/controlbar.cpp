#include "framework/controlbar.h"

#include <commctrl.h>

#include "framework/dpi.h"
#include "framework/frame.h"
#include "framework/handles.h"
#include "framework/strings.h"

namespace {

class ToolCmdUI : public CCmdUI {
public:
    ToolCmdUI(HWND toolbar, UINT id) : CCmdUI(id), m_toolbar(toolbar) {}
    void Enable(bool on) override
    {
        CCmdUI::Enable(on);
        ::SendMessageW(m_toolbar, TB_ENABLEBUTTON, m_nID, MAKELONG(on ? TRUE : FALSE, 0));
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        ::SendMessageW(m_toolbar, TB_CHECKBUTTON, m_nID, MAKELONG(check ? TRUE : FALSE, 0));
    }

private:
    HWND m_toolbar;
};

class PaneCmdUI : public CCmdUI {
public:
    PaneCmdUI(CStatusBar* bar, int index, UINT id) : CCmdUI(id), m_bar(bar), m_index(index) {}
    void SetText(const wchar_t* text) override { m_bar->SetPaneText(m_index, text); }

private:
    CStatusBar* m_bar;
    int m_index;
};

int TextWidth(HWND hwnd, const std::wstring& text)
{
    WindowDc dc(hwnd);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    SelectObjectScope select(dc.Get(), font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

// ---- CControlBar -------------------------------------------------------------

CControlBar::~CControlBar()
{
    if (m_pFrame)
        m_pFrame->RemoveControlBar(this);
}

bool CControlBar::CreateBar(const wchar_t* className, DWORD controlStyle, DWORD style,
                            CFrameWnd* parent, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | controlStyle;
    RECT rc{0, 0, 0, 0};
    if (!CreateControl(0, className, L"", windowStyle, rc, parent->m_hWnd, id))
        return false;
    m_pFrame = parent;
    parent->AddControlBar(this);
    return true;
}

LRESULT CControlBar::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    // Controls placed on a bar talk to the frame, as if they sat on it.
    case WM_COMMAND:
    case WM_NOTIFY:
        if (m_pFrame && (msg == WM_COMMAND ? lp != 0 : true)) {
            HWND from = msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lp)->hwndFrom
                                         : reinterpret_cast<HWND>(lp);
            // The bar's own tooltip control asks the frame for its texts, too.
            if (from != m_hWnd && ::GetParent(from) == m_hWnd)
                return m_pFrame->SendMessage(msg, wp, lp);
            if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TTN_GETDISPINFOW)
                return m_pFrame->SendMessage(msg, wp, lp);
        }
        break;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

// ---- CToolBar ----------------------------------------------------------------

bool CToolBar::CreateEx(CFrameWnd* parent, DWORD tbStyle, DWORD style, UINT id)
{
    DWORD controlStyle = tbStyle | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (style & CBRS_TOOLTIPS)
        controlStyle |= TBSTYLE_TOOLTIPS;
    if (!CreateBar(TOOLBARCLASSNAMEW, controlStyle, style, parent, id))
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

void CToolBar::SetScaledBitmaps(UINT id150, UINT id200)
{
    m_nBitmap150 = id150;
    m_nBitmap200 = id200;
}

bool CToolBar::LoadToolBar(UINT idResource)
{
    return LoadForDpi(idResource, dpi::ForWindow(m_hWnd));
}

bool CToolBar::UpdateForDpi(int dpi)
{
    if (!m_hWnd || !m_nResource || dpi == m_nDpi)
        return true;
    const DWORD style = GetStyle();
    const HWND parent = GetParent();
    const UINT id = static_cast<UINT>(GetDlgCtrlID());
    DestroyWindow();
    if (!CreateControl(0, TOOLBARCLASSNAMEW, L"", style, RECT{0, 0, 0, 0}, parent, id))
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return LoadForDpi(m_nResource, dpi);
}

bool CToolBar::LoadForDpi(UINT idResource, int dpi)
{
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    HRSRC res = ::FindResourceW(inst, MAKEINTRESOURCEW(idResource), MAKEINTRESOURCEW(241));
    if (!res)
        return false;
    HGLOBAL mem = ::LoadResource(inst, res);
    auto* data = static_cast<const WORD*>(::LockResource(mem));
    DWORD size = ::SizeofResource(inst, res);
    if (!data || size < 8 || data[0] != 1)
        return false;
    const WORD width = data[1], height = data[2], count = data[3];
    if (size < 8u + 2u * count)
        return false;

    m_nResource = idResource;
    m_nDpi = dpi;
    const dpiscale::ImageScale scale = dpiscale::ImageScaleFor(dpi);
    UINT bitmapId = idResource;
    if (scale == dpiscale::ImageScale::x150 && m_nBitmap150)
        bitmapId = m_nBitmap150;
    else if (scale == dpiscale::ImageScale::x200 && m_nBitmap200)
        bitmapId = m_nBitmap200;
    const bool scaled = bitmapId != idResource;
    SendMessage(TB_SETBITMAPSIZE, 0,
                MAKELONG(scaled ? dpiscale::ImageLength(width, scale) : width,
                         scaled ? dpiscale::ImageLength(height, scale) : height));
    TBADDBITMAP bitmap{inst, bitmapId};
    int images = 0;
    for (WORD i = 0; i < count; ++i)
        images += data[4 + i] != 0;
    if (SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&bitmap)) == -1)
        return false;

    std::vector<TBBUTTON> buttons;
    int image = 0;
    m_ids.clear();
    for (WORD i = 0; i < count; ++i) {
        TBBUTTON b{};
        UINT id = data[4 + i];
        if (id == 0) {
            b.fsStyle = BTNS_SEP;
            b.iBitmap = dpiscale::Scale(6, dpi);   // a separator's width
        } else {
            b.iBitmap = image++;
            b.idCommand = static_cast<int>(id);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        m_ids.push_back(id);
        buttons.push_back(b);
    }
    SendMessage(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    if (dpi != dpiscale::kBaseDpi) {
        // The room around the images grows with them: the toolbar's own
        // padding (that of a 96-DPI screen) scaled.
        const DWORD padding = static_cast<DWORD>(SendMessage(TB_GETPADDING));
        const int w = (scaled ? dpiscale::ImageLength(width, scale) : width) + dpiscale::Scale(LOWORD(padding), dpi);
        const int h = (scaled ? dpiscale::ImageLength(height, scale) : height) + dpiscale::Scale(HIWORD(padding), dpi);
        SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(w, h));
        SendMessage(TB_AUTOSIZE);
    }
    return true;
}

int CToolBar::CalcHeight(int) const
{
    DWORD size = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    return HIWORD(size) + 4;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler)
{
    for (UINT id : m_ids) {
        if (id == 0)
            continue;
        ToolCmdUI ui(m_hWnd, id);
        target->UpdateCmdUI(ui, disableIfNoHandler);
    }
}

// ---- CStatusBar --------------------------------------------------------------

bool CStatusBar::Create(CFrameWnd* parent, DWORD style, UINT id)
{
    if (!CreateBar(STATUSCLASSNAMEW, 0, style, parent, id))
        return false;
    m_nDpi = dpi::System();
    MeasureHeight();
    return true;
}

void CStatusBar::MeasureHeight()
{
    // Let the control choose its height for its font, then place it
    // ourselves like the other bars.
    ModifyStyle(CCS_NOPARENTALIGN | CCS_NORESIZE, 0);
    SendMessage(WM_SIZE);
    RECT rc = GetWindowRect();
    if (rc.bottom - rc.top > 0)
        m_nHeight = rc.bottom - rc.top;
    ModifyStyle(0, CCS_NOPARENTALIGN | CCS_NORESIZE);
}

int CStatusBar::IndicatorWidth(const std::wstring& text) const
{
    return TextWidth(m_hWnd, text) + dpiscale::Scale(8, m_nDpi);
}

void CStatusBar::UpdateForDpi(int dpi)
{
    if (!m_hWnd || dpi == m_nDpi)
        return;
    m_nDpi = dpi;
    if (dpi == dpi::System()) {
        // The control's own font is the one made for this DPI.
        SendMessage(WM_SETFONT, 0, FALSE);
        m_font.Reset();
    } else {
        const LOGFONTW lf = dpi::StatusFont(dpi);
        GdiObject<HFONT> font(::CreateFontIndirectW(&lf));
        if (!font)
            return;
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        m_font = std::move(font);
    }
    MeasureHeight();
    for (Pane& pane : m_panes)
        if (pane.id != ID_SEPARATOR)
            pane.width = IndicatorWidth(str::Load(pane.id));
    UpdateParts();
    Invalidate(true);
}

bool CStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (count <= 0 || count > 255)
        return false;
    m_panes.clear();
    for (int i = 0; i < count; ++i) {
        Pane pane;
        pane.id = ids[i];
        if (pane.id == ID_SEPARATOR) {
            pane.stretch = i == 0;
            pane.noBorders = i == 0;
            pane.width = ::GetSystemMetrics(SM_CXSCREEN) / 4;
        } else {
            pane.text = str::Load(pane.id);
            pane.width = IndicatorWidth(pane.text);
        }
        m_panes.push_back(pane);
    }
    UpdateParts();
    return true;
}

void CStatusBar::UpdateParts()
{
    if (m_panes.empty())
        return;
    RECT client = GetClientRect();
    int fixed = 0;
    for (const Pane& p : m_panes)
        fixed += p.stretch ? 0 : p.width;
    std::vector<int> edges;
    int x = 0;
    for (const Pane& p : m_panes) {
        int w = p.stretch ? std::max<int>(0, client.right - fixed - 16) : p.width;
        x += w;
        edges.push_back(x);
    }
    edges.back() = -1;   // the last pane runs to the size grip
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < m_panes.size(); ++i)
        ShowPaneText(i);
}

void CStatusBar::ShowPaneText(size_t index)
{
    const Pane& pane = m_panes[index];
    UINT type = pane.noBorders ? SBT_NOBORDERS : 0;
    SendMessage(SB_SETTEXTW, index | type, reinterpret_cast<LPARAM>(pane.disabled ? L"" : pane.text.c_str()));
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id)
            return static_cast<int>(i);
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].id : 0;
}

RECT CStatusBar::GetItemRect(int index) const
{
    RECT rc{};
    SendMessage(SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    return rc;
}

bool CStatusBar::SetPaneText(int index, const std::wstring& text, bool update)
{
    if (index < 0 || index >= GetCount())
        return false;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    if (pane.text == text && !pane.disabled)
        return true;
    pane.text = text;
    pane.disabled = false;
    ShowPaneText(static_cast<size_t>(index));
    if (update)
        UpdateWindow();
    return true;
}

std::wstring CStatusBar::GetPaneText(int index) const
{
    if (index < 0 || index >= GetCount())
        return {};
    return m_panes[static_cast<size_t>(index)].text;
}

void CStatusBar::SetPaneWidth(int index, int width)
{
    if (index < 0 || index >= GetCount())
        return;
    m_panes[static_cast<size_t>(index)].width = width;
    UpdateParts();
}

int CStatusBar::CalcHeight(int) const
{
    return m_nHeight;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, bool)
{
    for (int i = 0; i < GetCount(); ++i) {
        UINT id = m_panes[static_cast<size_t>(i)].id;
        if (id == ID_SEPARATOR)
            continue;
        PaneCmdUI ui(this, i, id);
        target->UpdateCmdUI(ui, false);
        // A disabled indicator shows no text (CAP while Caps Lock is off).
        if (ui.m_bEnableChanged) {
            Pane& pane = m_panes[static_cast<size_t>(i)];
            if (pane.disabled == ui.m_bEnabled) {
                pane.disabled = !ui.m_bEnabled;
                ShowPaneText(static_cast<size_t>(i));
            }
        }
    }
}

LRESULT CStatusBar::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE: {
        LRESULT r = CControlBar::WindowProc(msg, wp, lp);
        UpdateParts();
        return r;
    }
    }
    return CControlBar::WindowProc(msg, wp, lp);
}
