// The program's entry and its main window: class, window, the file named on
// the command line, message loop with each window's keys, and the window
// procedure that hands each command (and a dropped file) to its own function.
#include "pidview.h"

#include "compare.h"
#include "print.h"
#include "resource.h"
#include "tune.h"

#include "../data/measdata.h"
#include "../picture/page.h"

#include <stdio.h>
#include <string.h>

HWND hWnd;
HINSTANCE hInst;
HDC hDC;
CHAR szMainAppName[] = "ZARVEN";
CHAR szTitle[] = "PID制御計測データ表示(モータ版用) Ver1.00";

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PAINTSTRUCT ps;

    switch (msg) {
    case WM_CREATE:
        InitMeasData();
        DragAcceptFiles(hwnd, TRUE);
        return 0;
    case WM_DESTROY:
        StopFollowing(hwnd);
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        hDC = BeginPaint(hwnd, &ps);
        Disp_Page(hDC);
        Disp_ShownPageCursor(hDC);
        EndPaint(hwnd, &ps);
        return 0;
    case WM_LBUTTONDOWN:
        PageClick(hwnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_KEYDOWN:
        if (PageKey(hwnd, (UINT)wParam))
            return 0;
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_OPEN:
            OpenCommand(hwnd);
            return 0;
        case IDM_RELOAD:
            ReloadCommand(hwnd);
            return 0;
        case IDM_AUTOUPDATE:
            AutoUpdateCommand(hwnd);
            return 0;
        case IDM_PRINT:
            PrintCommand(hwnd);
            return 0;
        case IDM_EXIT:
            DestroyWindow(hwnd);
            return 0;
        case IDM_COPYPAGE:
            CopyPageCommand(hwnd);
            return 0;
        case IDM_COPYDATA:
            CopyDataCommand(hwnd);
            return 0;
        case IDM_FIGURES:
            FiguresCommand(hwnd);
            return 0;
        case IDM_ABOUT:
            AboutCommand(hwnd);
            return 0;
        case IDM_COMPARE:
            CompareCommand(hwnd);
            return 0;
        case IDM_TUNE:
            TuneCommand(hwnd);
            return 0;
        }
        return 0;
    case WM_DROPFILES:
        DropCommand(hwnd, (HDROP)wParam);
        return 0;
    case WM_TIMER:
        if (wParam == IDT_FOLLOW)
            FollowTimer(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The keys of the window a message is for: the accelerator table named as
// its class (and its menu) is, loaded once.
static HACCEL AcceleratorsOf(HWND hwnd)
{
    static LPCSTR lpszClasses[] = {szMainAppName, szCompareClass, szTuneClass};
    static HACCEL hAccels[3];
    CHAR szClass[16];
    int i;

    if (hwnd == NULL || GetClassNameA(hwnd, szClass, sizeof(szClass)) == 0)
        return NULL;
    for (i = 0; i < 3; i++) {
        if (strcmp(szClass, lpszClasses[i]) == 0) {
            if (hAccels[i] == NULL)
                hAccels[i] = LoadAcceleratorsA(hInst, lpszClasses[i]);
            return hAccels[i];
        }
    }
    return NULL;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    static CHAR szArgument[MAX_PATH];
    WNDCLASSA wc;
    MSG msg;
    HACCEL hAccel;
    BOOL bResult;
    int cchArgument;

    (void)hPrevInstance;

    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = szMainAppName;
    wc.lpszClassName = szMainAppName;
    if (!RegisterClassA(&wc)) {
#ifndef _WIN32
        fprintf(stderr, "pidview: cannot register the window class (error %lu)\n", (unsigned long)GetLastError());
#endif
        return 1;
    }

    hInst = hInstance;
    hWnd = CreateWindowExA(0, szMainAppName, szTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                           CW_USEDEFAULT, 800, 540, NULL, NULL, hInstance, NULL);
    if (hWnd == NULL) {
#ifndef _WIN32
        fprintf(stderr, "pidview: cannot create the main window (error %lu)\n", (unsigned long)GetLastError());
#endif
        return 1;
    }
    ShowWindow(hWnd, nCmdShow);
    UpdateWindow(hWnd);
    // A file named on the command line ("Open with", or a file dropped on
    // the program) opens over the start page as if chosen with Open.
    cchArgument = GetFirstArgument(lpCmdLine, szArgument, sizeof(szArgument));
    if (cchArgument >= 0)
        LoadChosenFile(hWnd, szArgument, (UINT)cchArgument);

    while ((bResult = GetMessageA(&msg, NULL, 0, 0)) > 0) {
        hAccel = AcceleratorsOf(msg.hwnd);
        if (hAccel == NULL || !TranslateAcceleratorA(msg.hwnd, hAccel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // GetMessageA fails with -1 (no quit message to take the code from).
    return bResult == 0 ? (int)msg.wParam : 1;
}
