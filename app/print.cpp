// Printing: a context for the default printer, and the Print command that
// draws the page into a memory bitmap and copies it, doubled, onto one page.
#include "print.h"

#include "../picture/page.h"
#include "pidview.h"

#include <stdlib.h>

HDC hDCLPT;
HDC hDCMem;
HBITMAP hBitmap;

static CHAR szDocName[] = "PID制御 Ver1.00";

HDC GetPrinterDC(void)
{
    DWORD dwNeeded = 0;
    DWORD dwReturned = 0;
    LPBYTE lpBuffer;
    HDC hdcPrinter = NULL;

    // First ask how much room the record and its strings take: a long
    // printer or port name does not fit a fixed buffer.
    EnumPrintersA(PRINTER_ENUM_DEFAULT, NULL, 5, NULL, 0, &dwNeeded, &dwReturned);
    if (dwNeeded == 0)
        return NULL;
    lpBuffer = (LPBYTE)malloc(dwNeeded);
    if (lpBuffer == NULL)
        return NULL;
    if (EnumPrintersA(PRINTER_ENUM_DEFAULT, NULL, 5, lpBuffer, dwNeeded, &dwNeeded, &dwReturned)
        && dwReturned > 0) {
        PRINTER_INFO_5A* lpInfo = (PRINTER_INFO_5A*)lpBuffer;
        hdcPrinter = CreateDCA(NULL, lpInfo->pPrinterName, NULL, NULL);
    }
    free(lpBuffer);
    return hdcPrinter;
}

// One page of the document started on hDCLPT: the window's page drawn into
// a memory bitmap, copied doubled. The results are not tested; the steps
// run on regardless, as a spooler may refuse any one of them.
void PrintPage(HWND hwnd)
{
    HPEN hPen;
    HGDIOBJ hOldPen;

    StartPage(hDCLPT);
    // A display context of our own: beginning to paint here would mark
    // a pending repaint of the window as done without drawing it.
    hDC = GetDC(hwnd);
    hDCMem = CreateCompatibleDC(hDC);
    hBitmap = CreateCompatibleBitmap(hDC, 800, 540);
    SelectObject(hDCMem, hBitmap);

    // The page routine draws no background outside the chart frame.
    hPen = CreatePen(PS_DASH, 1, RGB(255, 255, 255));
    hOldPen = SelectObject(hDCMem, hPen);
    Rectangle(hDCMem, 0, 0, 800, 540);
    SelectObject(hDCMem, hOldPen);
    DeleteObject(hPen);

    Disp_Page(hDCMem);
    StretchBlt(hDCLPT, 0, 0, 1590, 1060, hDCMem, 0, 0, 795, 530, SRCCOPY);

    EndPage(hDCLPT);
    EndDoc(hDCLPT);
    ReleaseDC(hwnd, hDC);
    DeleteDC(hDCMem);
    DeleteObject(hBitmap);
}

void PrintCommand(HWND hwnd)
{
    DOCINFOA di = { sizeof(DOCINFOA), szDocName, NULL, NULL, 0 };

    hDCLPT = GetPrinterDC();
    if (hDCLPT != NULL) {
        if (StartDocA(hDCLPT, &di) != -1)
            PrintPage(hwnd);
        DeleteDC(hDCLPT);
    }
}
