// The compass search both fits refine their numbers with: plain, counted,
// deterministic.
#include "motorfit.h"

#include <math.h>

static double Clamp(double d, double dLow, double dHigh)
{
    return d < dLow ? dLow : d > dHigh ? dHigh : d;
}

void CompassSearch(FITPOINT* pBest, const BOOL* bDim, double* h, const double* dTol, const double* dLow,
                   const double* dHigh, int nSteps, FITCOSTPROC pfnCost, const void* pContext)
{
    for (int iStep = 0; iStep < nSteps; iStep++) {
        FITPOINT move = *pBest;
        BOOL bSmall = TRUE;
        for (int n = 0; n < FIT_DIMS; n++)
            bSmall = bSmall && (!bDim[n] || h[n] < dTol[n]);
        if (bSmall)
            return;
        // The neighbours costed together, then taken in order.
        FITPOINT pts[2 * FIT_DIMS];
        int nPts = 0;
        for (int n = 0; n < FIT_DIMS; n++) {
            for (int iSign = -1; bDim[n] && iSign <= 1; iSign += 2) {
                FITPOINT* pt = &pts[nPts++];
                *pt = *pBest;
                pt->dParam[n] = Clamp(pt->dParam[n] + iSign * h[n], dLow[n], dHigh[n]);
                pt->dBound = pBest->dCost;
            }
        }
        pfnCost(pContext, pts, nPts);
        for (int i = 0; i < nPts; i++) {
            if (pts[i].dCost < move.dCost)
                move = pts[i];
        }
        if (move.dCost < pBest->dCost) {
            *pBest = move;
        } else {
            for (int n = 0; n < FIT_DIMS; n++)
                h[n] /= 2;
        }
    }
}

// Nelder and Mead's simplex over the dimensions bDim, from *pBest with
// first steps h, within [dLow, dHigh]: it turns along a narrow valley,
// where a compass creeps. Restarted once from its best, with its steps
// halved, where it has shrunk before the budget runs out.
#define SIMPLEX_MAX (FIT_DIMS + 1)
#define SIMPLEX_FLAT 1e-4

// The point t of the way from *pA to *pB in the dimensions searched; the
// others, a start among them, stay *pA's. *pOut may be either.
static void Blend(const FITPOINT* pA, const FITPOINT* pB, double t, const BOOL* bDim, const double* dLow,
                  const double* dHigh, FITPOINT* pOut)
{
    FITPOINT out = *pA;

    out.dBound = HUGE_VAL;
    for (int n = 0; n < FIT_DIMS; n++) {
        if (bDim[n])
            out.dParam[n] = Clamp(pA->dParam[n] + t * (pB->dParam[n] - pA->dParam[n]), dLow[n], dHigh[n]);
    }
    *pOut = out;
}

static int SimplexRound(FITPOINT* pBest, const BOOL* bDim, const double* h, const double* dLow, const double* dHigh,
                        FITCOSTPROC pfnCost, const void* pContext, int nBudget)
{
    FITPOINT v[SIMPLEX_MAX], c, r, e;
    int nv = 1, nUsed = 0;

    v[0] = *pBest;
    for (int n = 0; n < FIT_DIMS; n++) {
        if (!bDim[n])
            continue;
        v[nv] = *pBest;
        v[nv].dParam[n] = Clamp(v[nv].dParam[n] + h[n], dLow[n], dHigh[n]);
        v[nv].dBound = HUGE_VAL;
        pfnCost(pContext, &v[nv++], 1);
        nUsed++;
    }
    while (nUsed < nBudget) {
        // Order: best first.
        for (int i = 1; i < nv; i++) {
            for (int j = i; j > 0 && v[j].dCost < v[j - 1].dCost; j--) {
                FITPOINT t = v[j];
                v[j] = v[j - 1];
                v[j - 1] = t;
            }
        }
        // Shrunk to where its vertices cost the same: the rest would be spent
        // on nothing.
        if (v[nv - 1].dCost - v[0].dCost <= SIMPLEX_FLAT * v[0].dCost)
            break;
        c = v[0];
        for (int n = 0; n < FIT_DIMS; n++) {
            if (!bDim[n])
                continue;
            double d = 0.0;
            for (int i = 0; i < nv - 1; i++)
                d += v[i].dParam[n];
            c.dParam[n] = d / (nv - 1);
        }
        // A trial worse than the worst vertex is never kept: its cost need
        // not be summed to the end.
        Blend(&c, &v[nv - 1], -1.0, bDim, dLow, dHigh, &r);
        r.dBound = v[nv - 1].dCost;
        pfnCost(pContext, &r, 1);
        nUsed++;
        if (r.dCost < v[0].dCost) {
            Blend(&c, &v[nv - 1], -2.0, bDim, dLow, dHigh, &e);
            e.dBound = r.dCost;
            pfnCost(pContext, &e, 1);
            nUsed++;
            v[nv - 1] = e.dCost < r.dCost ? e : r;
        } else if (r.dCost < v[nv - 2].dCost) {
            v[nv - 1] = r;
        } else {
            Blend(&c, &v[nv - 1], 0.5, bDim, dLow, dHigh, &e);
            e.dBound = v[nv - 1].dCost;
            pfnCost(pContext, &e, 1);
            nUsed++;
            if (e.dCost < v[nv - 1].dCost) {
                v[nv - 1] = e;
            } else {
                for (int i = 1; i < nv; i++) {
                    Blend(&v[0], &v[i], 0.5, bDim, dLow, dHigh, &v[i]);
                    pfnCost(pContext, &v[i], 1);
                    nUsed++;
                }
            }
        }
    }
    for (int i = 0; i < nv; i++) {
        if (v[i].dCost < pBest->dCost)
            *pBest = v[i];
    }
    return nUsed;
}

void SimplexSearch(FITPOINT* pBest, const BOOL* bDim, const double* h, const double* dLow, const double* dHigh,
                   int nEvaluations, FITCOSTPROC pfnCost, const void* pContext)
{
    double hHalf[FIT_DIMS];

    SimplexRound(pBest, bDim, h, dLow, dHigh, pfnCost, pContext, nEvaluations / 2);
    for (int n = 0; n < FIT_DIMS; n++)
        hHalf[n] = h[n] / 2;
    SimplexRound(pBest, bDim, hHalf, dLow, dHigh, pfnCost, pContext, nEvaluations / 2);
}
