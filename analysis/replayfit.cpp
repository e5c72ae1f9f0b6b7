// The fit refined in closed loop. Outputs recomputed from samples rounded
// to 100 rpm carry that rounding times Kp, and a fit that takes them as the
// drive's input is pulled by it (most where Kp is large or the law sums a
// long saturation); the replay takes no input from the file, so it is not.
// A limit those outputs hide is looked for here too, from starts of the
// replay's own.
#include "motorfit.h"

#include <math.h>
#include <string.h>

#define CLOSED_LOOP_STEPS 20
#define SIMPLEX_EVALUATIONS 160
// After a late start, where each start was searched and one is refined
// beside its neighbours, the limit and a second lag: fewer.
#define LATE_CLOSED_LOOP_STEPS 15
#define LATE_SIMPLEX_EVALUATIONS 80
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
    m.dTau2S = pt->dParam[DIM_LAG2] * m.dTauS;
    m.bLimit = p->bLimited;
    m.dLimit = dLimit;
    m.nHidden = (int)lround(pt->dParam[DIM_HIDDEN]);
    double dError = SimulateModel(&m, pc->pRec, pc->pRec->iPramProp, pc->pRec->iPramInt, pc->pRec->iPramDiff, TRUE, p,
                                  pt->dBound, &pred);
    pt->dGain = m.dGain;
    pt->dPeakOut = pred.dPeakOut;
    pt->nClipped = pt->nFree = 0;
    pt->dFreeSpan = 0.0;
    pt->dCost = dError;
    if (dError == HUGE_VAL || pred.nSamples < PID_SAMPLE_COUNT || !p->bLimited)
        return; // diverged, lost already, or no limit: no counts wanted
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

// Replays run one after another: each may stop early at its own bound.
static void ReplayCosts(const void* pContext, FITPOINT* pts, int n)
{
    for (int i = 0; i < n; i++)
        ReplayCost(pContext, &pts[i]);
}

// The bounds of a search in closed loop from *pt: the fit's, and K within
// GAIN_RANGE of *pt's.
static void ReplayBounds(const REPLAYCONTEXT* pc, const FITPOINT* pt, double* pdLow, double* pdHigh)
{
    memcpy(pdLow, pc->p->dLow, sizeof(double) * FIT_DIMS);
    memcpy(pdHigh, pc->p->dHigh, sizeof(double) * FIT_DIMS);
    pdLow[DIM_LOG_GAIN] = pt->dParam[DIM_LOG_GAIN] - log(GAIN_RANGE);
    pdHigh[DIM_LOG_GAIN] = pt->dParam[DIM_LOG_GAIN] + log(GAIN_RANGE);
}

// The simplex, then the compass, from *pt whose cost is the replay's.
static void Refine(const REPLAYCONTEXT* pc, FITPOINT* pt)
{
    double h[FIT_DIMS] = {0.1, 0.5, 0.05, 0.0, 0.1, 0.05};
    static const double dTol[FIT_DIMS] = {1e-4, 1e-3, 1e-4, 0.0, 1e-4, 1e-3};
    double dLow[FIT_DIMS], dHigh[FIT_DIMS];
    BOOL bDim[FIT_DIMS] = {TRUE, TRUE, pc->p->bLimitSearched, FALSE, TRUE, pc->p->bSecondLag};

    ReplayBounds(pc, pt, dLow, dHigh);
    SimplexSearch(pt, bDim, h, dLow, dHigh, pc->p->bLate ? LATE_SIMPLEX_EVALUATIONS : SIMPLEX_EVALUATIONS, ReplayCosts,
                  pc);
    CompassSearch(pt, bDim, h, dTol, dLow, dHigh, pc->p->bLate ? LATE_CLOSED_LOOP_STEPS : CLOSED_LOOP_STEPS,
                  ReplayCosts, pc);
}

// The replay's cost of *pt, its fit to recomputed outputs kept beside it.
static void StartReplay(const REPLAYCONTEXT* pc, FITPOINT* pt)
{
    pt->dParam[DIM_LOG_GAIN] = log(pt->dGain > 0.0 ? pt->dGain : 1.0);
    pt->dOpenCost = pt->dCost;
    pt->dBound = HUGE_VAL;
    ReplayCost(pc, pt);
}

void ReplayAt(const MEASRECORD* pRec, const FITDATA* p, FITPOINT* pt)
{
    REPLAYCONTEXT context = {pRec, p};

    StartReplay(&context, pt);
}

void RefineInClosedLoop(const MEASRECORD* pRec, const FITDATA* p, FITPOINT* pt)
{
    REPLAYCONTEXT context = {pRec, p};

    StartReplay(&context, pt);
    if (pt->dCost != HUGE_VAL)
        Refine(&context, pt);
}

