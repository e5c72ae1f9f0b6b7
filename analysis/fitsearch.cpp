// The search for the model's nonlinear numbers, fitted to recomputed
// outputs: tau and theta on a fixed grid (U too, with a limit), refined by a
// compass search of counted steps. After a late start, each start before
// the first sample is searched on its own, so that starts that explain the
// run alike are seen. The result is the closed loop's start.
#include "motorfit.h"

#include <math.h>
#include <string.h>

#define TAU_GRID 12
#define COARSE_TAU_GRID 8
#define LIMIT_TAU_GRID 5
#define LATE_LIMIT_DELAYS 5   // the first coarse dead times, to 8 periods
#define LIMIT_DELAY_MARGIN 4.0
#define OPEN_LOOP_STEPS 45
// After a late start, at each of its starts: the closed loop refines the
// chosen one from there.
#define LATE_OPEN_LOOP_STEPS 25
#define LIMIT_GRID 9
#define LIMIT_MIN_FRACTION 0.02 // of the run's peak output: below, the drive gave next to nothing

// Dead times tried first, in periods: every half period near zero, where
// motors are, coarser beyond; a coarser set where more is searched.
static const double dDelayGrid[] = {0, 0.5, 1, 1.5, 2, 3, 4, 5, 6, 8, 10, 12, 16, 20, 24, 32, 40, 48, 56, 64};
static const double dCoarseDelayGrid[] = {0, 1, 2, 4, 8, 16, 32, 64};
// Lags tried first with a limit, as shares of the free fit's.
static const double dLimitTauShare[LIMIT_TAU_GRID] = {0.1, 0.2, 0.35, 0.6, 1.0};
// Limits tried first, as shares of the run's peak output.
static const double dLimitGrid[LIMIT_GRID] = {0.05, 0.08, 0.12, 0.18, 0.26, 0.36, 0.5, 0.7, 0.9};
#define COUNT(a) (int)(sizeof(a) / sizeof((a)[0]))

// A grid of one dimension: its values, or the point's own where none.
typedef struct tagGRID {
    const double* pd;
    int n;
} GRID;

// The fit to recomputed outputs as a compass search sees it.
static void OpenLoopCosts(const void* pContext, FITPOINT* pts, int n)
{
    FitCosts((const FITDATA*)pContext, pts, n);
}

// Grid points are costed a few groups at a time, lag innermost (points
// that differ only in their lag take the same inputs), and the best taken
// as in the grid's own order, lag outermost.
#define GRID_BATCH 18

static void TakeBest(const FITDATA* p, FITPOINT* pts, const int* piRank, int n, FITPOINT* pBest, int* piBestRank)
{
    FitCosts(p, pts, n);
    for (int i = 0; i < n; i++) {
        if (pBest->dCost < 0.0 || pts[i].dCost < pBest->dCost
            || (pts[i].dCost == pBest->dCost && piRank[i] < *piBestRank)) {
            *pBest = pts[i];
            *piBestRank = piRank[i];
        }
    }
}

// Every point of the grids (ln tau, theta, U; the point *pBest's own value
// where a grid is empty), then the compass search from the best, its first
// step in ln tau hTau.
static void SearchModel(const FITDATA* p, FITPOINT* pBest, GRID taus, GRID delays, GRID limits, double hTau)
{
    double h[FIT_DIMS] = {hTau, 1.0, 0.25, 0.0, 0.0, 0.0};
    static const double dTol[FIT_DIMS] = {3e-3, 1e-2, 3e-3, 0.0, 0.0, 0.0}; // a start for the closed loop
    BOOL bDim[FIT_DIMS] = {TRUE, TRUE, p->bLimitSearched, FALSE, FALSE, FALSE};
    FITPOINT pt = *pBest, pts[GRID_BATCH];
    int iRank[GRID_BATCH], n = 0, nDelays = 0, nLimits = limits.n > 0 ? limits.n : 1, iBestRank = 0;

    while (nDelays < delays.n && delays.pd[nDelays] <= p->dHigh[DIM_DELAY])
        nDelays++;
    pBest->dCost = -1.0;
    for (int j = 0; j < nDelays; j++) {
        pt.dParam[DIM_DELAY] = delays.pd[j];
        for (int l = 0; l < nLimits; l++) {
            for (int i = 0; i < taus.n; i++) {
                pt.dParam[DIM_LOG_TAU] = taus.pd[i];
                if (limits.n > 0)
                    pt.dParam[DIM_LOG_SLOPE] = log(limits.pd[l]) - pt.dParam[DIM_LOG_TAU];
                iRank[n] = (i * nDelays + j) * nLimits + l;
                pts[n++] = pt;
                if (n == GRID_BATCH) {
                    TakeBest(p, pts, iRank, n, pBest, &iBestRank);
                    n = 0;
                }
            }
        }
    }
    TakeBest(p, pts, iRank, n, pBest, &iBestRank);
    CompassSearch(pBest, bDim, h, dTol, p->dLow, p->dHigh, p->bLate ? LATE_OPEN_LOOP_STEPS : OPEN_LOOP_STEPS,
                  OpenLoopCosts, p);
}

// nTau values of ln tau evenly over the search's range; the step between.
static double TauGrid(const FITDATA* p, int nTau, double* pdLogTau)
{
    double dStep = (p->dHigh[DIM_LOG_TAU] - p->dLow[DIM_LOG_TAU]) / (nTau - 1);

    for (int i = 0; i < nTau; i++)
        pdLogTau[i] = p->dLow[DIM_LOG_TAU] + i * dStep;
    return dStep;
}

