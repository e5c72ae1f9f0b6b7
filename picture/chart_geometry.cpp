// The comparison chart's geometry: its scales both ways, the cursor's step,
// and the changes of the time range that zoom and pan make.
#include "chart_geometry.h"

#include "../data/measdata.h"

#define CMP_MAX_INTERVALS 10     // grid lines on the time axis, at most, after the first
#define CMP_SECONDS_FROM_MS 2000 // the shortest range labelled in seconds
#define CHAR_WIDTH 8

static LONGLONG FloorDiv(LONGLONG llNum, LONGLONG llDen)
{
    return llNum >= 0 ? llNum / llDen : -((-llNum + llDen - 1) / llDen);
}

// Rounded to the nearest, halves up, for either sign: the x of a time before
// the range must not round towards it.
static LONGLONG RoundDiv(LONGLONG llNum, LONGLONG llDen)
{
    return FloorDiv(llNum + llDen / 2, llDen);
}

static int DigitCount(LONGLONG llValue)
{
    int n = 1;
    while (llValue >= 10) {
        llValue /= 10;
        n++;
    }
    return n;
}

// Whether a step of llStep ms gives at most ten intervals over llSpan ms,
// each wide enough for a label (as long as the one at llEnd) and a gap.
BOOL TimeStepFits(LONGLONG llSpan, LONGLONG llEnd, LONGLONG llStep)
{
    LONGLONG llLabelPx = CHAR_WIDTH * DigitCount(llStep >= 1000 ? llEnd / 1000 : llEnd);
    return llSpan / llStep <= CMP_MAX_INTERVALS && llStep * (CMP_RIGHT - CMP_LEFT) >= (llLabelPx + 16) * llSpan;
}

// The first of 1, 2, 5, 10, 20 ... ms that fits. From two seconds on the
// axis counts whole seconds (steps of 1 s and up); below, a whole-second step
// would leave a single line, so it counts milliseconds.
void ChooseTimeStep(COMPAREAXES* pAxes)
{
    static const int iMantissa[] = {1, 2, 5};
    LONGLONG llSpan = pAxes->llEndMs - pAxes->llStartMs;
    LONGLONG llDecade = llSpan >= CMP_SECONDS_FROM_MS ? 1000 : 1;

    for (int k = 0;; k = (k + 1) % 3) {
        LONGLONG llStep = llDecade * iMantissa[k];
        if (TimeStepFits(llSpan, pAxes->llEndMs, llStep)) {
            pAxes->llStepMs = llStep;
            pAxes->bSeconds = llStep >= 1000;
            return;
        }
        if (k == 2)
            llDecade *= 10;
    }
}

LONGLONG TimeToFarX(const COMPAREAXES* pAxes, LONGLONG llMs)
{
    return CMP_LEFT + RoundDiv((llMs - pAxes->llStartMs) * (CMP_RIGHT - CMP_LEFT), pAxes->llEndMs - pAxes->llStartMs);
}

int TimeToX(const COMPAREAXES* pAxes, LONGLONG llMs)
{
    LONGLONG llX = TimeToFarX(pAxes, llMs);
    return llX < -0x10000 ? -0x10000 : llX > 0x10000 ? 0x10000 : (int)llX;
}

int RpmToY(const COMPAREAXES* pAxes, LONGLONG llRpm)
{
    return pAxes->iBottom - (int)RoundDiv(llRpm * (pAxes->iBottom - CMP_TOP), 100LL * pAxes->iTopSpeed);
}

int CompareSpeedToY(const COMPAREAXES* pAxes, int iSpeed)
{
    return RpmToY(pAxes, 100LL * iSpeed);
}

LONGLONG XToTime(const COMPAREAXES* pAxes, int x)
{
    return pAxes->llStartMs + RoundDiv((LONGLONG)(x - CMP_LEFT) * (pAxes->llEndMs - pAxes->llStartMs), CMP_RIGHT - CMP_LEFT);
}

BOOL IsOnPlot(const COMPAREAXES* pAxes, int x, int y)
{
    return x >= CMP_LEFT && x <= CMP_RIGHT && y >= CMP_TOP && y <= pAxes->iBottom;
}

