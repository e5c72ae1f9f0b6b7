// The comparison chart: frame, axes and dotted grid in the page's manner,
// then each run's target line and curve in its colour, numbered at the
// right so that a black-and-white print still tells the curves apart; with
// the figures' marks and the cursor where the view asks for them.
#include "compare_parts.h"

#define FRAME_ABOVE_LEGEND 8 // the chart's frame ends this far above the legend's

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

void Disp_CompareView(HDC hdc, const COMPARESET* pSet, const CHARTVIEW* pView)
{
    const COMPAREAXES* pAxes = &pView->axes;
    int yEnd[COMPARE_MAX_RUNS];
    int yOfSpeed[256]; // a sample byte's y, up to the axis's top (the empty 1 included)
    int nRuns = pSet->nRuns < COMPARE_MAX_RUNS ? pSet->nRuns : COMPARE_MAX_RUNS;
    int r, iOldMode;

    for (r = 0; r < 256 && r <= pAxes->iTopSpeed; r++)
        yOfSpeed[r] = CompareSpeedToY(pAxes, r);
    Rectangle(hdc, 10, 20, 780, pAxes->iLegendTop - FRAME_ABOVE_LEGEND);
    if (pView->bMarks)
        Disp_SettlingBands(hdc, pSet, pAxes);
    Disp_CompareGrid(hdc, pAxes);

    // Runs of one target share its line: in the transparent mode each
    // pattern adds its dashes rather than blanking the others' with its gaps.
    iOldMode = SetBkMode(hdc, TRANSPARENT);
    for (r = 0; r < nRuns; r++) {
        if (HasTimeAxis(&pSet->run[r].rec))
            Draw_CompareTarget(hdc, pAxes, r, &pSet->run[r].rec);
    }
    SetBkMode(hdc, iOldMode);
    if (pView->bCursor)
        Draw_CursorLine(hdc, pAxes, pView->llCursorMs);
    for (r = 0; r < nRuns; r++)
        yEnd[r] = HasTimeAxis(&pSet->run[r].rec) ? Draw_CompareCurve(hdc, pAxes, yOfSpeed, r, &pSet->run[r].rec) : -1;
    Disp_CompareTags(hdc, pAxes, yEnd, nRuns);
    if (pView->bMarks)
        Draw_FigureMarks(hdc, pSet, pAxes);
    if (pView->bCursor)
        Disp_CursorReadout(hdc, pSet, pAxes, pView->llCursorMs);
    Disp_CompareLegend(hdc, pSet, pAxes->iLegendTop);
}

void Disp_Compare(HDC hdc, const COMPARESET* pSet)
{
    CHARTVIEW view;

    view.bMarks = FALSE;
    ResetChartView(&view, pSet);
    Disp_CompareView(hdc, pSet, &view);
}
