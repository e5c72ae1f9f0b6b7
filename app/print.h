// The Print command: the page, doubled, on one page of the default printer.
#pragma once

#include "../platform/win32.h"

extern HDC hDCLPT;   // printer context, during a print job only
extern HDC hDCMem;   // memory context holding the page
extern HBITMAP hBitmap;

HDC GetPrinterDC(void);
// The default printer's context with the document lpdi started on it; NULL,
// after a message box owned by hwnd, when there is no printer or it refuses.
HDC StartPrintJob(HWND hwnd, const DOCINFOA* lpdi);
// Draws and ends the page of the document started on hDCLPT.
void PrintPage(HWND hwnd);
void PrintCommand(HWND hwnd);
