// The Open command: pick a .PID file, load it, and redraw the page at once.
#include "pidview.h"

#include "../data/measdata.h"
#include "../picture/page.h"

#include <string.h>

CHAR szFileName[MAX_PATH];

static CHAR szFilter[] = "PID files (*.PID)\0*.PID\0All files (*.*)\0*.*\0";
static CHAR szLoadCaption[] = "データロード";
static CHAR szBadFormat[] = "ファイルフォーマットを確認。";
static CHAR szCannotOpen[] = "ファイルを開けません。";

void OpenCommand(HWND hwnd)
{
    OPENFILENAMEA ofn;
    RECT rc;

    memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = hwnd;
    ofn.lpstrFilter = szFilter;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = szFileName;
    ofn.nMaxFile = sizeof(szFileName);
    ofn.Flags = OFN_FILEMUSTEXIST;
    ofn.lpstrDefExt = "PID";

    if (GetOpenFileNameA(&ofn)) {
        switch (LoadMeasData(szFileName)) {
        case LOAD_BADFORMAT:
            MessageBoxA(hwnd, szBadFormat, szLoadCaption, MB_ICONSTOP | MB_OK);
            break;
        case LOAD_CANNOTOPEN:
            MessageBoxA(hwnd, szCannotOpen, szLoadCaption, MB_ICONSTOP | MB_OK);
            break;
        }
    }

    // The whole client area is wiped first: the page routine clears only
    // the chart frame, and a shorter number or a curve piece of the previous
    // file could stay behind.
    hDC = GetDC(hwnd);
    GetClientRect(hwnd, &rc);
    FillRect(hDC, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
    Disp_Page(hDC);
    ReleaseDC(hwnd, hDC);
}
