#include "framework/editview.h"

#include "res/resource.h"

void CEditView::SetText(const std::wstring& text)
{
    ::SetWindowTextW(m_hWnd, text.c_str());
}

void CEditView::GetSel(int& start, int& end) const
{
    DWORD s = 0, e = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void CEditView::SetSel(int start, int end, bool noScroll) const
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    if (!noScroll)
        SendMessage(EM_SCROLLCARET);
}

std::wstring CEditView::GetSelectedText() const
{
    int start = 0, end = 0;
    GetSel(start, end);
    if (end <= start)
        return {};
    std::wstring text = GetText();
    if (static_cast<size_t>(end) > text.size())
        end = static_cast<int>(text.size());
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

void CEditView::ReplaceSel(const std::wstring& text, bool canUndo) const
{
    SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text.c_str()));
}

void CEditView::SetTabStops(int dialogUnits)
{
    m_nTabStops = dialogUnits;
    SendMessage(EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&m_nTabStops));
    Invalidate(true);
}

bool CEditView::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.lpszClass = L"EDIT";
    cs.style = static_cast<LONG>(dwStyleDefault);
    return CView::PreCreateWindow(cs);
}

bool CEditView::CreateViewWindow(CFrameWnd* parent, UINT id)
{
    return CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"", dwStyleDefault, 0, 0, 0, 0, parent->m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

LRESULT CEditView::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        LRESULT r = Default();
        if (r == -1)
            return -1;
        SendMessage(EM_SETLIMITTEXT, nMaxSize);
        SendMessage(EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&m_nTabStops));
        return r;
    }
    }
    return CView::WindowProc(msg, wp, lp);
}

bool CEditView::HandleCommand(CmdRequest& req)
{
    auto hasSelection = [this](CCmdUI& ui) {
        int s = 0, e = 0;
        GetSel(s, e);
        ui.Enable(s != e);
    };
    switch (req.id) {
    case ID_EDIT_UNDO:
        return req.Run([this] { SendMessage(EM_UNDO); },
                       [this](CCmdUI& ui) { ui.Enable(SendMessage(EM_CANUNDO) != 0); });
    case ID_EDIT_CUT:
        return req.Run([this] { SendMessage(WM_CUT); }, hasSelection);
    case ID_EDIT_COPY:
        return req.Run([this] { SendMessage(WM_COPY); }, hasSelection);
    case ID_EDIT_CLEAR:
        return req.Run([this] { SendMessage(WM_CLEAR); }, hasSelection);
    case ID_EDIT_PASTE:
        return req.Run([this] { SendMessage(WM_PASTE); }, [](CCmdUI& ui) {
            ui.Enable(::IsClipboardFormatAvailable(CF_UNICODETEXT) ||
                      ::IsClipboardFormatAvailable(CF_TEXT));
        });
    case ID_EDIT_SELECT_ALL:
        return req.Run([this] { SetSel(0, -1, true); },
                       [this](CCmdUI& ui) { ui.Enable(GetBufferLength() != 0); });
    }
    return CView::HandleCommand(req);
}
