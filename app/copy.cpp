// Edit > ページをコピー and データのコピー: the page as a picture, ready to
// paste into a document, and the run's samples as tab-separated text with a
// header line, ready for a spreadsheet.
#include "pidview.h"

#include "../analysis/samples.h"
#include "../picture/page.h"

#include <string.h>

// 24 bits a pixel: an 800-pixel row is 2400 bytes, already a multiple of 4.
#define PAGE_DIB_STRIDE (PAGE_WIDTH * 3)
// The header and a row a slot, each row three texts, two tabs and CR LF.
#define SAMPLE_COPY_SIZE (128 + PID_SAMPLE_COUNT * (3 * DECIMAL_TEXT_SIZE + 4))

static CHAR szSampleHeader[] = "時刻 [s]\t回転数 [rpm]\t目標回転数 [rpm]\r\n";

// A picture drawn by pfnDraw(hdc, pData) on white into a page-sized bitmap,
// its rows copied out bottom-up behind their header, as a CF_DIB holds them;
// NULL when it cannot be made.
HGLOBAL MakePictureDIB(HWND hwnd, void (*pfnDraw)(HDC, const void*), const void* pData)
{
    RECT rc = { 0, 0, PAGE_WIDTH, PAGE_HEIGHT };
    BITMAPINFO bmi;
    HGLOBAL hMem;
    LPBYTE lpMem;
    HDC hdc;
    HDC hdcMem;
    HBITMAP hbm;
    HGDIOBJ hOldBitmap;
    int iLines = 0;

    hMem = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + (SIZE_T)PAGE_DIB_STRIDE * PAGE_HEIGHT);
    if (hMem == NULL)
        return NULL;
    lpMem = (LPBYTE)GlobalLock(hMem);
    hdc = GetDC(hwnd);
    hdcMem = CreateCompatibleDC(hdc);
    hbm = CreateCompatibleBitmap(hdc, PAGE_WIDTH, PAGE_HEIGHT);
    if (lpMem != NULL && hdcMem != NULL && hbm != NULL) {
        hOldBitmap = SelectObject(hdcMem, hbm);
        FillRect(hdcMem, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
        pfnDraw(hdcMem, pData);
        // GetDIBits wants the bitmap out of every context.
        SelectObject(hdcMem, hOldBitmap);
        memset(&bmi, 0, sizeof(bmi));
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = PAGE_WIDTH;
        bmi.bmiHeader.biHeight = PAGE_HEIGHT;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 24;
        bmi.bmiHeader.biCompression = BI_RGB;
        iLines = GetDIBits(hdc, hbm, 0, PAGE_HEIGHT, lpMem + sizeof(BITMAPINFOHEADER), &bmi, DIB_RGB_COLORS);
        memcpy(lpMem, &bmi.bmiHeader, sizeof(BITMAPINFOHEADER));
    }
    if (hbm != NULL)
        DeleteObject(hbm);
    if (hdcMem != NULL)
        DeleteDC(hdcMem);
    ReleaseDC(hwnd, hdc);
    if (lpMem != NULL)
        GlobalUnlock(hMem);
    if (iLines != PAGE_HEIGHT) {
        GlobalFree(hMem);
        return NULL;
    }
    return hMem;
}

static void DrawPage(HDC hdc, const void* pData)
{
    (void)pData;
    Disp_Page(hdc);
}

// The page drawn as pidpage draws it, whole and on white.
void CopyPageCommand(HWND hwnd)
{
    HGLOBAL hMem = MakePictureDIB(hwnd, DrawPage, NULL);

    if (hMem != NULL)
        PutOnClipboard(hwnd, CF_DIB, hMem);
}

// Appends psz to the text of iLen bytes and returns its new length.
static int AppendText(LPSTR pszText, int iLen, LPCSTR psz)
{
    while (*psz != '\0' && iLen < SAMPLE_COPY_SIZE - 1)
        pszText[iLen++] = *psz++;
    pszText[iLen] = '\0';
    return iLen;
}

void CopyDataCommand(HWND hwnd)
{
    CHAR szText[SAMPLE_COPY_SIZE];
    MEASRECORD rec;
    SAMPLEROW row;
    int iLen;

    GetMeasRecord(&rec);
    iLen = AppendText(szText, 0, szSampleHeader);
    for (int i = 0; i < PID_SAMPLE_COUNT; i++) {
        MakeSampleRow(&rec, i, &row);
        iLen = AppendText(szText, iLen, row.szTime);
        iLen = AppendText(szText, iLen, "\t");
        iLen = AppendText(szText, iLen, row.szSpeed);
        iLen = AppendText(szText, iLen, "\t");
        iLen = AppendText(szText, iLen, row.szTarget);
        iLen = AppendText(szText, iLen, "\r\n");
    }
    CopyTextToClipboard(hwnd, szText);
}
