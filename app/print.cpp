// Printing: a context for the default printer, a document started on it (or
// the message why not), and the Print command that draws the page into a
// memory bitmap and copies it, doubled, onto one page.
#include "print.h"

#include "../picture/page.h"
#include "pidview.h"

#include <stdlib.h>

HDC hDCLPT;
HDC hDCMem;
HBITMAP hBitmap;

static CHAR szDocName[] = "PID制御 Ver1.00";
static CHAR szPrintCaption[] = "印刷";
static CHAR szNoPrinter[] = "既定のプリンタが見つかりません。";
static CHAR szCannotStart[] = "印刷を開始できません。";

HDC GetPrinterDC(void)
{
    DWORD dwNeeded = 0;
    DWORD dwReturned = 0;
    DWORD cchName;
    LPBYTE lpBuffer;
    CHAR szPrinter[MAX_PATH];
    HDC hdcPrinter = NULL;

    // First ask how much room the record and its strings take: a long
    // printer or port name does not fit a fixed buffer.
    EnumPrintersA(PRINTER_ENUM_DEFAULT, NULL, 5, NULL, 0, &dwNeeded, &dwReturned);
    if (dwNeeded > 0) {
        lpBuffer = (LPBYTE)malloc(dwNeeded);
        if (lpBuffer == NULL)
            return NULL;
        if (EnumPrintersA(PRINTER_ENUM_DEFAULT, NULL, 5, lpBuffer, dwNeeded, &dwNeeded, &dwReturned)
            && dwReturned > 0) {
            PRINTER_INFO_5A* lpInfo = (PRINTER_INFO_5A*)lpBuffer;
            hdcPrinter = CreateDCA(NULL, lpInfo->pPrinterName, NULL, NULL);
        }
        free(lpBuffer);
        if (dwReturned > 0)
            return hdcPrinter;
    }

    // Only Windows 95, 98 and Me answer the enumeration of the default
    // printer; Windows NT and later report none and name it here instead.
    cchName = sizeof(szPrinter);
    if (GetDefaultPrinterA(szPrinter, &cchName))
        hdcPrinter = CreateDCA(NULL, szPrinter, NULL, NULL);
    return hdcPrinter;
}

// Starts the document lpdi on the default printer: its context, or NULL
// after a message that tells the user why nothing will be printed.
HDC StartPrintJob(HWND hwnd, const DOCINFOA* lpdi)
{
    HDC hdcPrinter = GetPrinterDC();

    if (hdcPrinter == NULL) {
        MessageBoxA(hwnd, szNoPrinter, szPrintCaption, MB_ICONSTOP | MB_OK);
        return NULL;
    }
    if (StartDocA(hdcPrinter, lpdi) <= 0) {
        DeleteDC(hdcPrinter);
        MessageBoxA(hwnd, szCannotStart, szPrintCaption, MB_ICONSTOP | MB_OK);
        return NULL;
    }
    return hdcPrinter;
}

// Ends the document on hdcPrinter. A job the spooler does not take at the
// end (the document could not be handed over) is told as a refused start
// is: the user would otherwise wait for a sheet that never comes.
void EndPrintJob(HWND hwnd, HDC hdcPrinter, int iEndDoc)
{
    if (iEndDoc <= 0)
        MessageBoxA(hwnd, szCannotStart, szPrintCaption, MB_ICONSTOP | MB_OK);
    DeleteDC(hdcPrinter);
}

// One page of the document started on hDCLPT: the window's page drawn into
// a memory bitmap, copied doubled. The results of the page's steps are not
// tested, as a spooler may refuse any one of them; the document's end is
// returned.
int PrintPage(HWND hwnd)
{
    int iEndDoc;

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
    iEndDoc = EndDoc(hDCLPT);
    ReleaseDC(hwnd, hDC);
    DeleteDC(hDCMem);
    DeleteObject(hBitmap);
    return iEndDoc;
}

void PrintCommand(HWND hwnd)
{
    DOCINFOA di = { sizeof(DOCINFOA), szDocName, NULL, NULL, 0 };

    hDCLPT = StartPrintJob(hwnd, &di);
    if (hDCLPT != NULL) {
        EndPrintJob(hwnd, hDCLPT, PrintPage(hwnd));
        hDCLPT = NULL;
    }
}
