// Printing a comparison: the chart as the window shows it (its range, marks
// and cursor) drawn into a memory bitmap and copied to one page of the
// default printer, enlarged by the largest whole factor that fits the
// printable area and centred on it, so that its lines stay crisp.
#include "compare.h"
#include "pidview.h"
#include "print.h"

#include "../picture/page.h"

void PrintCompare(HWND hwnd, const COMPARESET* pSet, const CHARTVIEW* pView, LPCSTR lpszDocName)
{
    DOCINFOA di = { sizeof(DOCINFOA), lpszDocName, NULL, NULL, 0 };
    HDC hdcPrinter, hdcWindow, hdcMem;
    HBITMAP hbmChart;
    HGDIOBJ hOldBitmap;
    int iScale, iWidth, iHeight;

    hdcPrinter = StartPrintJob(hwnd, &di);
    if (hdcPrinter == NULL)
        return;
    StartPage(hdcPrinter);
    hdcWindow = GetDC(hwnd);
    hdcMem = CreateCompatibleDC(hdcWindow);
    hbmChart = CreateCompatibleBitmap(hdcWindow, PAGE_WIDTH, PAGE_HEIGHT);
    hOldBitmap = SelectObject(hdcMem, hbmChart);
    // A fresh bitmap holds no picture: white first, outline and all.
    SelectObject(hdcMem, GetStockObject(WHITE_PEN));
    Rectangle(hdcMem, 0, 0, PAGE_WIDTH, PAGE_HEIGHT);
    SelectObject(hdcMem, GetStockObject(BLACK_PEN));
    Disp_CompareView(hdcMem, pSet, pView);

    iWidth = GetDeviceCaps(hdcPrinter, HORZRES);
    iHeight = GetDeviceCaps(hdcPrinter, VERTRES);
    iScale = iWidth / PAGE_WIDTH < iHeight / PAGE_HEIGHT ? iWidth / PAGE_WIDTH : iHeight / PAGE_HEIGHT;
    if (iScale < 1)
        iScale = 1;
    StretchBlt(hdcPrinter, (iWidth - iScale * PAGE_WIDTH) / 2, (iHeight - iScale * PAGE_HEIGHT) / 2,
               iScale * PAGE_WIDTH, iScale * PAGE_HEIGHT, hdcMem, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, SRCCOPY);

    SelectObject(hdcMem, hOldBitmap);
    DeleteObject(hbmChart);
    DeleteDC(hdcMem);
    ReleaseDC(hwnd, hdcWindow);
    EndPage(hdcPrinter);
    EndPrintJob(hwnd, hdcPrinter, EndDoc(hdcPrinter));
}
