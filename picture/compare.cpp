// The comparison chart: frame, axes and dotted grid in the page's manner,
// then each run's target line and curve in its colour, numbered at the
// right so that a black-and-white print still tells the curves apart.
#include "compare.h"
#include "page.h"

#include "../analysis/decimals.h"

#define CHART_FRAME_BOTTOM 312
#define TAG_HEIGHT 16

// Colours that stay apart for the common kinds of colour blindness and, for
// normal colour vision, from their neighbours (no two oranges, no blue beside
// a teal); each target line has a dash pattern of its own as well, for grey
// prints.
static const COLORREF crRun[COMPARE_MAX_RUNS] = {
    RGB(0, 0, 0),       RGB(213, 94, 0),   RGB(0, 114, 178),  RGB(17, 119, 51),
    RGB(204, 121, 167), RGB(136, 34, 85),  RGB(86, 180, 233), RGB(150, 130, 0),
};

// Dashes and gaps in style units of 3 pixels: dash, dot, dash-dot,
// dash-dot-dot (the predefined styles), long-short, short dash, sparse dot,
// dash-dot-dot-dot.
static const DWORD dwPattern1[] = {6, 2};
static const DWORD dwPattern2[] = {1, 1};
static const DWORD dwPattern3[] = {3, 2, 1, 2};
static const DWORD dwPattern4[] = {3, 1, 1, 1, 1, 1};
static const DWORD dwPattern5[] = {6, 1, 2, 1};
static const DWORD dwPattern6[] = {2, 2};
static const DWORD dwPattern7[] = {1, 3};
static const DWORD dwPattern8[] = {4, 1, 1, 1, 1, 1, 1, 1};
static const DWORD* const pdwPattern[COMPARE_MAX_RUNS] = {
    dwPattern1, dwPattern2, dwPattern3, dwPattern4, dwPattern5, dwPattern6, dwPattern7, dwPattern8,
};
static const DWORD dwPatternCount[COMPARE_MAX_RUNS] = {2, 2, 4, 6, 4, 2, 2, 8};

COLORREF CompareColor(int iRun)
{
    return crRun[iRun % COMPARE_MAX_RUNS];
}

HPEN CreateTargetPen(int iRun)
{
    LOGBRUSH lb;
    lb.lbStyle = BS_SOLID;
    lb.lbColor = CompareColor(iRun);
    lb.lbHatch = 0;
    return ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, dwPatternCount[iRun % COMPARE_MAX_RUNS],
                        pdwPattern[iRun % COMPARE_MAX_RUNS]);
}

static void Disp_CompareGrid(HDC hdc, const COMPAREAXES* pAxes)
{
    static const POINT ptAxes[] = {{CMP_LEFT, CMP_BOTTOM}, {CMP_RIGHT + 20, CMP_BOTTOM}};
    CHAR szLabel[32];
    HPEN hPen, hOldPen;
    int v, x, y, n;
    int iLabelStep = pAxes->iTopSpeed > 240 ? 2 * CMP_SPEED_STEP : CMP_SPEED_STEP; // labels 16 pixels high
    LONGLONG llTime;

    MoveToEx(hdc, CMP_LEFT, 30, NULL);
    PolylineTo(hdc, ptAxes, 2);
    Disp_Text(hdc, 20, 30, "測定回転数", NULL, 0, NULL);
    Disp_Text(hdc, 20, 50, "x1", NULL, 0, "00[rpm] ");

    hPen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    for (v = 0; v <= pAxes->iTopSpeed; v += CMP_SPEED_STEP) {
        y = CompareSpeedToY(pAxes, v);
        if (v != 0) {
            MoveToEx(hdc, CMP_LEFT, y, NULL);
            LineTo(hdc, CMP_RIGHT, y);
        }
        if (v % iLabelStep == 0)
            Disp_Text(hdc, 20, y - 10, NULL, "%3d", v, NULL);
    }
    // Whole labels, centred under their lines.
    for (llTime = 0; llTime <= pAxes->llEndMs; llTime += pAxes->llStepMs) {
        x = TimeToX(pAxes, llTime);
        if (llTime != 0) {
            MoveToEx(hdc, x, CMP_BOTTOM, NULL);
            LineTo(hdc, x, CMP_TOP);
        }
        n = FormatInteger(szLabel, pAxes->bSeconds ? llTime / 1000 : llTime);
        TextOutA(hdc, x - n * 4, CMP_BOTTOM + 10, szLabel, n);
    }
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
    Disp_Text(hdc, CMP_RIGHT + 28, CMP_BOTTOM + 10, "測定時間 ", NULL, 0, pAxes->bSeconds ? "[s] " : "[ms] ");
}