// Closed-loop starts for a searched limit. A drive held at its limit U
// drives the speed towards K U along a lag: its steepest rise, at a speed
// y, is (K U - y)(1 - e^(-1/tau)) a period, which ties tau to each level
// K U tried (as multiples of the run's last speed). A long saturation under
// integral action can hide the limit from the fit to recomputed outputs,
// whose sum carries the samples' rounding, where the replay shows it
// plainly; its cost is narrow in K U and tau, so they are started on it.
#define SEED_LEVELS 10
#define SEED_NEAR 2.0
static const double dSeedLevel[SEED_LEVELS] = {1.05, 1.15, 1.3, 1.5, 1.75, 2.0, 2.5, 3.0, 4.5, 7.0};

// The run's steepest rise a period (a central difference, over two
// samples' rounding), and the speed it rose at.
static double SteepestRise(const FITDATA* p, double* pdAt)
{
    double dBest = 0.0;

    *pdAt = 0.0;
    for (int k = p->iFirst + 1; k < p->iLast; k++) {
        double d = (p->dSpeed[k + 1] - p->dSpeed[k - 1]) / 2.0;
        if (p->bValid[k - 1] && p->bValid[k + 1] && d > dBest) {
            dBest = d;
            *pdAt = p->dSpeed[k];
        }
    }
    return dBest;
}

// The best closed-loop start of a limit from the free fit *pBase: *pSeed,
// if better than it was.
static void SeedLimit(const REPLAYCONTEXT* pc, const FITPOINT* pBase, FITPOINT* pSeed)
{
    const FITDATA* p = pc->p;
    FITPOINT seed = *pBase;
    double dAt, dRise = SteepestRise(p, &dAt);

    seed.dParam[DIM_LOG_GAIN] = log(pBase->dGain > 0.0 ? pBase->dGain : 1.0);
    for (int i = 0; i < SEED_LEVELS && pBase->dGain > 0.0; i++) {
        double dLevel = dSeedLevel[i] * p->dSpeed[p->iLast];
        if (!(dLevel - dAt > dRise && dRise > 0.0))
            continue;
        double dLogTau = log(-1.0 / log(1.0 - dRise / (dLevel - dAt)));
        seed.dParam[DIM_LOG_TAU] = dLogTau < p->dLow[DIM_LOG_TAU] ? p->dLow[DIM_LOG_TAU]
                                 : dLogTau > p->dHigh[DIM_LOG_TAU] ? p->dHigh[DIM_LOG_TAU] : dLogTau;
        seed.dParam[DIM_LOG_SLOPE] = log(dLevel / pBase->dGain) - seed.dParam[DIM_LOG_TAU];
        seed.dBound = pSeed->dCost;
        ReplayCost(pc, &seed);
        if (seed.dCost < pSeed->dCost)
            *pSeed = seed;
    }
}

// Closed-loop starts for a limit that held only the law's first outputs:
// there the fit to recomputed outputs sees next to nothing, and the free
// fit takes the weaker kick for a slower lag. The replay's cost lies along
// a narrow valley in U and tau, so the best start is followed a few steps.
#define FIRST_SHARES 4
#define FIRST_TAUS 4
#define FIRST_STEPS 15
// U as shares of the law's peak output, its first from rest; tau of the free fit's.
static const double dFirstShare[FIRST_SHARES] = {0.55, 0.65, 0.75, 0.85};
static const double dFirstTau[FIRST_TAUS] = {0.6, 0.7, 0.8, 0.9};

static void SeedFirstOutputs(const REPLAYCONTEXT* pc, const FITPOINT* pFree, FITPOINT* pSeed)
{
    FITPOINT seed = *pFree, best = *pFree;
    double h[FIT_DIMS] = {0.05, 0.25, 0.05, 0.0, 0.05, 0.0};
    static const double dTol[FIT_DIMS] = {1e-3, 1e-2, 1e-3, 0.0, 1e-3, 0.0};
    BOOL bDim[FIT_DIMS] = {TRUE, TRUE, TRUE, FALSE, TRUE, FALSE};
    double dLow[FIT_DIMS], dHigh[FIT_DIMS];

    if (!(pFree->dGain > 0.0 && pFree->dPeakOut > 0.0))
        return;
    best.dCost = HUGE_VAL;
    seed.dParam[DIM_LOG_GAIN] = log(pFree->dGain);
    for (int i = 0; i < FIRST_SHARES; i++) {
        for (int j = 0; j < FIRST_TAUS; j++) {
            seed.dParam[DIM_LOG_TAU] = pFree->dParam[DIM_LOG_TAU] + log(dFirstTau[j]);
            seed.dParam[DIM_LOG_SLOPE] = log(dFirstShare[i] * pFree->dPeakOut) - seed.dParam[DIM_LOG_TAU];
            seed.dBound = best.dCost;
            ReplayCost(pc, &seed);
            if (seed.dCost < best.dCost)
                best = seed;
        }
    }
    if (best.dCost == HUGE_VAL)
        return;
    ReplayBounds(pc, &best, dLow, dHigh);
    CompassSearch(&best, bDim, h, dTol, dLow, dHigh, FIRST_STEPS, ReplayCosts, pc);
    if (best.dCost < pSeed->dCost)
        *pSeed = best;
}

