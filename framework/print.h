// Printing the way document/view frameworks do it: a view that can print
// implements CPrintable (lay out for a printer DC, then draw one page at a
// time); the framework runs the print dialog, the job, print setup, and the
// print preview (framework/print_preview.h) with the same two steps.
#pragma once

#include <windows.h>

#include <string>

#include "framework/handles.h"

// What a print job (or a preview) knows while it runs.
struct CPrintInfo {
    bool m_bPreview = false;
    // Pages the document has (set by OnBeginPrinting), 1-based.
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 1;
    // The range asked for in the print dialog (all pages by default).
    UINT m_nFromPage = 1;
    UINT m_nToPage = 0xFFFF;
    // The page being drawn, 1-based.
    UINT m_nCurPage = 1;
    // The printable area in device units of the printer DC.
    RECT m_rectDraw{};
};

class CPrintable {
public:
    virtual ~CPrintable() = default;
    // The job's name in the print queue.
    virtual std::wstring GetPrintTitle() const = 0;
    // Lays the document out for this printer (attribute) DC and sets
    // info.m_nMaxPage. Returns false when there is nothing it can print.
    virtual bool OnBeginPrinting(HDC printerDc, CPrintInfo& info) = 0;
    // Draws page info.m_nCurPage into dc, in the printer's device units.
    virtual void OnPrint(HDC dc, CPrintInfo& info) = 0;
    virtual void OnEndPrinting(CPrintInfo& info) {}
};

// A DC from CreateDC, deleted with its scope.
struct PrinterDcTraits {
    using Handle = HDC;
    static constexpr HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};
using UniquePrinterDc = UniqueHandle<PrinterDcTraits>;

namespace printing {

// A DC for the printer chosen in print setup or the print dialog (the
// system's default printer until the user chose one); null when there is
// no printer at all.
UniquePrinterDc CreateCurrentPrinterDc();

// "打印设置": the system's print setup dialog; the choice holds for the
// rest of the session.
void ShowPrintSetup(HWND owner);

// Prints: the print dialog (skipped when direct), then one job with the
// chosen pages. Reports a missing printer and a failed job with a message
// box. Returns whether a job was completed.
bool Print(HWND owner, CPrintable& doc, bool direct);

// Runs a job on a printer DC without any dialog (also used by tests):
// lays out, prints pages from..to (clamped to the document) and ends the
// document. Returns the number of pages printed, or -1 on failure.
int PrintJob(HDC printerDc, CPrintable& doc, UINT fromPage = 1, UINT toPage = 0xFFFF);

// The printable area of a printer DC in its device units, from (0, 0).
RECT PrintableArea(HDC printerDc);

}  // namespace printing
