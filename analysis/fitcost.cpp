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

// The law's outputs pdU[k] from slot kFrom on as the drive gave them,
// clipped to [0, U], into pdTo[k]; the valid ones past U and within (0, U)
// counted.
static void ClipInputs(const FITDATA* p, FITPOINT* pt, double dLimit, int kFrom, const double* pdU, double* pdTo)
{
    double dFreeLow = HUGE_VAL, dFreeHigh = -HUGE_VAL;

    pt->nClipped = pt->nFree = 0;
    for (int k = kFrom; k <= p->iLast; k++) {
        double u = pdU[k];
        if (u > dLimit) {
            pt->nClipped += p->bValid[k] ? 1 : 0;
            u = dLimit;
        } else if (u > 0.0 && p->bValid[k]) {
            pt->nFree++;
            dFreeLow = u < dFreeLow ? u : dFreeLow;
            dFreeHigh = u > dFreeHigh ? u : dFreeHigh;
        }
        pdTo[k] = u < 0.0 ? 0.0 : u;
    }
    pt->dFreeSpan = pt->nFree > 0 ? dFreeHigh - dFreeLow : 0.0;
}

// The law's outputs from the start, slot -nHidden on (pdIn[0]), clipped to
// [0, U] under a limit.
static void DriveInputs(const FITDATA* p, FITPOINT* pt, int nHidden, double* pdIn)
{
    double dLimit = LimitOf(p, pt), dDelay = pt->dParam[DIM_DELAY];
    double dRise = p->iFirst + nHidden - dDelay, dSum = 0.0, e, eLast = 0.0, u;
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
    // The later outputs' peak is the recomputed one's plus the carry: an
    // added constant keeps their order.
    double eFirst = p->dTarget - p->dSpeed[p->iFirst], dCarry = p->dKp * p->dInt * dSum;
    double dPeak = p->dLaterPeak + dCarry;
    for (int j = 0; j < i; j++)
        dPeak = pdIn[j] > dPeak ? pdIn[j] : dPeak;
    u = p->dOut[p->iFirst] + dCarry + (i > 0 ? p->dKp * p->dDiff * (eFirst - eLast) : 0.0);
    pdIn[p->iFirst + nHidden] = u;
    dPeak = u > dPeak ? u : dPeak;
    for (int k = p->iFirst + 1; k <= p->iLast; k++)
        pdIn[k + nHidden] = p->dOut[k] + dCarry;
    pt->dPeakOut = dPeak;
    pt->nClipped = pt->nFree = 0;
    pt->dFreeSpan = 0.0;
    if (!p->bLimited)
        return;
    // Before the first valid sample nothing is counted.
    for (int j = 0; j < p->iFirst + nHidden; j++)
        pdIn[j] = pdIn[j] < 0.0 ? 0.0 : pdIn[j] > dLimit ? dLimit : pdIn[j];
    ClipInputs(p, pt, dLimit, p->iFirst, pdIn + nHidden, pdIn + nHidden);
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
    double* pdIn = pdPadded + INPUT_PAD;

    pt->nClipped = pt->nFree = 0;
    pt->dPeakOut = p->dRestPeak;
    pt->dFreeSpan = 0.0;
    if (!p->bLimited)
        return p->dRestIn + INPUT_PAD;
    memset(pdPadded, 0, sizeof(double) * INPUT_PAD);
    ClipInputs(p, pt, LimitOf(p, pt), 0, p->dRestIn + INPUT_PAD, pdIn);
    return pdIn;
}

// Points costed side by side; their steps unrolled, so that the compiler
// keeps each point's speed in a register.
#define COST_GROUP 4
#define PRAGMA(x) _Pragma(#x)
#define UNROLL(n) PRAGMA(GCC unroll n)

// A group's slots without a point read these.
static const double dNoDrive[MAX_INPUTS] = {0.0};

// Up to COST_GROUP points, each costed exactly as alone: their responses
// are stepped side by side, where each alone would wait on its last step.
static void CostGroup(const FITDATA* p, FITPOINT* pts, int n)
{
    // The inputs after INPUT_PAD zeros, the rest before the start, which a
    // delayed input reads without a test.
    double dPadded[INPUT_PAD + MAX_INPUTS], dDrive[COST_GROUP][MAX_INPUTS];
    double a[COST_GROUP], x[COST_GROUP], dSxy[COST_GROUP], dSxx[COST_GROUP];
    const double* pDrive[COST_GROUP];
    BOOL bCosted[COST_GROUP];

    for (int c = 0; c < COST_GROUP; c++) {
        a[c] = x[c] = dSxy[c] = dSxx[c] = 0.0;
        pDrive[c] = dNoDrive;
        bCosted[c] = FALSE;
        if (c >= n)
            continue;
        FITPOINT* pt = &pts[c];
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
            continue;
        // The inputs' share of each step first: the step itself is then
        // one multiply and add from the speed before.
        const double* pIn1 = dIn - m.d;
        const double* pIn2 = pIn1 - 1;
        for (int i = 0; i < nHidden + p->iLast; i++)
            dDrive[c][i] = m.b1 * pIn1[i] + m.b2 * pIn2[i];
        for (int j = 0; j < nHidden; j++) // before slot 0: nothing to compare
            x[c] = m.a * x[c] + dDrive[c][j];
        a[c] = m.a;
        pDrive[c] = dDrive[c] + nHidden;
        bCosted[c] = TRUE;
    }
    for (int k = 0;; k++) {
        UNROLL(COST_GROUP)
        for (int c = 0; c < COST_GROUP; c++) {
            double wx = p->dWeight[k] * x[c];
            dSxy[c] += p->dSpeed[k] * wx;
            dSxx[c] += x[c] * wx;
        }
        if (k == p->iLast)
            break;
        UNROLL(COST_GROUP)
        for (int c = 0; c < COST_GROUP; c++)
            x[c] = a[c] * x[c] + pDrive[c][k];
    }
    for (int c = 0; c < n; c++) {
        FITPOINT* pt = &pts[c];
        if (!bCosted[c] || !(dSxy[c] > 0.0 && dSxx[c] > 0.0))
            continue;
        pt->dGain = dSxy[c] / dSxx[c];
        pt->dCost = p->dSyy - dSxy[c] * pt->dGain > 0.0 ? p->dSyy - dSxy[c] * pt->dGain : 0.0;
        pt->dCost *= FreeSpanPenalty(p, pt);
    }
}

void FitCosts(const FITDATA* p, FITPOINT* pts, int n)
{
    for (int i = 0; i < n; i += COST_GROUP)
        CostGroup(p, pts + i, n - i < COST_GROUP ? n - i : COST_GROUP);
}
