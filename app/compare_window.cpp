// Comparison windows: a class of their own, the runs of each held in a small
// table keyed by the window, and the window procedure. A tuning window is
// one of them under a class and menu of its own, with a text to copy.
#include "compare.h"
#include "pidview.h"
#include "resource.h"
#include "tune.h"

#include <string.h>

#define MAX_COMPARE_WINDOWS 16

CHAR szCompareClass[] = "PIDCOMPARE";
CHAR szTuneClass[] = "PIDTUNE";

// The runs each open chart window shows, the name of its print job and what
// its copy command puts on the clipboard; a slot is free while its window
// handle is NULL.
typedef struct tagCOMPAREWINDOW {
    HWND hwnd;
    COMPARESET set;
    CHAR szDocName[COMPARE_DOCNAME_SIZE];
    CHAR szCopy[COMPARE_COPY_SIZE];
} COMPAREWINDOW;

static COMPAREWINDOW cwWindows[MAX_COMPARE_WINDOWS];

static COMPAREWINDOW* FindCompareWindow(HWND hwnd)
{
    for (int i = 0; i < MAX_COMPARE_WINDOWS; i++) {
        if (cwWindows[i].hwnd == hwnd)
            return &cwWindows[i];
    }
    return NULL;
}

// Each class once, named after its menu.
static BOOL RegisterChartClass(LPCSTR lpszClass)
{
    static BOOL bRegistered[2] = {FALSE, FALSE};
    int i = strcmp(lpszClass, szTuneClass) == 0 ? 1 : 0;
    WNDCLASSA wc;

    if (bRegistered[i])
        return TRUE;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = CompareWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInst;
    wc.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = lpszClass;
    wc.lpszClassName = lpszClass;
    bRegistered[i] = RegisterClassA(&wc) != 0;
    return bRegistered[i];
}

static void CopyText(LPSTR pszDest, LPCSTR pszFrom, int iSize)
{
    strncpy(pszDest, pszFrom, (size_t)iSize - 1);
    pszDest[iSize - 1] = '\0';
}

HWND OpenChartWindow(LPCSTR lpszClass, const COMPARESET* pSet, LPCSTR lpszCaption, LPCSTR lpszDocName,
                     LPCSTR lpszCopy)
{
    COMPAREWINDOW* pWindow = FindCompareWindow(NULL);
    HWND hwnd;

    if (pWindow == NULL || !RegisterChartClass(lpszClass))
        return NULL;
    pWindow->set = *pSet;
    CopyText(pWindow->szDocName, lpszDocName, COMPARE_DOCNAME_SIZE);
    CopyText(pWindow->szCopy, lpszCopy, COMPARE_COPY_SIZE);
    // The slot is taken at WM_CREATE, before the first paint.
    hwnd = CreateWindowExA(0, lpszClass, lpszCaption, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                           CW_USEDEFAULT, 800, 540, NULL, NULL, hInst, pWindow);
    if (hwnd == NULL)
        return NULL;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return hwnd;
}

HWND OpenCompareWindow(const COMPARESET* pSet)
{
    CHAR szCaption[80];
    CHAR szDocName[COMPARE_DOCNAME_SIZE];

    wsprintfA(szCaption, "比較 (%d 件) - PID制御計測データ表示", pSet->nRuns);
    wsprintfA(szDocName, "PID制御 比較 (%d 件)", pSet->nRuns);
    return OpenChartWindow(szCompareClass, pSet, szCaption, szDocName, "");
}

LRESULT CALLBACK CompareWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PAINTSTRUCT ps;
    HDC hdc;
    COMPAREWINDOW* pWindow;

    switch (msg) {
    case WM_CREATE:
        pWindow = (COMPAREWINDOW*)((LPCREATESTRUCTA)lParam)->lpCreateParams;
        pWindow->hwnd = hwnd;
        return 0;
    case WM_PAINT:
        hdc = BeginPaint(hwnd, &ps);
        pWindow = FindCompareWindow(hwnd);
        if (pWindow != NULL)
            Disp_Compare(hdc, &pWindow->set);
        EndPaint(hwnd, &ps);
        return 0;
    case WM_COMMAND:
        pWindow = FindCompareWindow(hwnd);
        switch (LOWORD(wParam)) {
        case IDM_COMPARE_PRINT:
        case IDM_TUNE_PRINT:
            if (pWindow != NULL)
                PrintCompare(hwnd, &pWindow->set, pWindow->szDocName);
            return 0;
        case IDM_TUNE_COPY:
            if (pWindow != NULL)
                CopyTextToClipboard(hwnd, pWindow->szCopy);
            return 0;
        case IDM_COMPARE_CLOSE:
        case IDM_TUNE_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        }
        TuneWindowCommand(hwnd, LOWORD(wParam));
        return 0;
    case WM_DESTROY:
        // Only this window goes; the program ends with the main window.
        pWindow = FindCompareWindow(hwnd);
        if (pWindow != NULL)
            pWindow->hwnd = NULL;
        TuneWindowClosed(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A tuning window that follows the run on screen shows another set: its
// chart, caption and copy are replaced and it is drawn again.
BOOL ReplaceChartWindow(HWND hwnd, const COMPARESET* pSet, LPCSTR lpszCaption, LPCSTR lpszCopy)
{
    COMPAREWINDOW* pWindow = hwnd != NULL ? FindCompareWindow(hwnd) : NULL;

    if (pWindow == NULL)
        return FALSE;
    pWindow->set = *pSet;
    CopyText(pWindow->szCopy, lpszCopy, COMPARE_COPY_SIZE);
    SetWindowTextA(hwnd, lpszCaption);
    InvalidateRect(hwnd, NULL, TRUE);
    return TRUE;
}
