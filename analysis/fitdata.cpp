// The run as the motor's fit sees it: the valid samples, and the outputs the
// controller gave from its first sample on, recomputed from them under the
// law, since the file keeps only the last one. Also the model stepped over
// one period.
#include "motorfit.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#define MIN_RISE 3 // the speed moved by fewer steps of 100 rpm: nothing to fit

// One lag over a period, its input delayed by a share f of one more.
static void StepLag(double dTau, double f, double* pa, double* pb1, double* pb2)
{
    double c = exp(-(1.0 - f) / dTau);

    *pa = exp(-1.0 / dTau);
    *pb1 = 1.0 - c;
    *pb2 = c - *pa;
}

void Discretise(double dTau, double dTau2, double dDelay, DISCRETE* p)
{
    double f;

    p->d = (int)floor(dDelay);
    f = dDelay - p->d;
    StepLag(dTau, f, &p->a, &p->b1, &p->b2);
    p->a2 = p->b21 = p->b22 = p->c2 = 0.0;
    p->c1 = 1.0;
    if (!(dTau2 > 0.0))
        return;
    StepLag(dTau2, f, &p->a2, &p->b21, &p->b22);
    p->c1 = dTau / (dTau - dTau2);
    p->c2 = dTau2 / (dTau - dTau2);
}

// From the first valid sample on. An empty slot inside the run was a speed
// too, most likely between the samples around it (a slot of exactly 100
// rpm is stored empty), so it is taken on the straight line between them:
// the error, its sum and its change then run on smoothly.
static void RecomputeOutputs(FITDATA* p)
{
    double e, eLast = 0.0, dSum = 0.0, y = 0.0;
    int iPrev = p->iFirst;

    p->dLaterPeak = -HUGE_VAL;
    for (int k = p->iFirst; k <= p->iLast; k++) {
        if (p->bValid[k]) {
            y = p->dSpeed[k];
            iPrev = k;
        } else {
            int j = k + 1;
            while (!p->bValid[j]) // ends: k is before the last valid sample
                j++;
            y = p->dSpeed[iPrev] + (p->dSpeed[j] - p->dSpeed[iPrev]) * (k - iPrev) / (j - iPrev);
        }
        e = p->dTarget - y;
        if (k == p->iFirst)
            eLast = e;
        dSum += e;
        p->dOut[k] = p->dKp * (e + p->dInt * dSum + p->dDiff * (e - eLast));
        eLast = e;
        if (k > p->iFirst && p->dOut[k] > p->dLaterPeak)
            p->dLaterPeak = p->dOut[k];
    }
}

// A run from rest starts at slot 0, at rest until its first valid sample:
// its outputs, as the drive is asked for them, from there.
static void RestOutputs(FITDATA* p)
{
    double e = p->dTarget, dSum = 0.0, *pdIn = p->dRestIn + INPUT_PAD;

    memset(p->dRestIn, 0, sizeof(double) * INPUT_PAD);
    for (int k = 0; k < p->iFirst; k++) {
        dSum += e;
        pdIn[k] = p->dKp * (e + p->dInt * dSum);
    }
    p->dRestPeak = -HUGE_VAL;
    for (int k = 0; k <= p->iLast; k++) {
        if (k >= p->iFirst)
            pdIn[k] = p->dOut[k] + p->dKp * p->dInt * dSum;
        p->dRestPeak = pdIn[k] > p->dRestPeak ? pdIn[k] : p->dRestPeak;
    }
}

static int CompareDoubles(const void* pOne, const void* pOther)
{
    double d1 = *(const double*)pOne, d2 = *(const double*)pOther;
    return d1 < d2 ? -1 : d1 > d2 ? 1 : 0;
}

// The inputs a limit counts, sorted, so that a limit's counts are found by
// halving rather than by a pass over the run.
static void SortCounted(FITDATA* p)
{
    const double* pdFrom = p->bLate ? p->dOut : p->dRestIn + INPUT_PAD;

    p->nCounted = 0;
    for (int k = p->bLate ? p->iFirst + 1 : 0; k <= p->iLast; k++) {
        if (p->bValid[k])
            p->dCounted[p->nCounted++] = pdFrom[k];
    }
    qsort(p->dCounted, p->nCounted, sizeof(double), CompareDoubles);
}

BOOL PrepareFit(const MEASRECORD* pRec, FITDATA* p, int* piOutcome)
{
    int iLow = 255, iHigh = 0;

    p->iFirst = p->iLast = -1;
    p->nValid = p->nMoving = 0;
    p->dSyy = 0.0;
    for (int k = 0; k < PID_SAMPLE_COUNT; k++) {
        int y = pRec->cMeasData[k];
        p->bValid[k] = y != PID_NO_SAMPLE;
        p->dSpeed[k] = y;
        p->dWeight[k] = p->bValid[k] ? 1.0 : 0.0;
        if (!p->bValid[k])
            continue;
        p->iFirst = p->iFirst < 0 ? k : p->iFirst;
        p->nMoving += p->iLast >= 0 && p->dSpeed[p->iLast] != y ? 1 : 0;
        p->iLast = k;
        p->dSyy += (double)y * y;
        p->nValid++;
        iLow = y < iLow ? y : iLow;
        iHigh = y > iHigh ? y : iHigh;
    }
    *piOutcome = FIT_OK;
    if (p->nValid < TUNE_MIN_SAMPLES)
        *piOutcome = FIT_FEW_SAMPLES;
    else if (iHigh - iLow < MIN_RISE)
        *piOutcome = FIT_NO_RESPONSE;
    if (*piOutcome != FIT_OK)
        return FALSE;
    p->dTarget = pRec->iPramRotate;
    p->dKp = pRec->iPramProp / 100.0;
    p->dInt = pRec->iPramInt != 0 ? (double)pRec->iPramSamp / pRec->iPramInt : 0.0;
    p->dDiff = pRec->iPramDiff != 0 ? (double)pRec->iPramDiff / pRec->iPramSamp : 0.0;
    // A first speed that is read as 0 again later was the noise of a motor
    // at rest: a motor driven from rest does not come back to 0.
    p->bLate = p->dSpeed[p->iFirst] > 0.0;
    for (int k = p->iFirst + 1; k <= p->iLast && p->bLate; k++)
        p->bLate = !(p->bValid[k] && p->dSpeed[k] == 0.0);
    p->bLimited = FALSE;
    RecomputeOutputs(p);
    if (!p->bLate)
        RestOutputs(p);
    SortCounted(p);
    return TRUE;
}