// Targets the speed axis cannot hold (below 0, above its top) have no line;
// the legend still gives them.
static void Draw_CompareTarget(HDC hdc, const COMPAREAXES* pAxes, int iRun, const MEASRECORD* pRec)
{
    HPEN hPen, hOldPen;
    int y;

    if (pRec->iPramRotate < 0 || pRec->iPramRotate > pAxes->iTopSpeed)
        return;
    hPen = CreateTargetPen(iRun);
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    y = CompareSpeedToY(pAxes, pRec->iPramRotate);
    MoveToEx(hdc, CMP_LEFT, y, NULL);
    LineTo(hdc, CMP_RIGHT, y);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
}

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

// The curve as the page draws it: a segment for each pair of measured
// samples, a run of empty ones bridged from where the curve stopped; drawn
// as one PolylineTo through those points. A sample's x is TimeToX of its
// time, carried on from sample to sample without a division each. Returns
// the y where the curve ends, or -1 when nothing was drawn.
static int Draw_CompareCurve(HDC hdc, const COMPAREAXES* pAxes, const int* yOfSpeed, int iRun,
                             const MEASRECORD* pRec)
{
    const LONGLONG llStep = (LONGLONG)pRec->iPramSamp * 10 * (CMP_RIGHT - CMP_LEFT);
    const LONGLONG llWhole = llStep / pAxes->llEndMs, llPart = llStep % pAxes->llEndMs;
    LONGLONG llX = 0, llRest = pAxes->llEndMs / 2, llNextX;
    POINT ptCurve[PID_SAMPLE_COUNT];
    DWORD nPoints = 0;
    HPEN hPen, hOldPen;
    int i, a, b;

    for (i = 1; i <= PID_SAMPLE_COUNT - 2; i++) {
        // llX: sample i's x from CMP_LEFT; llNextX: sample i + 1's.
        llX += llWhole;
        llRest += llPart;
        if (llRest >= pAxes->llEndMs) {
            llRest -= pAxes->llEndMs;
            llX++;
        }
        a = pRec->cMeasData[i];
        b = pRec->cMeasData[i + 1];
        if (a == PID_NO_SAMPLE || b == PID_NO_SAMPLE)
            continue;
        llNextX = llX + llWhole + (llRest + llPart >= pAxes->llEndMs ? 1 : 0);
        // After a gap the curve goes on from where it stopped to sample i.
        AddPoint(ptCurve, &nPoints, CMP_LEFT + (int)llX, yOfSpeed[a]);
        AddPoint(ptCurve, &nPoints, CMP_LEFT + (int)llNextX, yOfSpeed[b]);
    }
    if (nPoints == 0)
        return -1;
    hPen = CreatePen(PS_SOLID, 1, CompareColor(iRun));
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    MoveToEx(hdc, CMP_LEFT, yOfSpeed[pRec->cMeasData[0]], NULL);
    PolylineTo(hdc, ptCurve, nPoints);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
    return ptCurve[nPoints - 1].y;
}

// Each curve's number right of the grid, at the height where it ends,
// moved apart where numbers would overlap.
static void Disp_CompareTags(HDC hdc, const int* yEnd, int nRuns)
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
        t = i == n - 1 ? CMP_BOTTOM - TAG_HEIGHT - 1 : yTag[i + 1] - TAG_HEIGHT;
        if (yTag[i] > t)
            yTag[i] = t;
    }
    for (i = 0; i < n; i++) {
        wsprintfA(szTag, "%d", iOrder[i] + 1);
        TextOutA(hdc, CMP_RIGHT + 4, yTag[i], szTag, 1);
    }
}

void Disp_Compare(HDC hdc, const COMPARESET* pSet)
{
    COMPAREAXES axes;
    int yEnd[COMPARE_MAX_RUNS];
    int yOfSpeed[256]; // a sample byte's y, up to the axis's top (the empty 1 included)
    int nRuns = pSet->nRuns < COMPARE_MAX_RUNS ? pSet->nRuns : COMPARE_MAX_RUNS;
    int r, iOldMode;

    CalcCompareAxes(pSet, &axes);
    for (r = 0; r < 256 && r <= axes.iTopSpeed; r++)
        yOfSpeed[r] = CompareSpeedToY(&axes, r);
    Rectangle(hdc, 10, 20, 780, CHART_FRAME_BOTTOM);
    Disp_CompareGrid(hdc, &axes);

    // Runs of one target share its line: in the transparent mode each
    // pattern adds its dashes rather than blanking the others' with its gaps.
    iOldMode = SetBkMode(hdc, TRANSPARENT);
    for (r = 0; r < nRuns; r++) {
        if (HasTimeAxis(&pSet->run[r].rec))
            Draw_CompareTarget(hdc, &axes, r, &pSet->run[r].rec);
    }
    SetBkMode(hdc, iOldMode);
    for (r = 0; r < nRuns; r++)
        yEnd[r] = HasTimeAxis(&pSet->run[r].rec) ? Draw_CompareCurve(hdc, &axes, yOfSpeed, r, &pSet->run[r].rec) : -1;
    Disp_CompareTags(hdc, yEnd, nRuns);
    Disp_CompareLegend(hdc, pSet);
}
