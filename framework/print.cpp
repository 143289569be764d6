#include "framework/print.h"

#include <commdlg.h>

#include <algorithm>

#include "framework/text_pages.h"

namespace {

// A global memory block (DEVMODE, DEVNAMES) owned by the program.
struct GlobalTraits {
    using Handle = HGLOBAL;
    static constexpr HGLOBAL Invalid() { return nullptr; }
    static bool IsValid(HGLOBAL h) { return h != nullptr; }
    static void Close(HGLOBAL h) { ::GlobalFree(h); }
};
using UniqueGlobal = UniqueHandle<GlobalTraits>;

// The printer the user chose (print setup or the print dialog); empty until
// then, which means the system's default printer.
struct PrinterChoice {
    UniqueGlobal devMode;
    UniqueGlobal devNames;
};

PrinterChoice& Choice()
{
    static PrinterChoice choice;
    return choice;
}

// Takes over the handles a common dialog left in its structure.
void KeepChoice(HGLOBAL devMode, HGLOBAL devNames)
{
    PrinterChoice& c = Choice();
    if (devMode != c.devMode.Get()) {
        c.devMode.Release();   // the dialog freed or reused the old block
        c.devMode.Reset(devMode);
    }
    if (devNames != c.devNames.Get()) {
        c.devNames.Release();
        c.devNames.Reset(devNames);
    }
}

// Makes sure a choice exists: the default printer's settings.
bool EnsureChoice()
{
    PrinterChoice& c = Choice();
    if (c.devNames)
        return true;
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT;
    if (!::PrintDlgW(&pd))
        return false;
    KeepChoice(pd.hDevMode, pd.hDevNames);
    return c.devNames.Get() != nullptr;
}

// The print dialog (or print setup) opening on the printer chosen so far.
PRINTDLGW DialogOnChoice(HWND owner, DWORD flags)
{
    EnsureChoice();
    PrinterChoice& c = Choice();
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = c.devMode.Get();
    pd.hDevNames = c.devNames.Get();
    pd.Flags = flags;
    return pd;
}

void ReportNoPrinter(HWND owner)
{
    ::MessageBoxW(owner, L"抱歉，没有找到打印机。请先安装一台打印机。", L"Jotstack",
                  MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

namespace printing {

UniquePrinterDc CreateCurrentPrinterDc()
{
    if (!EnsureChoice())
        return UniquePrinterDc();
    PrinterChoice& c = Choice();
    auto* names = static_cast<DEVNAMES*>(::GlobalLock(c.devNames.Get()));
    if (!names)
        return UniquePrinterDc();
    const wchar_t* base = reinterpret_cast<const wchar_t*>(names);
    auto* mode = c.devMode ? static_cast<DEVMODEW*>(::GlobalLock(c.devMode.Get())) : nullptr;
    HDC dc = ::CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode)
        ::GlobalUnlock(c.devMode.Get());
    ::GlobalUnlock(c.devNames.Get());
    return UniquePrinterDc(dc);
}

void ShowPrintSetup(HWND owner)
{
    PRINTDLGW pd = DialogOnChoice(owner, PD_PRINTSETUP);
    BOOL ok = ::PrintDlgW(&pd);
    KeepChoice(pd.hDevMode, pd.hDevNames);
    if (!ok && ::CommDlgExtendedError() != 0)
        ReportNoPrinter(owner);
}

RECT PrintableArea(HDC printerDc)
{
    return RECT{0, 0, ::GetDeviceCaps(printerDc, HORZRES), ::GetDeviceCaps(printerDc, VERTRES)};
}

int PrintJob(HDC dc, CPrintable& doc, UINT fromPage, UINT toPage)
{
    CPrintInfo info;
    info.m_rectDraw = PrintableArea(dc);
    if (!doc.OnBeginPrinting(dc, info))
        return -1;
    // A start page past the end or a range written backwards would give
    // a job without pages: a blank sheet where the user asked for text.
    const std::vector<unsigned> pages =
        textpages::PagesToPrint(fromPage, toPage, info.m_nMinPage, info.m_nMaxPage);
    if (pages.empty()) {
        doc.OnEndPrinting(info);
        return 0;
    }
    std::wstring title = doc.GetPrintTitle();
    DOCINFOW di{};
    di.cbSize = sizeof di;
    di.lpszDocName = title.c_str();
    if (::StartDocW(dc, &di) <= 0) {
        doc.OnEndPrinting(info);
        return -1;
    }
    int printed = 0;
    for (UINT page : pages) {
        info.m_nCurPage = page;
        if (::StartPage(dc) <= 0) {
            ::AbortDoc(dc);
            doc.OnEndPrinting(info);
            return -1;
        }
        doc.OnPrint(dc, info);
        if (::EndPage(dc) <= 0) {
            ::AbortDoc(dc);
            doc.OnEndPrinting(info);
            return -1;
        }
        ++printed;
    }
    ::EndDoc(dc);
    doc.OnEndPrinting(info);
    return printed;
}

bool Print(HWND owner, CPrintable& doc, bool direct)
{
    UINT from = 1, to = 0xFFFF;
    UniquePrinterDc dc;
    if (direct) {
        dc = CreateCurrentPrinterDc();
    } else {
        PRINTDLGW pd = DialogOnChoice(owner, PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE);
        pd.nMinPage = 1;
        pd.nMaxPage = 0xFFFF;
        pd.nFromPage = 1;
        pd.nToPage = 0xFFFF;
        pd.nCopies = 1;
        BOOL ok = ::PrintDlgW(&pd);
        KeepChoice(pd.hDevMode, pd.hDevNames);
        if (!ok) {
            if (::CommDlgExtendedError() != 0)
                ReportNoPrinter(owner);
            return false;
        }
        dc.Reset(pd.hDC);
        if (pd.Flags & PD_PAGENUMS) {
            from = pd.nFromPage;
            to = pd.nToPage;
        }
    }
    if (!dc) {
        ReportNoPrinter(owner);
        return false;
    }
    HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    int printed = PrintJob(dc.Get(), doc, from, to);
    ::SetCursor(old);
    if (printed < 0) {
        ::MessageBoxW(owner, L"抱歉，打印没有成功。", L"Jotstack", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

}  // namespace printing
