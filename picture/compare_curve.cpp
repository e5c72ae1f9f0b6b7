// A run's curve on the range shown, cut at the plot's edges, and the
// curves' numbers at their ends.
#include "compare_parts.h"

#define TAG_HEIGHT 16

// Adds a corner to the curve; a point on the line the last two already run
// along (a row or a column, onwards) only moves its end: the same pixels,
// fewer lines to draw.
static void AddPoint(POINT* pt, DWORD* pnPoints, int x, int y)
{
    DWORD n = *pnPoints;

    if (n > 0 && pt[n - 1].x == x && pt[n - 1].y == y)
        return;
    if (n > 1 && ((pt[n - 2].y == y && pt[n - 1].y == y && pt[n - 2].x < pt[n - 1].x && pt[n - 1].x < x)
                  || (pt[n - 2].x == x && pt[n - 1].x == x
                      && (pt[n - 2].y < pt[n - 1].y) == (pt[n - 1].y < y)))) {
        pt[n - 1].x = x;
        pt[n - 1].y = y;
        return;
    }
    pt[n].x = x;
    pt[n].y = y;
    *pnPoints = n + 1;
}

// The y at column x of the segment from (x1, y1) to (x2, y2), x1 < x2.
static int YAt(LONGLONG x, LONGLONG x1, int y1, LONGLONG x2, int y2)
{
    LONGLONG llNum = (x - x1) * (y2 - y1), llDen = x2 - x1;
    return y1 + (int)((llNum >= 0 ? llNum + llDen / 2 : llNum - llDen / 2) / llDen);
}

// The part of the segment from (x1, y1) to (x2, y2), x1 <= x2, that lies on
// the plot's columns; x far off the plot is cut at its edge.
static void AddVisible(POINT* pt, DWORD* pnPoints, LONGLONG x1, int y1, LONGLONG x2, int y2)
{
    if (x2 < CMP_LEFT || x1 > CMP_RIGHT)
        return;
    AddPoint(pt, pnPoints, x1 < CMP_LEFT ? CMP_LEFT : (int)x1, x1 < CMP_LEFT ? YAt(CMP_LEFT, x1, y1, x2, y2) : y1);
    AddPoint(pt, pnPoints, x2 > CMP_RIGHT ? CMP_RIGHT : (int)x2, x2 > CMP_RIGHT ? YAt(CMP_RIGHT, x1, y1, x2, y2) : y2);
}

// The curve as the page draws it: a segment for each pair of measured
// samples, a run of empty ones bridged from where the curve stopped; drawn
// as one PolylineTo through the points on the plot. A sample's x is
// TimeToFarX of its time, carried on from sample to sample without a
// division each: whole pixels and a remainder of the range's length.
int Draw_CompareCurve(HDC hdc, const COMPAREAXES* pAxes, const int* yOfSpeed, int iRun, const MEASRECORD* pRec)
{
    const LONGLONG llSpan = pAxes->llEndMs - pAxes->llStartMs;
    const LONGLONG llStep = (LONGLONG)pRec->iPramSamp * 10 * (CMP_RIGHT - CMP_LEFT);
    const LONGLONG llStepWhole = llStep / llSpan, llStepPart = llStep % llSpan;
    LONGLONG llX = TimeToFarX(pAxes, 0), llPart, llNextX;
    LONGLONG llPrevX = llX;
    int yPrev = yOfSpeed[pRec->cMeasData[0]];
    POINT ptCurve[2 * PID_SAMPLE_COUNT + 2];
    DWORD nPoints = 0;
    HPEN hPen, hOldPen;
    int i, a, b;

    // The remainder that goes with llX: TimeToFarX rounds (t - start) x width
    // over the range's length, halves up.
    llPart = (-pAxes->llStartMs * (CMP_RIGHT - CMP_LEFT) + llSpan / 2) - (llX - CMP_LEFT) * llSpan;
    for (i = 1; i <= PID_SAMPLE_COUNT - 2 && llPrevX <= CMP_RIGHT; i++) {
        // llX: sample i's x; llNextX: sample i + 1's.
        llX += llStepWhole;
        llPart += llStepPart;
        if (llPart >= llSpan) {
            llPart -= llSpan;
            llX++;
        }
        a = pRec->cMeasData[i];
        b = pRec->cMeasData[i + 1];
        if (a == PID_NO_SAMPLE || b == PID_NO_SAMPLE)
            continue;
        llNextX = llX + llStepWhole + (llPart + llStepPart >= llSpan ? 1 : 0);
        // After a gap the curve goes on from where it stopped to sample i.
        AddVisible(ptCurve, &nPoints, llPrevX, yPrev, llX, yOfSpeed[a]);
        AddVisible(ptCurve, &nPoints, llX, yOfSpeed[a], llNextX, yOfSpeed[b]);
        llPrevX = llNextX;
        yPrev = yOfSpeed[b];
    }
    if (nPoints < 2)
        return nPoints == 1 ? ptCurve[0].y : -1;
    hPen = CreatePen(PS_SOLID, 1, CompareColor(iRun));
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    MoveToEx(hdc, ptCurve[0].x, ptCurve[0].y, NULL);
    PolylineTo(hdc, ptCurve + 1, nPoints - 1);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
    return ptCurve[nPoints - 1].y;
}

// Each curve's number right of the grid, at the height where it ends,
// moved apart where numbers would overlap.
void Disp_CompareTags(HDC hdc, const COMPAREAXES* pAxes, const int* yEnd, int nRuns)
{
    int iOrder[COMPARE_MAX_RUNS], yTag[COMPARE_MAX_RUNS];
    int n = 0, i, j, t;
    CHAR szTag[4];

    for (i = 0; i < nRuns; i++) {
        if (yEnd[i] < 0)
            continue;
        for (j = n; j > 0 && yEnd[iOrder[j - 1]] > yEnd[i]; j--)
            iOrder[j] = iOrder[j - 1];
        iOrder[j] = i;
        n++;
    }
    for (i = 0; i < n; i++) {
        t = yEnd[iOrder[i]] - TAG_HEIGHT / 2;
        if (t < CMP_TOP - TAG_HEIGHT / 2)
            t = CMP_TOP - TAG_HEIGHT / 2;
        yTag[i] = i > 0 && t < yTag[i - 1] + TAG_HEIGHT ? yTag[i - 1] + TAG_HEIGHT : t;
    }
    // Pushed below the axis, they move back up.
    for (i = n - 1; i >= 0; i--) {
        t = i == n - 1 ? pAxes->iBottom - TAG_HEIGHT - 1 : yTag[i + 1] - TAG_HEIGHT;
        if (yTag[i] > t)
            yTag[i] = t;
    }
    for (i = 0; i < n; i++) {
        wsprintfA(szTag, "%d", iOrder[i] + 1);
        TextOutA(hdc, CMP_RIGHT + 4, yTag[i], szTag, 1);
    }
}
