// The figures marked on the chart (表示 > 特性の目印): for each run with
// figures, its settling band (within 5 % of its target) as a light band
// under the grid, short ticks where its curve passes 10 % and 90 % of the
// target (the rise), a longer one where it settles, and a small triangle
// over its peak when it overshoots; all in the run's colour.
#include "compare_parts.h"

#include "../analysis/stepfigures.h"

#define RISE_TICK_HALF 4
#define SETTLING_TICK_HALF 8
#define LIGHT_PARTS 6 // the band's colour: one part the run's, five white

static COLORREF LightColor(COLORREF crColor)
{
    COLORREF crLight = 0;

    // Each of red, green and blue: a byte of 0x00BBGGRR.
    for (int iShift = 0; iShift < 24; iShift += 8)
        crLight |= (((crColor >> iShift & 0xFF) + (LIGHT_PARTS - 1) * 255) / LIGHT_PARTS) << iShift;
    return crLight;
}

static BOOL HasBand(const MEASRECORD* pRec)
{
    return HasTimeAxis(pRec) && pRec->iPramRotate > 0;
}

// Runs of one target share its band: the first one's colour shows.
void Disp_SettlingBands(HDC hdc, const COMPARESET* pSet, const COMPAREAXES* pAxes)
{
    int nRuns = pSet->nRuns < COMPARE_MAX_RUNS ? pSet->nRuns : COMPARE_MAX_RUNS;
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(NULL_PEN));

    for (int r = 0; r < nRuns; r++) {
        const MEASRECORD* pRec = &pSet->run[r].rec;
        BOOL bDrawn = FALSE;
        for (int k = 0; k < r; k++)
            bDrawn = bDrawn || (HasBand(&pSet->run[k].rec) && pSet->run[k].rec.iPramRotate == pRec->iPramRotate);
        if (!HasBand(pRec) || bDrawn)
            continue;
        LONGLONG llTarget = 100LL * pRec->iPramRotate;
        int yTop = RpmToY(pAxes, llTarget + llTarget / SETTLE_BAND_DIVISOR);
        int yBottom = RpmToY(pAxes, llTarget - llTarget / SETTLE_BAND_DIVISOR);
        if (yTop < CMP_TOP)
            yTop = CMP_TOP;
        if (yBottom > pAxes->iBottom - 1)
            yBottom = pAxes->iBottom - 1;
        if (yTop > yBottom)
            continue;
        HBRUSH hBrush = CreateSolidBrush(LightColor(CompareColor(r)));
        HGDIOBJ hOldBrush = SelectObject(hdc, hBrush);
        // Without an outline Rectangle fills one pixel short of its right
        // and bottom edges: the band covers the columns CMP_LEFT to CMP_RIGHT.
        Rectangle(hdc, CMP_LEFT, yTop, CMP_RIGHT + 2, yBottom + 2);
        SelectObject(hdc, hOldBrush);
        DeleteObject(hBrush);
    }
    SelectObject(hdc, hOldPen);
}

static LONGLONG SecondsToMs(double dSeconds)
{
    return (LONGLONG)(dSeconds * 1000.0 + 0.5);
}

// A vertical tick through the curve at a time and speed, when on the plot.
static void Draw_Tick(HDC hdc, const COMPAREAXES* pAxes, double dSeconds, LONGLONG llRpm, int iHalf)
{
    LONGLONG llX = TimeToFarX(pAxes, SecondsToMs(dSeconds));
    int y = RpmToY(pAxes, llRpm);

    if (llX < CMP_LEFT || llX > CMP_RIGHT)
        return;
    MoveToEx(hdc, (int)llX, y - iHalf, NULL);
    LineTo(hdc, (int)llX, y + iHalf + 1);
}

// A small triangle pointing down at the peak.
static void Draw_PeakMark(HDC hdc, const COMPAREAXES* pAxes, double dSeconds, LONGLONG llRpm)
{
    LONGLONG llX = TimeToFarX(pAxes, SecondsToMs(dSeconds));
    int y = RpmToY(pAxes, llRpm) - 3;

    if (llX < CMP_LEFT || llX > CMP_RIGHT)
        return;
    const POINT ptTriangle[] = {{(int)llX + 4, y - 7}, {(int)llX - 4, y - 7}, {(int)llX, y}};
    MoveToEx(hdc, (int)llX, y, NULL);
    PolylineTo(hdc, ptTriangle, 3);
}

void Draw_FigureMarks(HDC hdc, const COMPARESET* pSet, const COMPAREAXES* pAxes)
{
    int nRuns = pSet->nRuns < COMPARE_MAX_RUNS ? pSet->nRuns : COMPARE_MAX_RUNS;
    STEPFIGURES fig;

    for (int r = 0; r < nRuns; r++) {
        const MEASRECORD* pRec = &pSet->run[r].rec;
        if (!HasTimeAxis(pRec))
            continue;
        CalcStepFigures(pRec, &fig);
        HPEN hPen = CreatePen(PS_SOLID, 1, CompareColor(r));
        HGDIOBJ hOldPen = SelectObject(hdc, hPen);
        if (fig.bRise) {
            Draw_Tick(hdc, pAxes, fig.dRiseStartS, 10LL * pRec->iPramRotate, RISE_TICK_HALF);
            Draw_Tick(hdc, pAxes, fig.dRiseStartS + fig.dRiseS, 90LL * pRec->iPramRotate, RISE_TICK_HALF);
        }
        if (fig.bSettling) {
            int i = SampleAtTime(SecondsToMs(fig.dSettlingS), pRec->iPramSamp);
            if (i >= 0)
                Draw_Tick(hdc, pAxes, fig.dSettlingS, 100LL * pRec->cMeasData[i], SETTLING_TICK_HALF);
        }
        if (fig.bOvershoot && fig.dOvershootPct > 0.0 && fig.bPeakTime)
            Draw_PeakMark(hdc, pAxes, fig.dPeakS, fig.llPeakRpm);
        SelectObject(hdc, hOldPen);
        DeleteObject(hPen);
    }
}
