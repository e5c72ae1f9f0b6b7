// Step-response figures from the samples of one run. Speeds are compared in
// whole numbers (100 rpm steps, percentages scaled by 10 or 20) so that a
// sample on a threshold counts the same way on every machine.
#include "stepfigures.h"

// Seconds from the start to sample position dPos (a sample index, or a
// fraction between two) at a sampling period of iSamp x 10 ms.
static double SampleTime(double dPos, int iSamp)
{
    return dPos * (double)iSamp / 100.0;
}

static BOOL IsValid(BYTE cSample)
{
    return cSample != PID_NO_SAMPLE;
}

// The first time the speed reaches iTenths/10 of the target: at the first
// valid sample at or above it, interpolated from the valid sample before.
static BOOL ReachTime(const MEASRECORD* pRec, int iTenths, double* pdTime)
{
    LONGLONG llGoal = (LONGLONG)iTenths * pRec->iPramRotate; // in 10 rpm
    int iPrev = -1;

    for (int i = 0; i < PID_SAMPLE_COUNT; i++) {
        int y = pRec->cMeasData[i];
        if (!IsValid(pRec->cMeasData[i]))
            continue;
        if (10LL * y >= llGoal) {
            double dPos = i;
            if (iPrev >= 0) {
                // The one before was below the goal, so y rose: the divisor is positive.
                int yPrev = pRec->cMeasData[iPrev];
                double dFrac = (double)(llGoal - 10LL * yPrev) / (double)(10LL * (y - yPrev));
                dPos = iPrev + (i - iPrev) * dFrac;
            }
            *pdTime = SampleTime(dPos, pRec->iPramSamp);
            return TRUE;
        }
        iPrev = i;
    }
    return FALSE;
}

static LONGLONG AbsError(const MEASRECORD* pRec, int i)
{
    LONGLONG llError = (LONGLONG)pRec->iPramRotate - pRec->cMeasData[i];
    return llError < 0 ? -llError : llError;
}

void CalcStepFigures(const MEASRECORD* pRec, STEPFIGURES* pFig)
{
    int iSamp = pRec->iPramSamp;
    int iTarget = pRec->iPramRotate;
    BOOL bTimed = iSamp > 0;
    int iFirst = -1, iLast = -1, iPeak = -1, iOutside = -1;
    LONGLONG llIaeSum = 0; // sum of (|e_a| + |e_b|) x (b - a), e in 100 rpm
    double dT10 = 0.0, dT90 = 0.0;

    pFig->llTargetRpm = (LONGLONG)iTarget * 100;
    pFig->llKpPct = pRec->iPramProp;
    pFig->llTiMs = (LONGLONG)pRec->iPramInt * 10;
    pFig->llTdMs = (LONGLONG)pRec->iPramDiff * 10;
    pFig->llSampMs = (LONGLONG)iSamp * 10;
    pFig->llSteadyErrRpm = ((LONGLONG)iTarget - pRec->iMeasRotate) * 100;

    for (int i = 0; i < PID_SAMPLE_COUNT; i++) {
        if (!IsValid(pRec->cMeasData[i]))
            continue;
        if (iFirst < 0)
            iFirst = i;
        if (iPeak < 0 || pRec->cMeasData[i] > pRec->cMeasData[iPeak])
            iPeak = i;
        if (SETTLE_BAND_DIVISOR * AbsError(pRec, i) > iTarget)
            iOutside = i;
        // Empty slots between two valid samples are bridged, as on the chart.
        if (iLast >= 0)
            llIaeSum += (AbsError(pRec, iLast) + AbsError(pRec, i)) * (i - iLast);
        iLast = i;
    }

    pFig->bRise = iTarget > 0 && bTimed && ReachTime(pRec, 9, &dT90) && ReachTime(pRec, 1, &dT10);
    pFig->dRiseS = pFig->bRise ? dT90 - dT10 : 0.0;
    pFig->dRiseStartS = pFig->bRise ? dT10 : 0.0;

    pFig->bPeak = iPeak >= 0;
    pFig->llPeakRpm = pFig->bPeak ? (LONGLONG)pRec->cMeasData[iPeak] * 100 : 0;
    pFig->bPeakTime = pFig->bPeak && bTimed;
    pFig->dPeakS = pFig->bPeakTime ? SampleTime(iPeak, iSamp) : 0.0;

    pFig->bOvershoot = pFig->bPeak && iTarget > 0;
    pFig->dOvershootPct = 0.0;
    if (pFig->bOvershoot && pRec->cMeasData[iPeak] > iTarget)
        pFig->dOvershootPct = (double)(pRec->cMeasData[iPeak] - iTarget) * 100.0 / iTarget;

    // Settled from the first valid sample after the last one outside the band;
    // a run whose last sample is outside has not settled.
    pFig->bSettling = pFig->bPeak && iTarget > 0 && bTimed && iOutside != iLast;
    pFig->dSettlingS = 0.0;
    if (pFig->bSettling) {
        int iSettled = iFirst;
        if (iOutside >= 0) {
            iSettled = iOutside + 1;
            while (!IsValid(pRec->cMeasData[iSettled]))
                iSettled++;
        }
        pFig->dSettlingS = SampleTime(iSettled, iSamp);
    }

    // Trapezoids: (|e_a| + |e_b|) / 2 x 100 rpm over (b - a) x iSamp x 10 ms.
    pFig->bIae = pFig->bPeak && bTimed;
    pFig->dIaeRpmS = pFig->bIae ? (double)llIaeSum * iSamp / 2.0 : 0.0;
}
