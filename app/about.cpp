// The About command: the version information dialog of template PIDABOUT.
#include "pidview.h"

CHAR szHelpAbout[] = "PIDABOUT";

INT_PTR CALLBACK HAboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(hDlg, IDOK);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void AboutCommand(HWND hwnd)
{
    DialogBoxParamA(hInst, szHelpAbout, hwnd, HAboutDlgProc, 0);
}