double RoundingCost(const FITDATA* p)
{
    return p->nMoving / 12.0;
}

// Whether the model *pMore with one number more explains the run clearly
// better than *pLess.
BOOL BetterBy(const FITDATA* p, const FITPOINT* pMore, const FITPOINT* pLess, double dRatio)
{
    double dSpare = pMore->dCost > RoundingCost(p) ? pMore->dCost : RoundingCost(p);
    return pMore->dGain > 0.0 && (pLess->dCost - pMore->dCost) / dSpare * (p->nValid - FIT_DIMS) > dRatio;
}

BOOL ClearlyBetter(const FITDATA* p, const FITPOINT* pMore, const FITPOINT* pLess)
{
    return BetterBy(p, pMore, pLess, MORE_F_RATIO);
}

// The search at each start; *pBest the best of them, a start before the
// first sample only where it is clearly better than a start from rest.
// Without pStarts, the search at *pBest's own start only; *pSearched, if
// given, that search's result at its start, taken as it is.
static void SearchStarts(FITDATA* p, FITPOINT* pBest, STARTS* pStarts, const FITPOINT* pSearched, GRID taus,
                         GRID delays, GRID limits, double hTau)
{
    int iBest = 0;

    if (pStarts == NULL) {
        SearchModel(p, pBest, taus, delays, limits, hTau);
        return;
    }
    pStarts->n = p->bLate ? HIDDEN_MAX + 1 : 1;
    for (int m = 0; m < pStarts->n; m++) {
        if (pSearched != NULL && lround(pSearched->dParam[DIM_HIDDEN]) == m) {
            pStarts->fit[m] = *pSearched;
        } else {
            pStarts->fit[m] = *pBest;
            pStarts->fit[m].dParam[DIM_HIDDEN] = m;
            SearchModel(p, &pStarts->fit[m], taus, delays, limits, hTau);
        }
        if (pStarts->fit[m].dCost < pStarts->fit[iBest].dCost)
            iBest = m;
    }
    if (iBest > 0 && !ClearlyBetter(p, &pStarts->fit[iBest], &pStarts->fit[0]))
        iBest = 0;
    *pBest = pStarts->fit[iBest];
}

// The fit without a limit.
void FitFree(FITDATA* p, FITPOINT* pBest, STARTS* pStarts)
{
    double dLogTau[TAU_GRID];
    GRID none = {NULL, 0}, taus = {dLogTau, p->bLate ? COARSE_TAU_GRID : TAU_GRID};
    GRID fine = {dDelayGrid, COUNT(dDelayGrid)}, coarse = {dCoarseDelayGrid, COUNT(dCoarseDelayGrid)};
    double hTau = TauGrid(p, taus.n, dLogTau) / 2;

    p->bLimited = FALSE;
    p->bLimitSearched = FALSE;
    p->dLow[DIM_LOG_SLOPE] = -HUGE_VAL;
    p->dHigh[DIM_LOG_SLOPE] = HUGE_VAL;
    memset(pBest, 0, sizeof(*pBest));
    SearchStarts(p, pBest, pStarts, NULL, taus, p->bLate ? coarse : fine, none, hTau);
}

// The fit with the drive's limit: the given one, or one searched below the
// run's peak output.
void FitLimited(FITDATA* p, double dKnownLimit, const FITPOINT* pFree, FITPOINT* pBest, STARTS* pStarts,
                const FITPOINT* pSearched)
{
    double dLimits[LIMIT_GRID], dLogTau[LIMIT_TAU_GRID];
    GRID limits = {dLimits, LIMIT_GRID}, none = {NULL, 0}, taus = {dLogTau, LIMIT_TAU_GRID};
    GRID coarse = {dCoarseDelayGrid, COUNT(dCoarseDelayGrid)}, late = {dCoarseDelayGrid, LATE_LIMIT_DELAYS};

    p->bLimited = TRUE;
    p->bLimitSearched = dKnownLimit <= 0.0;
    *pBest = *pFree;
    // Lags up to the free fit's: a limit makes a rise look slower.
    for (int i = 0; i < LIMIT_TAU_GRID; i++) {
        double d = pFree->dParam[DIM_LOG_TAU] + log(dLimitTauShare[i]);
        dLogTau[i] = d < p->dLow[DIM_LOG_TAU] ? p->dLow[DIM_LOG_TAU] : d;
    }
    if (dKnownLimit > 0.0) {
        p->dKnownLimit = dKnownLimit;
        SearchStarts(p, pBest, pStarts, pSearched, taus, coarse, none, 0.25);
        return;
    }
    for (int i = 0; i < LIMIT_GRID; i++)
        dLimits[i] = dLimitGrid[i] * pFree->dPeakOut;
    p->dLimitLow = LIMIT_MIN_FRACTION * pFree->dPeakOut;
    p->dLimitHigh = pFree->dPeakOut;
    // Dead times to twice the free fit's and a few periods more: a limit
    // slows the rise, it does not delay it.
    while (coarse.n > 1 && coarse.pd[coarse.n - 1] > 2.0 * pFree->dParam[DIM_DELAY] + LIMIT_DELAY_MARGIN)
        coarse.n--;
    SearchStarts(p, pBest, pStarts, pSearched, taus, p->bLate && late.n < coarse.n ? late : coarse, limits, 0.25);
}

