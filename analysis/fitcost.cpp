// The cost of one candidate model: the model's response to the outputs the
// controller gave, as the drive gave them, fitted to the valid samples by
// least squares (an output-error fit: one-step-ahead errors would be
// swamped by the rounding to 100 rpm). The response is linear in K, so K
// comes in closed form for each (tau, theta, U, start).
//
// A run whose first sample is not 0 is taken to have started, from rest,
// some periods before it (the recording began late): the controller's
// samples before the file's first are rebuilt on a straight rise from rest,
// after the dead time, to that first sample. The law's sum, its last error
// and the outputs still on their way through the dead time then follow
// from the law itself.
#include "motorfit.h"

#include <math.h>
#include <string.h>

#define MAX_INPUTS (HIDDEN_MAX + PID_SAMPLE_COUNT)

// The law's outputs from the start, slot -nHidden on (pdIn[0]), clipped to
// [0, U] under a limit.
static void DriveInputs(const FITDATA* p, FITPOINT* pt, int nHidden, double* pdIn)
{
    double dLimit = LimitOf(p, pt), dDelay = pt->dParam[DIM_DELAY];
    double dRise = p->iFirst + nHidden - dDelay, dSum = 0.0, e, eLast = 0.0, u;
    double dFreeLow = HUGE_VAL, dFreeHigh = -HUGE_VAL;
    int i = 0;

    // Before the first valid sample: rest, then the rise (nothing for a run
    // from rest: its speeds there are 0).
    for (int k = -nHidden; k < p->iFirst; k++, i++) {
        double dShare = dRise > 0.0 ? (k + nHidden - dDelay) / dRise : 0.0;
        e = p->dTarget - p->dSpeed[p->iFirst] * (dShare < 0.0 ? 0.0 : dShare);
        if (i == 0)
            eLast = e;
        dSum += e;
        pdIn[i] = p->dKp * (e + p->dInt * dSum + p->dDiff * (e - eLast));
        eLast = e;
    }
    // From it on: as recomputed, with the sum and the last error of before.
    double eFirst = p->dTarget - p->dSpeed[p->iFirst], dCarry = p->dKp * p->dInt * dSum, dPeak = -HUGE_VAL;
    for (int j = 0; j < i; j++)
        dPeak = pdIn[j] > dPeak ? pdIn[j] : dPeak;
    u = p->dOut[p->iFirst] + dCarry + (i > 0 ? p->dKp * p->dDiff * (eFirst - eLast) : 0.0);
    pdIn[p->iFirst + nHidden] = u;
    dPeak = u > dPeak ? u : dPeak;
    for (int k = p->iFirst + 1; k <= p->iLast; k++) {
        u = p->dOut[k] + dCarry;
        pdIn[k + nHidden] = u;
        dPeak = u > dPeak ? u : dPeak;
    }
    pt->dPeakOut = dPeak;
    pt->nClipped = pt->nFree = 0;
    pt->dFreeSpan = 0.0;
    if (!p->bLimited)
        return;
    // Before the first valid sample nothing is counted.
    for (int j = 0; j < p->iFirst + nHidden; j++)
        pdIn[j] = pdIn[j] < 0.0 ? 0.0 : pdIn[j] > dLimit ? dLimit : pdIn[j];
    for (int k = p->iFirst; k <= p->iLast; k++) {
        u = pdIn[k + nHidden];
        BOOL bOver = u > dLimit, bValid = p->bValid[k];
        pt->nClipped += bOver && bValid;
        if (!bOver && u > 0.0 && bValid) {
            pt->nFree++;
            dFreeLow = u < dFreeLow ? u : dFreeLow;
            dFreeHigh = u > dFreeHigh ? u : dFreeHigh;
        }
        pdIn[k + nHidden] = u < 0.0 ? 0.0 : bOver ? dLimit : u;
    }
    pt->dFreeSpan = pt->nFree > 0 ? dFreeHigh - dFreeLow : 0.0;
}

double LimitOf(const FITDATA* p, const FITPOINT* pt)
{
    double dLimit = exp(pt->dParam[DIM_LOG_SLOPE] + pt->dParam[DIM_LOG_TAU]);

    if (!p->bLimitSearched)
        return p->dKnownLimit;
    return dLimit >= p->dLimitLow && dLimit <= p->dLimitHigh ? dLimit : 0.0;
}

