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
// Deletes the printer context after its document ended with iEndDoc (EndDoc's
// result), first telling the user, in a message box owned by hwnd, when the
// spooler did not take the job.
void EndPrintJob(HWND hwnd, HDC hdcPrinter, int iEndDoc);
// Draws and ends the page and the document started on hDCLPT; returns
// EndDoc's result.
int PrintPage(HWND hwnd);
void PrintCommand(HWND hwnd);
