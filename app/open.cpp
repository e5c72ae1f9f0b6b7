// The Open command, a dropped file, and the routine they share with the
// command line: load the chosen file, tell a refusal, name the window after
// the run, and redraw the page at once.
#include "pidview.h"
#include "tune.h"

#include "resource.h"

#include "../data/measdata.h"
#include "../picture/page.h"

#include <string.h>

CHAR szFileName[MAX_PATH];

static CHAR szFilter[] = "PID files (*.PID)\0*.PID\0All files (*.*)\0*.*\0";
static CHAR szLoadCaption[] = "データロード";
static CHAR szBadFormat[] = "ファイルフォーマットを確認。";
static CHAR szCannotOpen[] = "ファイルを開けません。";
static CHAR szDropped[MAX_PATH];

void RedrawPage(HWND hwnd)
{
    RECT rc;

    // The whole client area is wiped first: the page routine clears only
    // the chart frame, and a shorter number or a curve piece of the previous
    // file could stay behind.
    hDC = GetDC(hwnd);
    GetClientRect(hwnd, &rc);
    FillRect(hDC, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
    Disp_Page(hDC);
    Disp_ShownPageCursor(hDC);
    ReleaseDC(hwnd, hDC);
    TuneFollowRun(); // the run on screen may be another
}

void GetShownName(LPSTR lpszName, WORD cchName)
{
    if (GetFileTitleA(szPageFile, lpszName, cchName) != 0)
        lpszName[0] = '\0';
}

// "P_ONLY.PID - " before the program's title; a name the system cannot
// show leaves the title as it is.
void NameWindow(HWND hwnd)
{
    CHAR szName[MAX_PATH];
    CHAR szCaption[MAX_PATH + 64];

    GetShownName(szName, sizeof(szName));
    if (szName[0] == '\0')
        return;
    wsprintfA(szCaption, "%s - %s", szName, szTitle);
    SetWindowTextA(hwnd, szCaption);
}

// The items that act on the run on screen are greyed until there is one
// (the start values are no run): from then on there always is.
static void EnableRunItems(HWND hwnd)
{
    static const UINT uRunItems[] = {IDM_RELOAD, IDM_AUTOUPDATE, IDM_COPYDATA, IDM_FIGURES, IDM_TUNE};
    HMENU hMenu = GetMenu(hwnd);

    for (int i = 0; i < (int)(sizeof(uRunItems) / sizeof(uRunItems[0])); i++)
        EnableMenuItem(hMenu, uRunItems[i], MF_BYCOMMAND | MF_ENABLED);
}

// Every new run, opened or followed, comes without the old run's cursor.
void ShowNewRun(HWND hwnd)
{
    HidePageCursor(hwnd);
    EnableRunItems(hwnd);
    NameWindow(hwnd);
    RedrawPage(hwnd);
}

void LoadChosenFile(HWND hwnd, LPCSTR lpszPath, UINT cchPath)
{
    int iResult = LOAD_CANNOTOPEN;

    // A path longer than the buffer names no file the program can open; a
    // cut one might name another.
    if (cchPath < sizeof(szFileName)) {
        memmove(szFileName, lpszPath, cchPath);
        szFileName[cchPath] = '\0';
        iResult = LoadMeasData(szFileName);
    }
    switch (iResult) {
    case LOAD_ACCEPTED:
        FileOpenedByHand(hwnd);
        ShowNewRun(hwnd);
        return;
    case LOAD_BADFORMAT:
        MessageBoxA(hwnd, szBadFormat, szLoadCaption, MB_ICONSTOP | MB_OK);
        break;
    case LOAD_CANNOTOPEN:
        MessageBoxA(hwnd, szCannotOpen, szLoadCaption, MB_ICONSTOP | MB_OK);
        break;
    }
    RedrawPage(hwnd);
}

void OpenCommand(HWND hwnd)
{
    OPENFILENAMEA ofn;
    CHAR szLastName[MAX_PATH];

    strcpy(szLastName, szFileName);
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
        LoadChosenFile(hwnd, szFileName, (UINT)strlen(szFileName));
        return;
    }
    // A path longer than the buffer: the dialog has left the size it needed
    // in the buffer's first bytes, and the next dialog starts from the name.
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
        strcpy(szFileName, szLastName);
        MessageBoxA(hwnd, szCannotOpen, szLoadCaption, MB_ICONSTOP | MB_OK);
    }
    RedrawPage(hwnd);
}

// The first of the files dropped opens as if chosen with Open; while a
// dialog or message box is open the window takes none.
void DropCommand(HWND hwnd, HDROP hDrop)
{
    BOOL bTaken = IsWindowEnabled(hwnd) && DragQueryFileA(hDrop, 0xFFFFFFFF, NULL, 0) > 0;
    UINT cch = 0;

    if (bTaken) {
        cch = DragQueryFileA(hDrop, 0, NULL, 0);
        DragQueryFileA(hDrop, 0, szDropped, sizeof(szDropped));
    }
    DragFinish(hDrop);
    if (bTaken)
        LoadChosenFile(hwnd, szDropped, cch);
}
