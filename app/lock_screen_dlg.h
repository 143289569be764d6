// CLockScreenDlg: a black window over the whole primary screen that keeps
// the keyboard and the mouse until the user unlocks it: Ctrl+Shift with a
// left click, or a right click while the left button is held. Enter or Esc
// shows how for three seconds. Only offered on Windows 95/98/ME, where the
// running-screen-saver flag also holds off Ctrl+Alt+Del and task switching.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"

class COsActions;

// The off-screen edit box that holds the focus; it offers no context menu.
class CLockEdit : public CWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

class CLockScreenDlg : public CDialog {
public:
    CLockScreenDlg(COsActions& os, CWnd* parent);
    ~CLockScreenDlg() override;

    int m_bUnlocked = 0;
    DWORD m_dwLastKeyTick = 0;
    int m_bPrevSaverRunning = 0;
    int m_nHotKeyId = 100;
    CLockEdit m_edit;

    // Whether the "how to unlock" text is shown (tests look at it).
    bool IsHintVisible() const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ToggleHint();
    void Unlock();

    COsActions& m_os;
    bool m_bCursorHidden = false;
    bool m_bHotKey = false;
    UniqueBrush m_brBlack;
};
