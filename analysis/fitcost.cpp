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

// The first of the sorted valid inputs that, with dCarry added, passes
// dLevel.
static int FirstPast(const FITDATA* p, double dCarry, double dLevel)
{
    int iLow = 0, iHigh = p->nCounted;

    while (iLow < iHigh) {
        int i = (iLow + iHigh) / 2;
        if (p->dCounted[i] + dCarry > dLevel)
            iHigh = i;
        else
            iLow = i + 1;
    }
    return iLow;
}

// The valid inputs past U and within (0, U) counted, and how far the
// latter ranged: the sorted ones with dCarry added and, after a late
// start, the first (*pdFirst, its kick in it) apart.
static void CountInputs(const FITDATA* p, FITPOINT* pt, double dLimit, double dCarry, const double* pdFirst)
{
    int iFree = FirstPast(p, dCarry, 0.0), iOver = FirstPast(p, dCarry, dLimit);
    double dLow = HUGE_VAL, dHigh = -HUGE_VAL;

    pt->nClipped = p->nCounted - iOver;
    pt->nFree = iOver - iFree;
    if (pt->nFree > 0) {
        dLow = p->dCounted[iFree] + dCarry;
        dHigh = p->dCounted[iOver - 1] + dCarry;
    }
    if (pdFirst != NULL && *pdFirst > dLimit) {
        pt->nClipped++;
    } else if (pdFirst != NULL && *pdFirst > 0.0) {
        pt->nFree++;
        dLow = *pdFirst < dLow ? *pdFirst : dLow;
        dHigh = *pdFirst > dHigh ? *pdFirst : dHigh;
    }
    pt->dFreeSpan = pt->nFree > 0 ? dHigh - dLow : 0.0;
}

// An input as the drive gave it.
static inline double Clip(double u, double dLimit)
{
    u = u > dLimit ? dLimit : u;
    return u < 0.0 ? 0.0 : u;
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
    pt->dPeakOut = u > dPeak ? u : dPeak;
    pt->nClipped = pt->nFree = 0;
    pt->dFreeSpan = 0.0;
    if (!p->bLimited) {
        pdIn[p->iFirst + nHidden] = u;
        for (int k = p->iFirst + 1; k <= p->iLast; k++)
            pdIn[k + nHidden] = p->dOut[k] + dCarry;
        return;
    }
    for (int j = 0; j < p->iFirst + nHidden; j++)
        pdIn[j] = Clip(pdIn[j], dLimit);
    pdIn[p->iFirst + nHidden] = Clip(u, dLimit);
    for (int k = p->iFirst + 1; k <= p->iLast; k++)
        pdIn[k + nHidden] = Clip(p->dOut[k] + dCarry, dLimit);
    CountInputs(p, pt, dLimit, dCarry, &u);
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
    double dLimit = LimitOf(p, pt);
    memset(pdPadded, 0, sizeof(double) * INPUT_PAD);
    for (int k = 0; k <= p->iLast; k++)
        pdIn[k] = Clip(p->dRestIn[INPUT_PAD + k], dLimit);
    CountInputs(p, pt, dLimit, 0.0, NULL);
    return pdIn;
}

// Points costed side by side; their steps unrolled, so that the compiler
// keeps each point's speed in a register.
#define COST_GROUP 6
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
