// Comparison windows: a class of their own, the runs of each held in a small
// table keyed by the window, and the window procedure.
#include "compare.h"
#include "pidview.h"
#include "resource.h"

#define MAX_COMPARE_WINDOWS 16

CHAR szCompareClass[] = "PIDCOMPARE";

// The runs each open comparison window shows; a slot is free while its
// window handle is NULL.
typedef struct tagCOMPAREWINDOW {
    HWND hwnd;
    COMPARESET set;
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

static BOOL RegisterCompareClass(void)
{
    static BOOL bRegistered = FALSE;
    WNDCLASSA wc;

    if (bRegistered)
        return TRUE;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = CompareWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInst;
    wc.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = szCompareClass;
    wc.lpszClassName = szCompareClass;
    bRegistered = RegisterClassA(&wc) != 0;
    return bRegistered;
}

HWND OpenCompareWindow(const COMPARESET* pSet)
{
    CHAR szCaption[80];
    COMPAREWINDOW* pWindow = FindCompareWindow(NULL);
    HWND hwnd;

    if (pWindow == NULL || !RegisterCompareClass())
        return NULL;
    pWindow->set = *pSet;
    wsprintfA(szCaption, "比較 (%d 件) - PID制御計測データ表示", pSet->nRuns);
    // The slot is taken at WM_CREATE, before the first paint.
    hwnd = CreateWindowExA(0, szCompareClass, szCaption, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                           CW_USEDEFAULT, 800, 540, NULL, NULL, hInst, pWindow);
    if (hwnd == NULL)
        return NULL;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return hwnd;
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
        switch (LOWORD(wParam)) {
        case IDM_COMPARE_PRINT:
            pWindow = FindCompareWindow(hwnd);
            if (pWindow != NULL)
                PrintCompare(hwnd, &pWindow->set);
            return 0;
        case IDM_COMPARE_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        }
        return 0;
    case WM_DESTROY:
        // Only this window goes; the program ends with the main window.
        pWindow = FindCompareWindow(hwnd);
        if (pWindow != NULL)
            pWindow->hwnd = NULL;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
