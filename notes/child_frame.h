// CChildFrame: the frame of a page that is on screen. Pages stay maximised
// behind the tab strip; the user cannot minimise, restore or close them
// (only the document closes a frame, through ClosePage: a deleted page's,
// or one whose page has not been looked at for a while).
#pragma once

#include "framework/frame.h"

class CChildFrame : public CMDIChildWnd {
public:
    void ActivateFrame(int cmdShow = -1) override;
    void OnUpdateFrameTitle(bool addToTitle) override;
    // Closes this page's frame and view.
    void ClosePage();
    // Only a maximised page lays its view out (see the .cpp).
    void RecalcLayout() override;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    bool m_bAllowClose = false;
};
