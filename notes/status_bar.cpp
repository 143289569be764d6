#include "notes/status_bar.h"

#include <commctrl.h>

#include <algorithm>

CCJStatusBar::~CCJStatusBar()
{
    DestroyControls();
}

void CCJStatusBar::DestroyControls()
{
    for (CCJStatusBarPaneControlInfo& info : m_controls)
        if (info.m_bAutoDestroy && info.m_hWnd && ::IsWindow(info.m_hWnd))
            ::DestroyWindow(info.m_hWnd);
    m_controls.clear();
}

bool CCJStatusBar::AddControl(HWND control, UINT paneId, bool autoDestroy)
{
    if (GetPanControl(paneId) || CommandToIndex(paneId) < 0)
        return false;
    CCJStatusBarPaneControlInfo info;
    info.m_hWnd = control;
    info.m_nPaneID = paneId;
    info.m_bAutoDestroy = autoDestroy;
    m_controls.push_back(info);
    PositionControls();
    Invalidate(true);
    return true;
}

CCJStatusBarPaneControlInfo* CCJStatusBar::GetPanControl(UINT paneId)
{
    for (CCJStatusBarPaneControlInfo& info : m_controls)
        if (info.m_nPaneID == paneId)
            return &info;
    return nullptr;
}

void CCJStatusBar::PositionControls()
{
    int borders[3] = {};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    for (CCJStatusBarPaneControlInfo& info : m_controls) {
        int index = CommandToIndex(info.m_nPaneID);
        if (index < 0 || !info.m_hWnd)
            continue;
        RECT rc = GetItemRect(index);
        if (!m_panes[static_cast<size_t>(index)].noBorders) {
            rc.top += borders[1];
            rc.bottom -= borders[1];
            rc.left += borders[0] + borders[2];
            rc.right -= borders[0] + borders[2];
        }
        ::MoveWindow(info.m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    }
}

bool CCJStatusBar::RebuildIndicators(const std::vector<UINT>& ids)
{
    // Texts, widths and styles of the panes that stay are kept.
    std::vector<Pane> old = m_panes;
    if (!SetIndicators(ids.data(), static_cast<int>(ids.size())))
        return false;
    for (Pane& pane : m_panes) {
        auto it = std::find_if(old.begin(), old.end(), [&](const Pane& p) { return p.id == pane.id; });
        if (it != old.end() && pane.id != ID_SEPARATOR)
            pane = *it;
    }
    UpdateParts();
    PositionControls();
    return true;
}

bool CCJStatusBar::AddIndicator(int position, UINT paneId)
{
    if (CommandToIndex(paneId) >= 0)
        return false;
    std::vector<UINT> ids;
    for (const Pane& p : m_panes)
        ids.push_back(p.id);
    position = std::clamp(position, 0, static_cast<int>(ids.size()));
    ids.insert(ids.begin() + position, paneId);
    return RebuildIndicators(ids);
}

bool CCJStatusBar::RemoveIndicator(UINT paneId)
{
    int index = CommandToIndex(paneId);
    if (index < 0)
        return false;
    auto it = std::find_if(m_controls.begin(), m_controls.end(),
                           [&](const CCJStatusBarPaneControlInfo& c) { return c.m_nPaneID == paneId; });
    if (it != m_controls.end()) {
        if (it->m_bAutoDestroy && it->m_hWnd && ::IsWindow(it->m_hWnd))
            ::DestroyWindow(it->m_hWnd);
        m_controls.erase(it);
    }
    std::vector<UINT> ids;
    for (const Pane& p : m_panes)
        if (p.id != paneId || &p - m_panes.data() != index)
            ids.push_back(p.id);
    return RebuildIndicators(ids);
}

LRESULT CCJStatusBar::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE: {
        LRESULT r = CStatusBar::WindowProc(msg, wp, lp);
        PositionControls();
        return r;
    }
    case WM_DESTROY:
        DestroyControls();
        break;
    }
    return CStatusBar::WindowProc(msg, wp, lp);
}
