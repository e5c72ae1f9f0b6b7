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
// [0, dLimit] under a limit.
static void DriveInputs(const FITDATA* p, FITPOINT* pt, int nHidden, double dLimit, double* pdIn)
{
    double dDelay = pt->dParam[DIM_DELAY];
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
    if (!p->bLimitSearched)
        return p->dKnownLimit;
    double dLimit = exp(pt->dParam[DIM_LOG_SLOPE] + pt->dParam[DIM_LOG_TAU]);
    return dLimit >= p->dLimitLow && dLimit <= p->dLimitHigh ? dLimit : 0.0;
}

// FreeSpanPenalty at the point's limit dLimit.
static double SpanPenalty(const FITDATA* p, const FITPOINT* pt, double dLimit)
{
    double dWanted = LIMIT_MIN_FREE_SPAN * dLimit;

    if (!p->bLimitSearched || pt->dFreeSpan >= dWanted)
        return 1.0;
    return pt->dFreeSpan > 1e-3 * dWanted ? (dWanted / pt->dFreeSpan) * (dWanted / pt->dFreeSpan) : 1e6;
}

double FreeSpanPenalty(const FITDATA* p, const FITPOINT* pt)
{
    return p->bLimitSearched ? SpanPenalty(p, pt, LimitOf(p, pt)) : 1.0;
}

// A run from rest: its one set of inputs, clipped to [0, dLimit] under a
// limit.
static const double* RestInputs(const FITDATA* p, FITPOINT* pt, double dLimit, double* pdPadded)
{
    double* pdIn = pdPadded + INPUT_PAD;

    pt->nClipped = pt->nFree = 0;
    pt->dPeakOut = p->dRestPeak;
    pt->dFreeSpan = 0.0;
    if (!p->bLimited)
        return p->dRestIn + INPUT_PAD;
    memset(pdPadded, 0, sizeof(double) * INPUT_PAD);
    for (int k = 0; k <= p->iLast; k++)
        pdIn[k] = Clip(p->dRestIn[INPUT_PAD + k], dLimit);
    CountInputs(p, pt, dLimit, 0.0, NULL);
    return pdIn;
}

// Points costed side by side, two to a vector: each alone would wait on
// its last step, and a compiler left to pair them on its own does so
// unevenly.
#define COST_GROUP 6
#define COST_PAIRS (COST_GROUP / 2)
typedef double PAIR __attribute__((vector_size(2 * sizeof(double))));
#define PRAGMA(x) _Pragma(#x)
#define UNROLL(n) PRAGMA(GCC unroll n)

// A group's slots without a point read these.
static const double dNoInputs[INPUT_PAD + MAX_INPUTS] = {0.0};

// The responses of nPairs pairs of points stepped side by side from x,
// each step weighing its inputs as it takes them; the sums K is taken from.
static inline __attribute__((always_inline)) void StepPairs(const FITDATA* p, const int nPairs, const double* a,
                                                            const double* b1, const double* b2, const double* x,
                                                            const double* const* pIn, double* dSxy, double* dSxx)
{
    PAIR va[COST_PAIRS], vb1[COST_PAIRS], vb2[COST_PAIRS], vx[COST_PAIRS], vIn2[COST_PAIRS];
    PAIR vSxy[COST_PAIRS], vSxx[COST_PAIRS];

    for (int q = 0; q < nPairs; q++) {
        va[q] = (PAIR){a[2 * q], a[2 * q + 1]};
        vb1[q] = (PAIR){b1[2 * q], b1[2 * q + 1]};
        vb2[q] = (PAIR){b2[2 * q], b2[2 * q + 1]};
        vx[q] = (PAIR){x[2 * q], x[2 * q + 1]};
        vIn2[q] = (PAIR){pIn[2 * q][-1], pIn[2 * q + 1][-1]};
        vSxy[q] = vSxx[q] = (PAIR){0.0, 0.0};
    }
    for (int k = 0;; k++) {
        PAIR w = {p->dWeight[k], p->dWeight[k]}, y = {p->dSpeed[k], p->dSpeed[k]};
        UNROLL(COST_PAIRS)
        for (int q = 0; q < nPairs; q++) {
            PAIR wx = w * vx[q];
            vSxy[q] += y * wx;
            vSxx[q] += vx[q] * wx;
        }
        if (k == p->iLast)
            break;
        UNROLL(COST_PAIRS)
        for (int q = 0; q < nPairs; q++) {
            PAIR in1 = {pIn[2 * q][k], pIn[2 * q + 1][k]};
            vx[q] = va[q] * vx[q] + (vb1[q] * in1 + vb2[q] * vIn2[q]);
            vIn2[q] = in1;
        }
    }
    for (int q = 0; q < nPairs; q++) {
        dSxy[2 * q] = vSxy[q][0];
        dSxy[2 * q + 1] = vSxy[q][1];
        dSxx[2 * q] = vSxx[q][0];
        dSxx[2 * q + 1] = vSxx[q][1];
    }
}

