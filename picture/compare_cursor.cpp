// The comparison chart's cursor: a grey line at its time under the curves,
// a small square on each curve at the sample it reads, and above the plot
// a row with the time and each curve's speed beside its legend number ("―"
// for an empty sample or none at that time).
#include "compare_parts.h"

#include "../analysis/decimals.h"

#include <string.h>

#define CURSOR_COLOR RGB(128, 128, 128)
#define READOUT_X 112
#define READOUT_Y 56
#define READOUT_RIGHT 776
#define CHAR_WIDTH 8
#define ELLIPSIS "…"

void Draw_CursorLine(HDC hdc, const COMPAREAXES* pAxes, LONGLONG llCursorMs)
{
    LONGLONG llX = TimeToFarX(pAxes, llCursorMs);
    HPEN hPen, hOldPen;

    if (llX < CMP_LEFT || llX > CMP_RIGHT)
        return;
    hPen = CreatePen(PS_SOLID, 1, CURSOR_COLOR);
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    MoveToEx(hdc, (int)llX, CMP_TOP, NULL);
    LineTo(hdc, (int)llX, pAxes->iBottom);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
}

int CursorSample(const MEASRECORD* pRec, LONGLONG llCursorMs)
{
    int i = HasTimeAxis(pRec) ? SampleAtTime(llCursorMs, pRec->iPramSamp) : -1;
    return i >= 0 && pRec->cMeasData[i] != PID_NO_SAMPLE ? i : -1;
}

// A 5 x 5 outline in the run's colour around the sample's point.
static void Draw_CursorPoint(HDC hdc, const COMPAREAXES* pAxes, int iRun, const MEASRECORD* pRec, int i)
{
    LONGLONG llX = TimeToFarX(pAxes, (LONGLONG)i * pRec->iPramSamp * 10);
    int y = CompareSpeedToY(pAxes, pRec->cMeasData[i]);
    HPEN hPen, hOldPen;

    if (llX < CMP_LEFT || llX > CMP_RIGHT)
        return;
    const POINT ptSquare[] = {{(int)llX + 2, y - 2}, {(int)llX + 2, y + 2}, {(int)llX - 2, y + 2}, {(int)llX - 2, y - 2}};
    hPen = CreatePen(PS_SOLID, 1, CompareColor(iRun));
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    MoveToEx(hdc, (int)llX - 2, y - 2, NULL);
    PolylineTo(hdc, ptSquare, 4);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
}

// Appends a piece to the row when it fits before READOUT_RIGHT with room
// for the mark of what is left out; returns whether it did.
static BOOL AppendPiece(LPSTR szRow, int* pn, LPCSTR lpszPiece)
{
    int n = (int)strlen(lpszPiece);

    if (READOUT_X + CHAR_WIDTH * (*pn + n + 2) > READOUT_RIGHT)
        return FALSE;
    memcpy(szRow + *pn, lpszPiece, (size_t)n + 1);
    *pn += n;
    return TRUE;
}

void Disp_CursorReadout(HDC hdc, const COMPARESET* pSet, const COMPAREAXES* pAxes, LONGLONG llCursorMs)
{
    CHAR szRow[128], szPiece[DECIMAL_TEXT_SIZE + 16];
    int nRuns = pSet->nRuns < COMPARE_MAX_RUNS ? pSet->nRuns : COMPARE_MAX_RUNS;
    int n = 0, r, i;
    BOOL bFits = TRUE;

    szRow[0] = '\0';
    wsprintfA(szPiece, "時刻 ");
    FormatSeconds(szPiece + strlen(szPiece), llCursorMs, 2);
    strcat(szPiece, " s ");
    bFits = AppendPiece(szRow, &n, szPiece);
    for (r = 0; r < nRuns; r++) {
        const MEASRECORD* pRec = &pSet->run[r].rec;
        i = CursorSample(pRec, llCursorMs);
        if (i >= 0) {
            Draw_CursorPoint(hdc, pAxes, r, pRec, i);
            wsprintfA(szPiece, " %d:%d", r + 1, 100 * pRec->cMeasData[i]);
        } else {
            wsprintfA(szPiece, " %d:%s", r + 1, NO_FIGURE_TEXT);
        }
        bFits = bFits && AppendPiece(szRow, &n, szPiece);
    }
    bFits = bFits && AppendPiece(szRow, &n, " [rpm]");
    if (!bFits) {
        memcpy(szRow + n, ELLIPSIS, 2); // AppendPiece kept the room
        n += 2;
    }
    TextOutA(hdc, READOUT_X, READOUT_Y, szRow, n);
}
