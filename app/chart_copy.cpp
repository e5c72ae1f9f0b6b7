// The chart windows' copy: the window's text (the comparison's figures, or
// the tuning window's suggestions), the cursor's readout after it when one
// is shown, and the chart as the window shows it as a picture.
#include "chart_window.h"
#include "figure_texts.h"
#include "pidview.h"

#include "../analysis/decimals.h"

#include <string.h>

static CHAR szTimeColumn[] = "時刻 [s]";

void MakeCompareCopy(const COMPARESET* pSet, LPSTR pszCopy)
{
    STEPFIGURES fig;
    FIGURETEXTS ft;
    int iLen = AppendFigureHeader(pszCopy, 0, COMPARE_COPY_SIZE);

    for (int r = 0; r < pSet->nRuns && r < COMPARE_MAX_RUNS; r++) {
        CalcStepFigures(&pSet->run[r].rec, &fig);
        MakeFigureTexts(&fig, &ft);
        iLen = AppendFigureLine(pszCopy, iLen, COMPARE_COPY_SIZE, pSet->run[r].szName, &ft);
    }
}

// The readout as the chart shows it: a header of the time and each curve's
// name, and a row of the time and each speed in rpm ("" where none).
static int AppendReadout(LPSTR pszCopy, int iLen, const COMPARESET* pSet, LONGLONG llCursorMs)
{
    CHAR szCell[COMPARE_NAME_SIZE + 16];
    int nRuns = pSet->nRuns < COMPARE_MAX_RUNS ? pSet->nRuns : COMPARE_MAX_RUNS;
    int r, i;

    iLen = AppendCopyCell(pszCopy, iLen, COMPARE_COPY_SIZE, szTimeColumn, nRuns == 0);
    for (r = 0; r < nRuns; r++) {
        wsprintfA(szCell, "%d: %s [rpm]", r + 1, pSet->run[r].szName);
        iLen = AppendCopyCell(pszCopy, iLen, COMPARE_COPY_SIZE, szCell, r + 1 == nRuns);
    }
    wsprintfA(szCell, "%d.%02d", (int)(llCursorMs / 1000), (int)(llCursorMs % 1000 / 10));
    iLen = AppendCopyCell(pszCopy, iLen, COMPARE_COPY_SIZE, szCell, nRuns == 0);
    for (r = 0; r < nRuns; r++) {
        i = CursorSample(&pSet->run[r].rec, llCursorMs);
        szCell[0] = '\0';
        if (i >= 0)
            wsprintfA(szCell, "%d", 100 * pSet->run[r].rec.cMeasData[i]);
        iLen = AppendCopyCell(pszCopy, iLen, COMPARE_COPY_SIZE, szCell, r + 1 == nRuns);
    }
    return iLen;
}

static void DrawWindowChart(HDC hdc, const void* pData)
{
    const COMPAREWINDOW* pWindow = (const COMPAREWINDOW*)pData;
    Disp_CompareView(hdc, &pWindow->set, &pWindow->view);
}

void CopyChart(COMPAREWINDOW* pWindow)
{
    static CHAR szText[COMPARE_COPY_SIZE];
    int iLen;

    strcpy(szText, pWindow->szCopy);
    iLen = (int)strlen(szText);
    if (pWindow->view.bCursor)
        AppendReadout(szText, iLen, &pWindow->set, pWindow->view.llCursorMs);
    CopyToClipboard(pWindow->hwnd, szText, MakePictureDIB(pWindow->hwnd, DrawWindowChart, pWindow));
}