// Up to COST_GROUP points, each costed exactly as alone. Each step weighs
// its inputs as it takes them, from where they lie.
static void CostGroup(const FITDATA* p, FITPOINT* pts, int n)
{
    // The inputs after INPUT_PAD zeros, the rest before the start, which a
    // delayed input reads without a test.
    double dPadded[COST_GROUP][INPUT_PAD + MAX_INPUTS];
    double a[COST_GROUP], b1[COST_GROUP], b2[COST_GROUP], x[COST_GROUP], dLimits[COST_GROUP];
    const double* pIn[COST_GROUP];
    BOOL bCosted[COST_GROUP];

    const double* dIn = NULL;
    for (int c = 0; c < COST_GROUP; c++) {
        a[c] = b1[c] = b2[c] = x[c] = 0.0;
        pIn[c] = dNoInputs + INPUT_PAD;
        bCosted[c] = FALSE;
        if (c >= n)
            continue;
        FITPOINT* pt = &pts[c];
        int nHidden = p->bLate ? (int)lround(pt->dParam[DIM_HIDDEN]) : 0;
        double dLimit = p->bLimited ? LimitOf(p, pt) : 0.0;
        DISCRETE m;
        Discretise(exp(pt->dParam[DIM_LOG_TAU]), 0.0, pt->dParam[DIM_DELAY], &m); // one lag: see DIM_LAG2
        // A point that differs from the one before only in its lag takes
        // the same inputs.
        const FITPOINT* pLast = c > 0 ? &pts[c - 1] : NULL;
        if (pLast != NULL && lround(pLast->dParam[DIM_HIDDEN]) == lround(pt->dParam[DIM_HIDDEN])
            && (!p->bLate || pLast->dParam[DIM_DELAY] == pt->dParam[DIM_DELAY])
            && (!p->bLimited || dLimits[c - 1] == dLimit)) {
            pt->dPeakOut = pLast->dPeakOut;
            pt->nClipped = pLast->nClipped;
            pt->nFree = pLast->nFree;
            pt->dFreeSpan = pLast->dFreeSpan;
        } else if (p->bLate) {
            memset(dPadded[c], 0, sizeof(double) * INPUT_PAD);
            DriveInputs(p, pt, nHidden, dLimit, dPadded[c] + INPUT_PAD);
            dIn = dPadded[c] + INPUT_PAD;
        } else {
            dIn = RestInputs(p, pt, dLimit, dPadded[c]);
        }
        dLimits[c] = dLimit;
        pt->dGain = 0.0;
        pt->dCost = p->dSyy;
        if (p->bLimited && dLimit == 0.0)
            continue;
        a[c] = m.a;
        b1[c] = m.b1;
        b2[c] = m.b2;
        // Before slot 0: nothing to compare.
        const double* pIn1 = dIn - m.d;
        for (int j = 0; j < nHidden; j++)
            x[c] = m.a * x[c] + (m.b1 * pIn1[j] + m.b2 * pIn1[j - 1]);
        pIn[c] = pIn1 + nHidden;
        bCosted[c] = TRUE;
    }
    double dSxy[COST_GROUP], dSxx[COST_GROUP];
    switch ((n + 1) / 2) { // the pairs with a point
    case 1:
        StepPairs(p, 1, a, b1, b2, x, pIn, dSxy, dSxx);
        break;
    case 2:
        StepPairs(p, 2, a, b1, b2, x, pIn, dSxy, dSxx);
        break;
    default:
        StepPairs(p, COST_PAIRS, a, b1, b2, x, pIn, dSxy, dSxx);
        break;
    }
    for (int c = 0; c < n; c++) {
        FITPOINT* pt = &pts[c];
        if (!bCosted[c] || !(dSxy[c] > 0.0 && dSxx[c] > 0.0))
            continue;
        pt->dGain = dSxy[c] / dSxx[c];
        pt->dCost = p->dSyy - dSxy[c] * pt->dGain > 0.0 ? p->dSyy - dSxy[c] * pt->dGain : 0.0;
        pt->dCost *= SpanPenalty(p, pt, dLimits[c]);
    }
}

void FitCosts(const FITDATA* p, FITPOINT* pts, int n)
{
    for (int i = 0; i < n; i += COST_GROUP)
        CostGroup(p, pts + i, n - i < COST_GROUP ? n - i : COST_GROUP);
}
