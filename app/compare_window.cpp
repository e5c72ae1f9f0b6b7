// Comparison windows: a class of their own, the runs and view of each held
// in a small table keyed by the window, and the window procedure. A tuning
// window is one of them under a class and menu of its own.
#include "chart_window.h"
#include "compare.h"
#include "pidview.h"
#include "resource.h"
#include "tune.h"

#include <string.h>

#define MAX_COMPARE_WINDOWS 16

CHAR szCompareClass[] = "PIDCOMPARE";
CHAR szTuneClass[] = "PIDTUNE";

static COMPAREWINDOW cwWindows[MAX_COMPARE_WINDOWS];

static COMPAREWINDOW* FindCompareWindow(HWND hwnd)
{
    for (int i = 0; i < MAX_COMPARE_WINDOWS; i++) {
        if (cwWindows[i].hwnd == hwnd)
            return &cwWindows[i];
    }
    return NULL;
}

const CHARTVIEW* FindChartView(HWND hwnd)
{
    COMPAREWINDOW* pWindow = hwnd != NULL ? FindCompareWindow(hwnd) : NULL;
    return pWindow != NULL ? &pWindow->view : NULL;
}

// Each class once, named after its menu.
static BOOL RegisterChartClass(LPCSTR lpszClass)
{
    static BOOL bRegistered[2] = {FALSE, FALSE};
    int i = strcmp(lpszClass, szTuneClass) == 0 ? 1 : 0;
    WNDCLASSA wc;

    if (bRegistered[i])
        return TRUE;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
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
    pWindow->view.bMarks = FALSE;
    pWindow->bTracking = FALSE;
    pWindow->xDragFrom = -1;
    ResetWindowView(pWindow);
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
    static CHAR szCopy[COMPARE_COPY_SIZE]; // kept off the stack

    wsprintfA(szCaption, "比較 (%d 件) - PID制御計測データ表示", pSet->nRuns);
    wsprintfA(szDocName, "PID制御 比較 (%d 件)", pSet->nRuns);
    MakeCompareCopy(pSet, szCopy);
    return OpenChartWindow(szCompareClass, pSet, szCaption, szDocName, szCopy);
}

// The pointer and the keys, for a window with its slot.
static LRESULT ChartInput(COMPAREWINDOW* pWindow, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        ChartMouseMove(pWindow, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_MOUSELEAVE:
        ChartMouseLeave(pWindow);
        break;
    case WM_LBUTTONDOWN:
        ChartButtonDown(pWindow, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        ChartButtonUp(pWindow);
        break;
    case WM_LBUTTONDBLCLK:
        ChartDoubleClick(pWindow, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_MOUSEWHEEL:
        ChartWheel(pWindow, GET_WHEEL_DELTA_WPARAM(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_KEYDOWN:
        // An Esc with no cursor to take away closes the window.
        if (!ChartKey(pWindow, (UINT)wParam))
            DestroyWindow(pWindow->hwnd);
        break;
    case WM_CHAR:
        ChartCharacter(pWindow, (CHAR)wParam);
        break;
    }
    return 0;
}

// The menus' commands.
static void ChartCommand(COMPAREWINDOW* pWindow, WORD wId)
{
    switch (wId) {
    case IDM_COMPARE_PRINT:
    case IDM_TUNE_PRINT:
        PrintCompare(pWindow->hwnd, &pWindow->set, &pWindow->view, pWindow->szDocName);
        return;
    case IDM_COMPARE_COPY:
    case IDM_TUNE_COPY:
        CopyChart(pWindow);
        return;
    case IDM_VIEW_MARKS:
        ChartMarksCommand(pWindow);
        return;
    case IDM_VIEW_ZOOMIN:
        ChartZoom(pWindow, 1);
        return;
    case IDM_VIEW_ZOOMOUT:
        ChartZoom(pWindow, -1);
        return;
    case IDM_VIEW_WHOLE:
        ChartZoom(pWindow, 0);
        return;
    case IDM_COMPARE_CLOSE:
    case IDM_TUNE_CLOSE:
        DestroyWindow(pWindow->hwnd);
        return;
    default:
        TuneWindowCommand(pWindow->hwnd, wId); // the tuning window's own
        return;
    }
}

LRESULT CALLBACK CompareWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PAINTSTRUCT ps;
    HDC hdc;
    COMPAREWINDOW* pWindow = msg == WM_CREATE ? NULL : FindCompareWindow(hwnd);

    switch (msg) {
    case WM_CREATE:
        pWindow = (COMPAREWINDOW*)((LPCREATESTRUCTA)lParam)->lpCreateParams;
        pWindow->hwnd = hwnd;
        return 0;
    case WM_PAINT:
        hdc = BeginPaint(hwnd, &ps);
        if (pWindow != NULL)
            Disp_CompareView(hdc, &pWindow->set, &pWindow->view);
        EndPaint(hwnd, &ps);
        return 0;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_CAPTURECHANGED:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_CHAR:
        if (pWindow == NULL)
            break;
        return ChartInput(pWindow, msg, wParam, lParam);
    case WM_COMMAND:
        if (pWindow != NULL)
            ChartCommand(pWindow, LOWORD(wParam));
        return 0;
    case WM_DESTROY:
        // Only this window goes; the program ends with the main window.
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
    ResetWindowView(pWindow);
    // Erased first: the chart draws only what it holds, and the old set's
    // legend may have reached higher.
    InvalidateRect(hwnd, NULL, TRUE);
    return TRUE;
}
