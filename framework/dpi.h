// The DPI of the screen a window is on, and the system's sizes at that DPI.
// Windows 10 tells a per-monitor aware program each monitor's DPI; the
// functions for it are looked up by name at run time, and where they are
// missing (Windows 8.1 has only the monitor query, Vista and 7 neither) the
// system DPI stands in, which is what those systems scale to anyway.
#pragma once

#include <windows.h>

#include "framework/dpi_scale.h"

// Sent by Windows 8.1 and later when a per-monitor aware window moves to a
// monitor of another DPI (wParam: the new DPI twice; lParam: the suggested
// window rectangle). Named here as well for older SDK headers.
inline constexpr UINT kWmDpiChanged = 0x02E0;

namespace dpi {

// The DPI GDI converts points with on this screen (LOGPIXELSY of the
// screen; the DPI of the primary monitor at logon on Windows 10). Fonts of
// the framework and the font dialog's sizes are made at this DPI.
int System();

// The DPI of the monitor the window is on (the system DPI where the system
// has no per-monitor DPI): the DPI its top-level window was last told by
// WM_DPICHANGED, else what the system says of the window now. A null or
// dead window gives the system DPI.
int ForWindow(HWND hwnd);
// Keeps the DPI a top-level window was told by WM_DPICHANGED, for itself
// and its children (Windows 8.1 tells it no other way); Forget before the
// window goes.
void Remember(HWND topLevel, int dpi);
void Forget(HWND topLevel);
// The DPI of the monitor nearest to a rectangle in screen pixels.
int ForRect(const RECT& rc);

// Lengths of a 96-DPI screen at dpi (dpiscale::Scale).
inline int Scale(int length96, int dpi) { return dpiscale::Scale(length96, dpi); }

// A system metric (GetSystemMetrics index) as it is at dpi.
int SystemMetric(int index, int dpi);
// The stock or non-client font's description made for dpi: a font of the
// framework that the system made at the system DPI, scaled.
LOGFONTW StockFont(int stockObject, int dpi);
LOGFONTW StatusFont(int dpi);

// A cursor or icon resource in the size the system shows it at dpi (the
// image nearest to that size; the system scales when none fits).
HCURSOR LoadCursorForDpi(HINSTANCE instance, const wchar_t* name, int dpi);
HICON LoadIconForDpi(HINSTANCE instance, const wchar_t* name, int size96, int dpi);

}  // namespace dpi
