// Print preview in the main window: the printed pages drawn to scale over
// the frame's client area, with a bar of commands (print, next page,
// previous page, one/two pages, zoom in, zoom out, close). Each page is
// drawn once through the document's own printing code into a metafile
// made for the printer, so the preview shows what the printer would get.
#pragma once

#include <functional>

#include "framework/print.h"
#include "framework/wnd.h"

namespace printing {

// Opens the preview of doc over the client area of frame; print runs when
// the user chooses "打印(&P)..." (after the preview has closed). Returns
// false, with a message, when there is no printer to lay the pages out for.
bool ShowPrintPreview(HWND frame, CPrintable& doc, std::function<void()> print);

// Closes the preview of doc, if one is open (the document is going away).
void ClosePrintPreview(const CPrintable* doc);

// The open preview window, or null (tests).
HWND PrintPreviewWindow();

}  // namespace printing