LONGLONG CursorAtX(const COMPAREAXES* pAxes, int x)
{
    LONGLONG llTick = pAxes->llTickMs > 0 ? pAxes->llTickMs : 1;
    LONGLONG llMs = RoundDiv(XToTime(pAxes, x), llTick) * llTick;
    LONGLONG llFirst = -FloorDiv(-pAxes->llStartMs, llTick) * llTick;
    LONGLONG llLast = FloorDiv(pAxes->llEndMs, llTick) * llTick;

    // The first and last steps within the range, where it holds any.
    if (llFirst <= llLast)
        llMs = llMs < llFirst ? llFirst : llMs > llLast ? llLast : llMs;
    return llMs;
}

int SampleAtTime(LONGLONG llMs, int iPramSamp)
{
    LONGLONG llIndex;

    if (iPramSamp <= 0)
        return -1;
    llIndex = RoundDiv(llMs, 10LL * iPramSamp);
    return llIndex >= 0 && llIndex < PID_SAMPLE_COUNT ? (int)llIndex : -1;
}

void ResetTimeRange(COMPAREAXES* pAxes)
{
    pAxes->llStartMs = 0;
    pAxes->llEndMs = pAxes->llDefaultEndMs;
    pAxes->llStepMs = pAxes->llDefaultStepMs;
    pAxes->bSeconds = pAxes->bDefaultSeconds;
}

BOOL IsDefaultRange(const COMPAREAXES* pAxes)
{
    return pAxes->llStartMs == 0 && pAxes->llEndMs == pAxes->llDefaultEndMs;
}

void SetTimeRange(COMPAREAXES* pAxes, LONGLONG llStartMs, LONGLONG llEndMs)
{
    pAxes->llStartMs = llStartMs;
    pAxes->llEndMs = llEndMs > llStartMs ? llEndMs : llStartMs + 1;
    if (IsDefaultRange(pAxes))
        ResetTimeRange(pAxes);
    else
        ChooseTimeStep(pAxes);
}

// The range's start moved to llStartMs, kept within the whole time.
static void MoveRange(COMPAREAXES* pAxes, LONGLONG llStartMs)
{
    LONGLONG llSpan = pAxes->llEndMs - pAxes->llStartMs;

    if (llStartMs > pAxes->llWholeEndMs - llSpan)
        llStartMs = pAxes->llWholeEndMs - llSpan;
    if (llStartMs < 0)
        llStartMs = 0;
    SetTimeRange(pAxes, llStartMs, llStartMs + llSpan);
}

void ZoomTime(COMPAREAXES* pAxes, LONGLONG llAnchorMs, int iSteps)
{
    LONGLONG llSpan = pAxes->llEndMs - pAxes->llStartMs, llNewSpan = llSpan;
    LONGLONG llNarrowest = CMP_MIN_SAMPLES_ACROSS * (pAxes->llTickMs > 0 ? pAxes->llTickMs : 1);

    if (llNarrowest > pAxes->llWholeEndMs)
        llNarrowest = pAxes->llWholeEndMs;
    for (; iSteps > 0 && llNewSpan > llNarrowest; iSteps--)
        llNewSpan = llNewSpan / 2 > llNarrowest ? llNewSpan / 2 : llNarrowest;
    for (; iSteps < 0 && llNewSpan < pAxes->llWholeEndMs; iSteps++)
        llNewSpan = llNewSpan * 2 < pAxes->llWholeEndMs ? llNewSpan * 2 : pAxes->llWholeEndMs;
    if (llNewSpan == llSpan)
        return;
    // The anchor's column, in pixels: the products stay far from 2^63.
    LONGLONG llColumn = TimeToFarX(pAxes, llAnchorMs) - CMP_LEFT;
    if (llColumn < 0)
        llColumn = 0;
    if (llColumn > CMP_RIGHT - CMP_LEFT)
        llColumn = CMP_RIGHT - CMP_LEFT;
    LONGLONG llStart = llAnchorMs - RoundDiv(llColumn * llNewSpan, CMP_RIGHT - CMP_LEFT);
    pAxes->llEndMs = pAxes->llStartMs + llNewSpan;
    MoveRange(pAxes, llStart);
}

void PanTime(COMPAREAXES* pAxes, LONGLONG llDeltaMs)
{
    MoveRange(pAxes, pAxes->llStartMs + llDeltaMs);
}

void ShowTime(COMPAREAXES* pAxes, LONGLONG llMs)
{
    if (llMs < pAxes->llStartMs)
        PanTime(pAxes, llMs - pAxes->llStartMs);
    else if (llMs > pAxes->llEndMs)
        PanTime(pAxes, llMs - pAxes->llEndMs);
}
