// The response figures command: the dialog PIDFIGURES lists the figures of
// the run on screen; its copy button puts them on the clipboard as a header
// line and a value line, tab-separated, ready to paste into a spreadsheet,
// the run's file name first so that rows of several runs tell them apart.
#include "pidview.h"

#include "figure_texts.h"
#include "resource.h"

CHAR szFigures[] = "PIDFIGURES";
// U+2015: code page 932 has this dash (0x815C), not U+2014.
static CHAR szNone[] = "―";
static CHAR szFileColumn[] = "ファイル";

// Both lines: labels and values, each of at most FIGURE_TEXT_SIZE bytes,
// and the file's name.
#define FIGURE_COPY_SIZE (1024 + MAX_PATH)

static void GetFigureTexts(FIGURETEXTS* pTexts)
{
    MEASRECORD rec;
    STEPFIGURES fig;

    GetMeasRecord(&rec);
    CalcStepFigures(&rec, &fig);
    MakeFigureTexts(&fig, pTexts);
}

static int AppendCell(LPSTR pszText, int iLen, LPCSTR pszCell, BOOL bLast)
{
    return AppendCopyCell(pszText, FIGURE_COPY_SIZE, iLen, pszCell, bLast ? "\r\n" : "\t");
}

// A figure the run does not have is an empty cell, and so is the name of
// the start values.
static void CopyFigures(HWND hDlg)
{
    FIGURETEXTS ft;
    CHAR szText[FIGURE_COPY_SIZE];
    CHAR szName[MAX_PATH];
    int iLen = 0;

    GetFigureTexts(&ft);
    szText[0] = '\0';
    iLen = AppendCell(szText, iLen, szFileColumn, FALSE);
    for (int i = 0; i < FIGURE_COUNT; i++)
        iLen = AppendCell(szText, iLen, szFigureLabels[i], i + 1 == FIGURE_COUNT);
    GetShownName(szName, sizeof(szName));
    iLen = AppendCell(szText, iLen, szName, FALSE);
    for (int i = 0; i < FIGURE_COUNT; i++)
        iLen = AppendCell(szText, iLen, ft.szValue[i], i + 1 == FIGURE_COUNT);
    CopyTextToClipboard(hDlg, szText);
}

INT_PTR CALLBACK HFiguresDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    FIGURETEXTS ft;

    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
        GetFigureTexts(&ft);
        for (int i = 0; i < FIGURE_COUNT; i++) {
            SetDlgItemTextA(hDlg, IDC_FIGLABEL + i, szFigureLabels[i]);
            SetDlgItemTextA(hDlg, IDC_FIGVALUE + i, ft.szValue[i][0] != '\0' ? ft.szValue[i] : szNone);
        }
        // The focus on 閉じる, so that Enter closes: the dialog manager would
        // give it to the first tab stop, コピー.
        SetFocus(GetDlgItem(hDlg, IDCANCEL));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_FIGCOPY:
            CopyFigures(hDlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void FiguresCommand(HWND hwnd)
{
    DialogBoxParamA(hInst, szFigures, hwnd, HFiguresDlgProc, 0);
}