double FreeSpanPenalty(const FITDATA* p, const FITPOINT* pt)
{
    double dWanted = LIMIT_MIN_FREE_SPAN * LimitOf(p, pt);

    if (!p->bLimitSearched || pt->dFreeSpan >= dWanted)
        return 1.0;
    return pt->dFreeSpan > 1e-3 * dWanted ? (dWanted / pt->dFreeSpan) * (dWanted / pt->dFreeSpan) : 1e6;
}

// A run from rest: its one set of inputs, clipped under a limit.
static const double* RestInputs(const FITDATA* p, FITPOINT* pt, double* pdPadded)
{
    double dLimit = LimitOf(p, pt), dFreeLow = HUGE_VAL, dFreeHigh = -HUGE_VAL;
    double* pdIn = pdPadded + INPUT_PAD;

    pt->nClipped = pt->nFree = 0;
    pt->dPeakOut = p->dRestPeak;
    pt->dFreeSpan = 0.0;
    if (!p->bLimited)
        return p->dRestIn + INPUT_PAD;
    memset(pdPadded, 0, sizeof(double) * INPUT_PAD);
    for (int k = 0; k <= p->iLast; k++) {
        double u = p->dRestIn[INPUT_PAD + k];
        if (u > dLimit) {
            pt->nClipped += p->bValid[k] ? 1 : 0;
            u = dLimit;
        } else if (u > 0.0 && p->bValid[k]) {
            pt->nFree++;
            dFreeLow = u < dFreeLow ? u : dFreeLow;
            dFreeHigh = u > dFreeHigh ? u : dFreeHigh;
        }
        pdIn[k] = u < 0.0 ? 0.0 : u;
    }
    pt->dFreeSpan = pt->nFree > 0 ? dFreeHigh - dFreeLow : 0.0;
    return pdIn;
}

void FitCost(const FITDATA* p, FITPOINT* pt)
{
    // The inputs after INPUT_PAD zeros, the rest before the start, which a
    // delayed input reads without a test.
    double dPadded[INPUT_PAD + MAX_INPUTS], dSxy = 0.0, dSxx = 0.0, x = 0.0;
    int nHidden = p->bLate ? (int)lround(pt->dParam[DIM_HIDDEN]) : 0;
    const double* dIn;
    DISCRETE m;

    Discretise(exp(pt->dParam[DIM_LOG_TAU]), 0.0, pt->dParam[DIM_DELAY], &m); // one lag: see DIM_LAG2
    if (p->bLate) {
        memset(dPadded, 0, sizeof(double) * INPUT_PAD);
        DriveInputs(p, pt, nHidden, dPadded + INPUT_PAD);
        dIn = dPadded + INPUT_PAD;
    } else {
        dIn = RestInputs(p, pt, dPadded);
    }
    pt->dGain = 0.0;
    pt->dCost = p->dSyy;
    if (p->bLimited && LimitOf(p, pt) == 0.0)
        return;
    // The inputs' share of each step first: the step itself is then one
    // multiply and add from the speed before, which is this loop's time.
    const double* pIn1 = dIn - m.d;
    const double* pIn2 = pIn1 - 1;
    double dDrive[MAX_INPUTS];
    int j = 0, n = nHidden + p->iLast;
    for (int i = 0; i < n; i++)
        dDrive[i] = m.b1 * pIn1[i] + m.b2 * pIn2[i];
    for (; j < nHidden; j++) // before slot 0: nothing to compare
        x = m.a * x + dDrive[j];
    for (int k = 0;; k++, j++) {
        double wx = p->dWeight[k] * x;
        dSxy += p->dSpeed[k] * wx;
        dSxx += x * wx;
        if (k == p->iLast)
            break;
        x = m.a * x + dDrive[j];
    }
    if (!(dSxy > 0.0 && dSxx > 0.0))
        return;
    pt->dGain = dSxy / dSxx;
    pt->dCost = p->dSyy - dSxy * pt->dGain > 0.0 ? p->dSyy - dSxy * pt->dGain : 0.0;
    pt->dCost *= FreeSpanPenalty(p, pt);
}
