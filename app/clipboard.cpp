// The copy commands' way onto the clipboard: a block handed over, a text
// as CF_TEXT with the locale that reads it, and the cells such a text is
// made of.
#include "pidview.h"

#include <string.h>

// Japanese: Windows makes the Unicode text of a CF_TEXT block in the code
// page of its CF_LOCALE, and without one takes the keyboard layout's, which
// on a Japanese system typed on in English is not code page 932.
#define LCID_JAPANESE 0x0411

static HGLOBAL NewBlock(const void* pData, SIZE_T cb)
{
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, cb);
    LPVOID pMem;

    if (hMem == NULL)
        return NULL;
    pMem = GlobalLock(hMem);
    if (pMem == NULL) {
        GlobalFree(hMem);
        return NULL;
    }
    memcpy(pMem, pData, cb);
    GlobalUnlock(hMem);
    return hMem;
}

// Once set, a block is the clipboard's; one it does not take is freed.
static void SetBlock(UINT uFormat, HGLOBAL hMem)
{
    if (hMem != NULL && SetClipboardData(uFormat, hMem) == NULL)
        GlobalFree(hMem);
}

void PutOnClipboard(HWND hwnd, UINT uFormat, HGLOBAL hMem)
{
    if (!OpenClipboard(hwnd)) {
        GlobalFree(hMem);
        return;
    }
    EmptyClipboard();
    SetBlock(uFormat, hMem);
    CloseClipboard();
}

void CopyTextToClipboard(HWND hwnd, LPCSTR lpszText)
{
    CopyToClipboard(hwnd, lpszText, NULL);
}

void CopyToClipboard(HWND hwnd, LPCSTR lpszText, HGLOBAL hDib)
{
    LCID lcid = LCID_JAPANESE;
    HGLOBAL hText = NewBlock(lpszText, strlen(lpszText) + 1);

    if (hText == NULL || !OpenClipboard(hwnd)) {
        if (hText != NULL)
            GlobalFree(hText);
        if (hDib != NULL)
            GlobalFree(hDib);
        return;
    }
    EmptyClipboard();
    SetBlock(CF_TEXT, hText);
    SetBlock(CF_LOCALE, NewBlock(&lcid, sizeof(lcid)));
    SetBlock(CF_DIB, hDib);
    CloseClipboard();
}
