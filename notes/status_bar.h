// CCJStatusBar: a status bar whose panes can carry child controls. The main
// window's bar carries the page tab strip over its second pane; the frame
// lays the strip out itself, so the pane-control list is there for controls
// that want to follow a pane.
#pragma once

#include <vector>

#include "framework/controlbar.h"

class CCJStatusBarPaneControlInfo : public CObject {
public:
    HWND m_hWnd = nullptr;
    UINT m_nPaneID = 0;
    bool m_bAutoDestroy = true;
};

class CCJStatusBar : public CStatusBar {
public:
    ~CCJStatusBar() override;

    // Refused when the pane already has a control or is not an indicator.
    bool AddControl(HWND control, UINT paneId, bool autoDestroy = true);
    CCJStatusBarPaneControlInfo* GetPanControl(UINT paneId);
    void PositionControls();
    bool AddIndicator(int position, UINT paneId);
    bool RemoveIndicator(UINT paneId);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool RebuildIndicators(const std::vector<UINT>& ids);
    void DestroyControls();

    std::vector<CCJStatusBarPaneControlInfo> m_controls;
};
