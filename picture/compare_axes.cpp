// The comparison's axes: a time axis as long as the longest run with grid
// lines at a round step, and a speed axis high enough for every run.
#include "compare.h"

#define CMP_MAX_INTERVALS 10 // grid lines on the time axis, at most, after 0
#define CMP_EMPTY_END_MS 10000 // the time axis when no run can be placed
#define CMP_SECONDS_FROM_MS 2000 // the shortest axis labelled in seconds
#define CHAR_WIDTH 8

BOOL HasTimeAxis(const MEASRECORD* pRec)
{
    return pRec->iPramSamp > 0;
}

// The last sample after the first that holds a measurement, or 0.
static int LastMeasured(const MEASRECORD* pRec)
{
    for (int i = PID_SAMPLE_COUNT - 1; i >= 1; i--) {
        if (pRec->cMeasData[i] != PID_NO_SAMPLE)
            return i;
    }
    return 0;
}

// The highest speed on the chart: the fastest sample or a target that the
// speed axis can hold, in 100 rpm.
static int HighestSpeed(const MEASRECORD* pRec)
{
    int iHigh = pRec->iPramRotate > 0 && pRec->iPramRotate <= CMP_SPEED_MAX_TOP ? pRec->iPramRotate : 0;
    for (int i = 0; i < PID_SAMPLE_COUNT; i++) {
        if (pRec->cMeasData[i] != PID_NO_SAMPLE && pRec->cMeasData[i] > iHigh)
            iHigh = pRec->cMeasData[i];
    }
    return iHigh;
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

// The time step: the first of 1, 2, 5, 10, 20 ... ms that gives at most ten
// intervals, each wide enough for its label and a gap. From two seconds on
// the axis counts whole seconds (steps of 1 s and up); below, a whole-second
// step would leave a single line, so it counts milliseconds.
static void ChooseTimeStep(COMPAREAXES* pAxes)
{
    static const int iMantissa[] = {1, 2, 5};
    const LONGLONG llWidth = CMP_RIGHT - CMP_LEFT;
    LONGLONG llDecade = pAxes->llEndMs >= CMP_SECONDS_FROM_MS ? 1000 : 1;

    for (int k = 0;; k = (k + 1) % 3) {
        LONGLONG llStep = llDecade * iMantissa[k];
        BOOL bSeconds = llStep >= 1000;
        LONGLONG llLabelPx = CHAR_WIDTH * DigitCount(bSeconds ? pAxes->llEndMs / 1000 : pAxes->llEndMs);
        if (pAxes->llEndMs / llStep <= CMP_MAX_INTERVALS && llStep * llWidth >= (llLabelPx + 16) * pAxes->llEndMs) {
            pAxes->llStepMs = llStep;
            pAxes->bSeconds = bSeconds;
            return;
        }
        if (k == 2)
            llDecade *= 10;
    }
}

void CalcCompareAxes(const COMPARESET* pSet, COMPAREAXES* pAxes)
{
    LONGLONG llEnd = 0, llWindow = 0;
    int iTop = CMP_SPEED_MIN_TOP;

    // The end is the last measured sample of the longest run: the empty
    // tail of a run that stopped early is no part of it.
    for (int r = 0; r < pSet->nRuns && r < COMPARE_MAX_RUNS; r++) {
        const MEASRECORD* pRec = &pSet->run[r].rec;
        if (!HasTimeAxis(pRec))
            continue;
        LONGLONG llPeriod = (LONGLONG)pRec->iPramSamp * 10;
        LONGLONG llLast = LastMeasured(pRec) * llPeriod;
        if (llLast > llEnd)
            llEnd = llLast;
        if ((PID_SAMPLE_COUNT - 1) * llPeriod > llWindow)
            llWindow = (PID_SAMPLE_COUNT - 1) * llPeriod;
        int iHigh = HighestSpeed(pRec);
        int iRounded = (iHigh + CMP_SPEED_STEP - 1) / CMP_SPEED_STEP * CMP_SPEED_STEP;
        if (iRounded > iTop)
            iTop = iRounded;
    }
    // Runs with nothing measured after their first sample still span their
    // 256 samples, so that their targets have an axis to lie on.
    if (llEnd == 0)
        llEnd = llWindow;
    if (llEnd == 0)
        llEnd = CMP_EMPTY_END_MS;
    pAxes->llEndMs = llEnd;
    pAxes->iTopSpeed = iTop;
    ChooseTimeStep(pAxes);
}

int TimeToX(const COMPAREAXES* pAxes, LONGLONG llMs)
{
    return CMP_LEFT + (int)((llMs * (CMP_RIGHT - CMP_LEFT) + pAxes->llEndMs / 2) / pAxes->llEndMs);
}

int CompareSpeedToY(const COMPAREAXES* pAxes, int iSpeed)
{
    int iHeight = CMP_BOTTOM - CMP_TOP;
    return CMP_BOTTOM - (2 * iSpeed * iHeight + pAxes->iTopSpeed) / (2 * pAxes->iTopSpeed);
}