BOOL RefineLimitInClosedLoop(const MEASRECORD* pRec, const FITDATA* p, const FITPOINT* pFree,
                             const STARTS* pStartsFree, BOOL bReached, FITPOINT* pt)
{
    REPLAYCONTEXT context = {pRec, p};
    FITPOINT seed = *pt;

    StartReplay(&context, pt);
    // From the free fit, and after a late start from the free fit of every
    // start: a limit that bit before the first sample may have been taken
    // for a start earlier still.
    seed.dCost = HUGE_VAL;
    SeedLimit(&context, pFree, &seed);
    for (int m = 0; p->bLate && m < pStartsFree->n; m++)
        SeedLimit(&context, &pStartsFree->fit[m], &seed);
    seed.dOpenCost = pt->dOpenCost;
    if (bReached) {
        // Refined from where the fit to recomputed outputs found it, and
        // from a start of its own where the replay likes that better.
        BOOL bSeed = seed.dCost < pt->dCost;
        if (pt->dCost != HUGE_VAL)
            Refine(&context, pt);
        if (bSeed) {
            Refine(&context, &seed);
            *pt = seed.dCost < pt->dCost ? seed : *pt;
        }
        return TRUE;
    }
    // Refined where the replay passes the limit and comes near enough the
    // free fit to be weighed against it.
    if (seed.dCost < SEED_NEAR * pFree->dCost && seed.nClipped >= LIMIT_MIN_CLIPPED) {
        *pt = seed.dCost < pt->dCost ? seed : *pt;
        Refine(&context, pt);
        return TRUE;
    }
    // A limit on the first outputs only is kept only where it explains the
    // run: a slower start of any kind looks alike.
    seed.dCost = HUGE_VAL;
    SeedFirstOutputs(&context, pFree, &seed);
    seed.dOpenCost = pt->dOpenCost;
    if (!(seed.dCost < SEED_NEAR * pFree->dCost && seed.nClipped >= LIMIT_MIN_CLIPPED))
        return FALSE;
    Refine(&context, &seed);
    if (!LimitExplains(p, pFree, &seed))
        return FALSE;
    *pt = seed;
    return TRUE;
}

// Starts that take a share of the lag and of the dead time for a second
// lag: one lag fitted to two puts its dead time past the true one, and its
// lag short of the slower one, by about half the faster lag each.
#define LAG2_SEEDS 3
static const double dLag2Seed[LAG2_SEEDS] = {0.1, 0.25, 0.5};

// The seeds of one fit of one lag *pBase into *pBest, where the replay
// likes them better.
static void SeedSecondLag(const REPLAYCONTEXT* pc, const FITPOINT* pBase, FITPOINT* pBest)
{
    const FITDATA* p = pc->p;
    FITPOINT seed = *pBase;
    double dTau = exp(pBase->dParam[DIM_LOG_TAU]), dLimit = LimitOf(p, pBase);

    if (!(pBase->dGain > 0.0))
        return;
    seed.dParam[DIM_LOG_GAIN] = log(pBase->dGain);
    for (int i = 0; i < LAG2_SEEDS; i++) {
        double dTau1 = dTau / (1.0 + dLag2Seed[i] / 2.0), dDelay = pBase->dParam[DIM_DELAY] - dLag2Seed[i] * dTau1 / 2.0;
        seed.dParam[DIM_LOG_TAU] = log(dTau1);
        seed.dParam[DIM_DELAY] = dDelay > 0.0 ? dDelay : 0.0;
        seed.dParam[DIM_LAG2] = dLag2Seed[i];
        if (p->bLimited && dLimit > 0.0)
            seed.dParam[DIM_LOG_SLOPE] = log(dLimit) - seed.dParam[DIM_LOG_TAU];
        seed.dBound = pBest->dCost;
        ReplayCost(pc, &seed);
        if (seed.dCost < pBest->dCost)
            *pBest = seed;
    }
}

void RefineSecondLag(const MEASRECORD* pRec, FITDATA* p, const STARTS* pStarts, FITPOINT* pt)
{
    REPLAYCONTEXT context = {pRec, p};
    FITPOINT best = *pt;

    best.dCost = HUGE_VAL;
    SeedSecondLag(&context, pt, &best);
    // After a late start, from every start's fit too: one lag takes the
    // slow start of two for a start earlier still.
    for (int m = 0; p->bLate && m < pStarts->n; m++)
        SeedSecondLag(&context, &pStarts->fit[m], &best);
    if (best.dCost == HUGE_VAL)
        return;
    p->bSecondLag = TRUE;
    best.dBound = HUGE_VAL;
    ReplayCost(&context, &best);
    Refine(&context, &best);
    p->bSecondLag = FALSE;
    best.dOpenCost = pt->dOpenCost;
    *pt = best;
}
