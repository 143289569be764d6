#include "framework/dpi.h"

namespace dpi {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
// shcore.dll, Windows 8.1: GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y).
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <typename Fn>
Fn User32Function(const char* name)
{
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

GetDpiForMonitorFn MonitorDpiFunction()
{
    // Loaded once and kept: the program asks on every layout.
    static const GetDpiForMonitorFn fn = [] {
        HMODULE shcore = ::LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return fn;
}

int MonitorDpi(HMONITOR monitor)
{
    UINT x = 0, y = 0;
    if (GetDpiForMonitorFn fn = MonitorDpiFunction(); fn && monitor && SUCCEEDED(fn(monitor, 0, &x, &y)))
        return dpiscale::SaneDpi(static_cast<int>(y));
    return System();
}

void RescaleFont(LOGFONTW& lf, int dpi)
{
    lf.lfHeight = dpiscale::Rescale(lf.lfHeight, System(), dpi);
    lf.lfWidth = dpiscale::Rescale(lf.lfWidth, System(), dpi);
}

}  // namespace

int System()
{
    // Fixed for the life of the process on every Windows.
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int d = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : dpiscale::kBaseDpi;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        return dpiscale::SaneDpi(d);
    }();
    return dpi;
}

namespace {

constexpr wchar_t kPropDpi[] = L"Jotstack.Dpi";

}  // namespace

void Remember(HWND topLevel, int dpi)
{
    if (topLevel)
        ::SetPropW(topLevel, kPropDpi,
                   reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpiscale::SaneDpi(dpi))));
}

void Forget(HWND topLevel)
{
    if (topLevel)
        ::RemovePropW(topLevel, kPropDpi);
}

int ForWindow(HWND hwnd)
{
    if (!hwnd || !::IsWindow(hwnd))
        return System();
    if (HWND root = ::GetAncestor(hwnd, GA_ROOT)) {
        if (HANDLE told = ::GetPropW(root, kPropDpi))
            return dpiscale::SaneDpi(static_cast<int>(reinterpret_cast<INT_PTR>(told)));
    }
    static const GetDpiForWindowFn forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (forWindow) {
        if (const UINT d = forWindow(hwnd))
            return dpiscale::SaneDpi(static_cast<int>(d));
    }
    return MonitorDpi(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

int ForRect(const RECT& rc)
{
    return MonitorDpi(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST));
}

int SystemMetric(int index, int dpi)
{
    static const GetSystemMetricsForDpiFn forDpi =
        User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, static_cast<UINT>(dpiscale::SaneDpi(dpi)));
    return dpiscale::Rescale(::GetSystemMetrics(index), System(), dpi);
}

LOGFONTW StockFont(int stockObject, int dpi)
{
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(stockObject), sizeof(lf), &lf);
    RescaleFont(lf, dpi);
    return lf;
}

LOGFONTW StatusFont(int dpi)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    static const SystemParametersInfoForDpiFn forDpi =
        User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0,
                         static_cast<UINT>(dpiscale::SaneDpi(dpi))))
        return ncm.lfStatusFont;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        return StockFont(DEFAULT_GUI_FONT, dpi);
    RescaleFont(ncm.lfStatusFont, dpi);
    return ncm.lfStatusFont;
}

HCURSOR LoadCursorForDpi(HINSTANCE instance, const wchar_t* name, int dpi)
{
    const int size = SystemMetric(SM_CXCURSOR, dpi);
    return static_cast<HCURSOR>(::LoadImageW(instance, name, IMAGE_CURSOR, size, size, LR_DEFAULTCOLOR));
}

HICON LoadIconForDpi(HINSTANCE instance, const wchar_t* name, int size96, int dpi)
{
    const int size = dpiscale::Scale(size96, dpi);
    return static_cast<HICON>(::LoadImageW(instance, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace dpi
