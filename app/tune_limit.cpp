// 出力上限: the dialog PIDLIMIT, where the user gives the drive's output
// limit in the law's units, or leaves it empty for the fit to find. The
// number is read by hand: the C library's reading follows the locale,
// which Qt sets from the environment (a comma in some).
#include "tune.h"

#include "pidview.h"
#include "resource.h"

#include "../analysis/decimals.h"

static CHAR szLimitDialog[] = "PIDLIMIT";
static CHAR szLimitCaption[] = "出力上限";
static CHAR szBadLimit[] = "出力上限には正の数を入力してください (空欄: 測定から求めます)。";

#define LIMIT_TEXT_SIZE 32

// A positive decimal number, a point or a comma before its fraction,
// blanks around it; "" gives 0 (none); FALSE for anything else.
static BOOL ReadLimit(LPCSTR psz, double* pd)
{
    double d = 0.0, dScale = 1.0;
    BOOL bDigits = FALSE, bFraction = FALSE;

    while (*psz == ' ')
        psz++;
    for (; *psz != '\0' && *psz != ' '; psz++) {
        if (*psz >= '0' && *psz <= '9') {
            bDigits = TRUE;
            if (bFraction)
                dScale /= 10.0;
            d = d * (bFraction ? 1.0 : 10.0) + (*psz - '0') * (bFraction ? dScale : 1.0);
        } else if ((*psz == '.' || *psz == ',') && !bFraction) {
            bFraction = TRUE;
        } else {
            return FALSE;
        }
    }
    while (*psz == ' ')
        psz++;
    *pd = d;
    return *psz == '\0' && (bDigits ? d > 0.0 : !bFraction);
}

INT_PTR CALLBACK HLimitDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    static double* pdLimit;
    CHAR szText[LIMIT_TEXT_SIZE];
    double d;

    switch (msg) {
    case WM_INITDIALOG:
        pdLimit = (double*)lParam;
        szText[0] = '\0';
        if (*pdLimit > 0.0)
            FormatFixed(szText, *pdLimit, 3);
        SetDlgItemTextA(hDlg, IDC_LIMITVALUE, szText);
        return TRUE; // the focus on the box, its text selected
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            GetDlgItemTextA(hDlg, IDC_LIMITVALUE, szText, sizeof(szText));
            if (!ReadLimit(szText, &d) || !(d == 0.0 || IsOutputLimitValid(d))) {
                MessageBoxA(hDlg, szBadLimit, szLimitCaption, MB_ICONSTOP | MB_OK);
                SetFocus(GetDlgItem(hDlg, IDC_LIMITVALUE));
                return TRUE;
            }
            *pdLimit = d;
            EndDialog(hDlg, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

BOOL AskOutputLimit(HWND hwnd, double* pdLimit)
{
    double d = *pdLimit;

    if (DialogBoxParamA(hInst, szLimitDialog, hwnd, HLimitDlgProc, (LPARAM)&d) != IDOK)
        return FALSE;
    *pdLimit = d;
    return TRUE;
}
