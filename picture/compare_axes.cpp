// The comparison's axes at their default range: a time axis as long as the
// longest run (for a chart of a response, about three times as long as the
// response takes to settle) with grid lines at a round step, a speed axis
// high enough for every run, and the cursor's step.
#include "compare.h"

#include "../analysis/stepfigures.h"

#define CMP_EMPTY_END_MS 10000 // the time axis when no run can be placed
#define RESPONSE_SPAN_FACTOR 3
#define AXIS_ABOVE_LEGEND 40 // the time axis's labels and title, and a gap

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

// From when on the run stays within 5 % of its own final value (its last
// measured sample), in ms: a run that settles away from its target still
// settles.
static LONGLONG SettledFrom(const MEASRECORD* pRec)
{
    int iLast = LastMeasured(pRec), iFinal = pRec->cMeasData[iLast], iSettled = 0;

    for (int i = 0; i <= iLast; i++) {
        int iOff = pRec->cMeasData[i] - iFinal;
        if (pRec->cMeasData[i] != PID_NO_SAMPLE && SETTLE_BAND_DIVISOR * (iOff < 0 ? -iOff : iOff) > iFinal)
            iSettled = i + 1;
    }
    return iSettled * (LONGLONG)pRec->iPramSamp * 10;
}

// A response's axis: llEnd rounded up to a whole number of round steps,
// the first step that gives at most ten intervals with room for labels.
static void RoundUpToStep(COMPAREAXES* pAxes, LONGLONG llEnd)
{
    static const int iMantissa[] = {1, 2, 5};

    for (LONGLONG llDecade = 1;; llDecade *= 10) {
        for (int k = 0; k < 3; k++) {
            LONGLONG llStep = llDecade * iMantissa[k];
            LONGLONG llRounded = (llEnd + llStep - 1) / llStep * llStep;
            if (TimeStepFits(llRounded, llRounded, llStep)) {
                pAxes->llEndMs = llRounded;
                pAxes->llStepMs = llStep;
                pAxes->bSeconds = llStep >= 1000;
                return;
            }
        }
    }
}

void CalcCompareAxes(const COMPARESET* pSet, COMPAREAXES* pAxes)
{
    LONGLONG llEnd = 0, llWindow = 0, llSettled = 0, llTick = 0;
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
        if (SettledFrom(pRec) > llSettled)
            llSettled = SettledFrom(pRec);
        if (llTick == 0 || llPeriod < llTick)
            llTick = llPeriod;
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
    pAxes->llStartMs = 0;
    pAxes->llEndMs = llEnd;
    if (pSet->bResponseRange && llSettled > 0)
        RoundUpToStep(pAxes, RESPONSE_SPAN_FACTOR * llSettled < llEnd ? RESPONSE_SPAN_FACTOR * llSettled : llEnd);
    else
        ChooseTimeStep(pAxes);
    pAxes->llDefaultEndMs = pAxes->llEndMs;
    pAxes->llDefaultStepMs = pAxes->llStepMs;
    pAxes->bDefaultSeconds = pAxes->bSeconds;
    pAxes->llWholeEndMs = llEnd > pAxes->llEndMs ? llEnd : pAxes->llEndMs;
    pAxes->llTickMs = llTick;
    pAxes->iTopSpeed = iTop;
    pAxes->iLegendTop = LegendTop(pSet);
    pAxes->iBottom = pAxes->iLegendTop - AXIS_ABOVE_LEGEND;
}

void ResetChartView(CHARTVIEW* pView, const COMPARESET* pSet)
{
    CalcCompareAxes(pSet, &pView->axes);
    pView->bCursor = FALSE;
    pView->llCursorMs = 0;
}
