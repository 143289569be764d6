// CFloatDropWnd: a tiny always-on-top square on the desktop showing the
// program's icon. Whatever is dropped on it is appended to the current page
// without opening the main window. It can be dragged anywhere (the place is
// kept in the INI file), made semi-transparent, opens the main window on a
// double click and offers the tray menu on a right click.
#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "framework/dpi.h"
#include "framework/handles.h"
#include "notes/drag_edit.h"

class CFloatDropWnd : public CDialog {
public:
    static constexpr int kSize = 40;   // pixels of a 96-DPI screen, both ways
    // The side and the icon at the window's DPI.
    int Side() const;

    CFloatDropWnd();
    ~CFloatDropWnd() override;

    // Creates the modeless window from its template (desktop as parent).
    bool CreateFloat();
    // After the window was moved to its place: size and icon for the DPI
    // of the monitor there.
    void OnPlaced();
    // Transparency in percent (low 8 bits, at most 80; 0 is opaque).
    // Nothing happens without layered-window support.
    void SetFloatTransparency(int percent);

    // The visual acknowledgement of a drop, and Enter: the icon blinks.
    void OnOK() override;

protected:
    bool OnInitDialog() override;
    // Esc never closes the window.
    void OnCancel() override {}
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnPaint();
    void ModifyStyleEx(DWORD remove, DWORD add);
    // The icon drawn for the DPI (32 pixels at 96 DPI, 64 at 192).
    void LoadIconFor(int dpi);
    void OnDpiChanged(int dpi, const RECT* suggested);
    void EndFlash();

    static constexpr UINT_PTR kFlashTimer = 1;

    int m_bDragging = 0;
    POINT m_ptGrab{0, 0};
    HICON m_hIcon = nullptr;
    HICON m_hFlashIcon = nullptr;   // the icon while it is blanked by a flash
    UniqueIcon m_ownIcon;           // the icon loaded for a DPI other than 96
    int m_nIconDpi = dpiscale::kBaseDpi;
    CEditDropTarget m_dropTarget;
};
