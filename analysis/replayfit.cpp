// The fit refined in closed loop. Outputs recomputed from samples rounded
// to 100 rpm carry that rounding times Kp, and a fit that takes them as the
// drive's input is pulled by it (most where Kp is large or the law sums a
// long saturation); the replay takes no input from the file, so it is not.
#include "motorfit.h"

#include <math.h>
#include <string.h>

#define CLOSED_LOOP_STEPS 20
#define GAIN_RANGE 1e9 // K within [1 / GAIN_RANGE, GAIN_RANGE] of the start

typedef struct tagREPLAYCONTEXT {
    const MEASRECORD* pRec;
    const FITDATA* p;
} REPLAYCONTEXT;

static void ReplayCost(const void* pContext, FITPOINT* pt)
{
    static PREDICTION pred; // some 4 KB, for every step of the search
    const REPLAYCONTEXT* pc = (const REPLAYCONTEXT*)pContext;
    const FITDATA* p = pc->p;
    double dPeriodS = pc->pRec->iPramSamp / 100.0, dLimit = LimitOf(p, pt);
    double dFreeLow = HUGE_VAL, dFreeHigh = -HUGE_VAL;
    MOTORMODEL m;

    pt->dCost = HUGE_VAL;
    if (p->bLimited && dLimit == 0.0)
        return; // a searched limit out of its range
    memset(&m, 0, sizeof(m));
    m.bModel = TRUE;
    m.dGain = exp(pt->dParam[DIM_LOG_GAIN]);
    m.dTauS = exp(pt->dParam[DIM_LOG_TAU]) * dPeriodS;
    m.dThetaS = pt->dParam[DIM_DELAY] * dPeriodS;
    m.bLimit = p->bLimited;
    m.dLimit = dLimit;
    m.nHidden = (int)lround(pt->dParam[DIM_HIDDEN]);
    double dError = SimulateModel(&m, pc->pRec, pc->pRec->iPramProp, pc->pRec->iPramInt, pc->pRec->iPramDiff, TRUE, p,
                                  pt->dBound, &pred);
    pt->dGain = m.dGain;
    pt->dPeakOut = pred.dPeakOut;
    pt->nClipped = pt->nFree = 0;
    pt->dCost = dError;
    if (dError == HUGE_VAL || pred.nSamples < PID_SAMPLE_COUNT)
        return; // diverged, or lost already: no counts wanted
    for (int k = 0; k <= p->iLast; k++) {
        double u = pred.dOut[k];
        if (!p->bValid[k])
            continue;
        if (u > dLimit) {
            pt->nClipped++;
        } else if (u > 0.0) {
            pt->nFree++;
            dFreeLow = u < dFreeLow ? u : dFreeLow;
            dFreeHigh = u > dFreeHigh ? u : dFreeHigh;
        }
    }
    pt->dFreeSpan = pt->nFree > 0 ? dFreeHigh - dFreeLow : 0.0;
    pt->dCost *= FreeSpanPenalty(p, pt);
}

void RefineInClosedLoop(const MEASRECORD* pRec, const FITDATA* p, FITPOINT* pt)
{
    REPLAYCONTEXT context = {pRec, p};
    double h[FIT_DIMS] = {0.1, 0.5, 0.05, 0.0, 0.1};
    static const double dTol[FIT_DIMS] = {1e-4, 1e-3, 1e-4, 0.0, 1e-4};
    double dLow[FIT_DIMS], dHigh[FIT_DIMS];
    BOOL bDim[FIT_DIMS] = {TRUE, TRUE, p->bLimitSearched, FALSE, TRUE};

    memcpy(dLow, p->dLow, sizeof(dLow));
    memcpy(dHigh, p->dHigh, sizeof(dHigh));
    pt->dParam[DIM_LOG_GAIN] = log(pt->dGain > 0.0 ? pt->dGain : 1.0);
    dLow[DIM_LOG_GAIN] = pt->dParam[DIM_LOG_GAIN] - log(GAIN_RANGE);
    dHigh[DIM_LOG_GAIN] = pt->dParam[DIM_LOG_GAIN] + log(GAIN_RANGE);
    pt->dOpenCost = pt->dCost;
    pt->dBound = HUGE_VAL;
    ReplayCost(&context, pt);
    if (pt->dCost == HUGE_VAL)
        return;
    SimplexSearch(pt, bDim, h, dLow, dHigh, ReplayCost, &context);
    CompassSearch(pt, bDim, h, dTol, dLow, dHigh, CLOSED_LOOP_STEPS, ReplayCost, &context);
}
