// The main window's cursor: a click on the chart shows it at the nearest
// sample, with a readout of its time, speed and target over the page; Esc,
// a click off the chart or another file opened takes it away; the arrows,
// Home and End move it. It is drawn after the page on the window only.
#include "pidview.h"

#include "../data/measdata.h"
#include "../picture/page.h"

static BOOL bPageCursor;
static int iPageCursor;

// The page is drawn again over the old cursor: the chart frame is wiped.
static void PlacePageCursor(HWND hwnd, BOOL bShown, int iSample)
{
    if (bPageCursor == bShown && (!bShown || iPageCursor == iSample))
        return;
    bPageCursor = bShown;
    iPageCursor = iSample;
    InvalidateRect(hwnd, NULL, FALSE);
}

void PageClick(HWND hwnd, int x, int y)
{
    int iSample;

    if (PageSampleAt(x, y, &iSample))
        PlacePageCursor(hwnd, TRUE, iSample);
    else
        PlacePageCursor(hwnd, FALSE, 0);
}

BOOL PageKey(HWND hwnd, UINT uKey)
{
    int iLast = PID_SAMPLE_COUNT - 1;

    switch (uKey) {
    case VK_ESCAPE:
        PlacePageCursor(hwnd, FALSE, 0);
        return TRUE;
    case VK_LEFT:
        PlacePageCursor(hwnd, TRUE, !bPageCursor ? iLast : iPageCursor > 0 ? iPageCursor - 1 : 0);
        return TRUE;
    case VK_RIGHT:
        PlacePageCursor(hwnd, TRUE, !bPageCursor ? 0 : iPageCursor < iLast ? iPageCursor + 1 : iLast);
        return TRUE;
    case VK_HOME:
        PlacePageCursor(hwnd, TRUE, 0);
        return TRUE;
    case VK_END:
        PlacePageCursor(hwnd, TRUE, iLast);
        return TRUE;
    }
    return FALSE;
}

void HidePageCursor(HWND hwnd)
{
    PlacePageCursor(hwnd, FALSE, 0);
}

void Disp_ShownPageCursor(HDC hdc)
{
    if (bPageCursor)
        Disp_PageCursor(hdc, iPageCursor);
}
