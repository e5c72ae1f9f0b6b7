// Step-response figures from the samples of one run, or from a model's exact
// speeds. Stored speeds are whole numbers of 100 rpm, held exactly in a
// double, and thresholds are scaled by 10 or 20 rather than divided, so that
// a sample on a threshold counts the same way on every machine.
#include "stepfigures.h"

#include <math.h>

// Seconds from the start to sample position dPos (a sample index, or a
// fraction between two) at a sampling period of iSamp x 10 ms.
static double SampleTime(double dPos, int iSamp)
{
    return dPos * (double)iSamp / 100.0;
}

// A run's speeds, 100 rpm, with the slots that hold one.
typedef struct tagSPEEDS {
    double dSpeed[PID_SAMPLE_COUNT];
    BOOL bValid[PID_SAMPLE_COUNT];
} SPEEDS;

// The first time the speed reaches iTenths/10 of the target: at the first
// valid sample at or above it, interpolated from the valid sample before.
static BOOL ReachTime(const MEASRECORD* pRec, const SPEEDS* pSp, int iTenths, double* pdTime)
{
    double dGoal = (double)iTenths * pRec->iPramRotate; // in 10 rpm
    int iPrev = -1;

    for (int i = 0; i < PID_SAMPLE_COUNT; i++) {
        double y = pSp->dSpeed[i];
        if (!pSp->bValid[i])
            continue;
        if (10.0 * y >= dGoal) {
            double dPos = i;
            if (iPrev >= 0) {
                // The one before was below the goal, so y rose: the divisor is positive.
                double yPrev = pSp->dSpeed[iPrev];
                double dFrac = (dGoal - 10.0 * yPrev) / (10.0 * (y - yPrev));
                dPos = iPrev + (i - iPrev) * dFrac;
            }
            *pdTime = SampleTime(dPos, pRec->iPramSamp);
            return TRUE;
        }
        iPrev = i;
    }
    return FALSE;
}

static double AbsError(const MEASRECORD* pRec, const SPEEDS* pSp, int i)
{
    return fabs((double)pRec->iPramRotate - pSp->dSpeed[i]);
}

// The figures of the speeds *pSp under the settings of *pRec; dFinal is the
// speed at the end of the run (100 rpm).
static void CalcFigures(const MEASRECORD* pRec, const SPEEDS* pSp, double dFinal, STEPFIGURES* pFig)
{
    int iSamp = pRec->iPramSamp;
    int iTarget = pRec->iPramRotate;
    BOOL bTimed = iSamp > 0;
    int iFirst = -1, iLast = -1, iPeak = -1, iOutside = -1;
    double dIaeSum = 0.0; // sum of (|e_a| + |e_b|) x (b - a), e in 100 rpm
    double dT10 = 0.0, dT90 = 0.0;

    pFig->llTargetRpm = (LONGLONG)iTarget * 100;
    pFig->llKpPct = pRec->iPramProp;
    pFig->llTiMs = (LONGLONG)pRec->iPramInt * 10;
    pFig->llTdMs = (LONGLONG)pRec->iPramDiff * 10;
    pFig->llSampMs = (LONGLONG)iSamp * 10;
    pFig->llSteadyErrRpm = (LONGLONG)floor(((double)iTarget - dFinal) * 100.0 + 0.5);

    for (int i = 0; i < PID_SAMPLE_COUNT; i++) {
        if (!pSp->bValid[i])
            continue;
        if (iFirst < 0)
            iFirst = i;
        if (iPeak < 0 || pSp->dSpeed[i] > pSp->dSpeed[iPeak])
            iPeak = i;
        if (SETTLE_BAND_DIVISOR * AbsError(pRec, pSp, i) > iTarget)
            iOutside = i;
        // Empty slots between two valid samples are bridged, as on the chart.
        if (iLast >= 0)
            dIaeSum += (AbsError(pRec, pSp, iLast) + AbsError(pRec, pSp, i)) * (i - iLast);
        iLast = i;
    }

    pFig->bRise = iTarget > 0 && bTimed && ReachTime(pRec, pSp, 9, &dT90) && ReachTime(pRec, pSp, 1, &dT10);
    pFig->dRiseS = pFig->bRise ? dT90 - dT10 : 0.0;
    pFig->dRiseStartS = pFig->bRise ? dT10 : 0.0;

    pFig->bPeak = iPeak >= 0;
    pFig->llPeakRpm = pFig->bPeak ? (LONGLONG)floor(pSp->dSpeed[iPeak] * 100.0 + 0.5) : 0;
    pFig->bPeakTime = pFig->bPeak && bTimed;
    pFig->dPeakS = pFig->bPeakTime ? SampleTime(iPeak, iSamp) : 0.0;

    pFig->bOvershoot = pFig->bPeak && iTarget > 0;
    pFig->dOvershootPct = 0.0;
    if (pFig->bOvershoot && pSp->dSpeed[iPeak] > iTarget)
        pFig->dOvershootPct = (pSp->dSpeed[iPeak] - iTarget) * 100.0 / iTarget;

    // Settled from the first valid sample after the last one outside the band;
    // a run whose last sample is outside has not settled.
    pFig->bSettling = pFig->bPeak && iTarget > 0 && bTimed && iOutside != iLast;
    pFig->dSettlingS = 0.0;
    if (pFig->bSettling) {
        int iSettled = iFirst;
        if (iOutside >= 0) {
            iSettled = iOutside + 1;
            while (!pSp->bValid[iSettled])
                iSettled++;
        }
        pFig->dSettlingS = SampleTime(iSettled, iSamp);
    }

    // Trapezoids: (|e_a| + |e_b|) / 2 x 100 rpm over (b - a) x iSamp x 10 ms.
    pFig->bIae = pFig->bPeak && bTimed;
    pFig->dIaeRpmS = pFig->bIae ? dIaeSum * iSamp / 2.0 : 0.0;
}

void CalcStepFigures(const MEASRECORD* pRec, STEPFIGURES* pFig)
{
    SPEEDS sp;

    for (int i = 0; i < PID_SAMPLE_COUNT; i++) {
        sp.dSpeed[i] = pRec->cMeasData[i];
        sp.bValid[i] = pRec->cMeasData[i] != PID_NO_SAMPLE;
    }
    CalcFigures(pRec, &sp, pRec->iMeasRotate, pFig);
}

void CalcSpeedFigures(const MEASRECORD* pRec, const double* pdSpeed, STEPFIGURES* pFig)
{
    SPEEDS sp;

    for (int i = 0; i < PID_SAMPLE_COUNT; i++) {
        sp.dSpeed[i] = pdSpeed[i];
        sp.bValid[i] = TRUE;
    }
    CalcFigures(pRec, &sp, pdSpeed[PID_SAMPLE_COUNT - 1], pFig);
}
