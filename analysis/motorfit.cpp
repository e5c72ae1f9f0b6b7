// The motor's model from one run. The samples are what the controller saw,
// so its outputs are recomputed from them (fitdata.cpp), the model's
// response to them fitted (fitcost.cpp, fitsearch.cpp) and the result
// refined in closed loop (replayfit.cpp); here the fits without and with
// the drive's limit U are weighed (a run held at its limit shows a straight
// ramp that no unlimited lag explains), and the model is judged: withheld
// where the run cannot tell its start, or whether its drive saturated.
#include "motorfit.h"

#include <math.h>
#include <string.h>

// A limit is believed where the law asked at its peak for half as much
// again: a small cut of the first outputs fits a slower start (a second
// lag) as well as a limit does.
#define LIMIT_MAX_SHARE 0.67
// ... and a third again where it is weighed with two lags against two
// lags without it, if it explains the run by this F ratio (a misfit of the
// two lags' start is cut alike).
#define LIMIT_MAX_SHARE_TWO_LAGS 0.75
#define NEAR_PEAK_F_RATIO 100.0
// A fit to recomputed outputs that leaves this many times the best one's
// squared error over (a free fit beside a limited one, a start beside the
// chosen) is not refined: no refinement closes that.
#define FAR_BEHIND_SHARE 10.0
// After a late start, another start that explains the run within this
// share of the best squared error is as good as the best; settings that
// differ by this ratio differ.
#define AMBIGUOUS_COST_RATIO 2.0
#define AMBIGUOUS_SETTING_RATIO 1.25

// Whether the limited fit is believed over *pWithout, the same without the
// limit (both refined in closed loop): the law passed it, asked at its
// peak for 1 / dMaxShare of it, and it explains the run by an F ratio
// above dRatio. A limit at the bottom of its search is not believed.
static BOOL LimitBelieved(const FITDATA* p, const FITPOINT* pWithout, const FITPOINT* pLimited, double dMaxShare,
                          double dRatio)
{
    return pLimited->nClipped >= LIMIT_MIN_CLIPPED && LimitOf(p, pLimited) <= dMaxShare * pLimited->dPeakOut
        && LimitOf(p, pLimited) > p->dLimitLow * 1.001 && BetterBy(p, pLimited, pWithout, dRatio);
}

BOOL LimitExplains(const FITDATA* p, const FITPOINT* pFree, const FITPOINT* pLimited)
{
    return LimitBelieved(p, pFree, pLimited, LIMIT_MAX_SHARE, MORE_F_RATIO);
}

// What another start would change in the settings: SIMC's gain (with
// theta_e in periods), theta_e, and Ti (tau_c = theta_e); a second lag
// split between the lag and the dead time by halves, as the rule does.
#define SCALES 3
static void SettingScale(const FITPOINT* pt, double* pdScale)
{
    double dTau1 = exp(pt->dParam[DIM_LOG_TAU]), dHalf2 = pt->dParam[DIM_LAG2] * dTau1 / 2.0;
    double dThetaE = pt->dParam[DIM_DELAY] + dHalf2 + 0.5, dTau = dTau1 + dHalf2;

    pdScale[0] = dTau / (pt->dGain * dThetaE);
    pdScale[1] = dThetaE;
    pdScale[2] = dTau < 8.0 * dThetaE ? dTau : 8.0 * dThetaE;
}

// After a late start, whether another start explains the run almost as
// well with settings that would differ: then the run cannot tell the
// motor's numbers from its start. The starts are compared as fitted to
// recomputed outputs, each on its own.
static BOOL Differ(const FITPOINT* pOne, const FITPOINT* pOther)
{
    double dScale[SCALES], dOther[SCALES];

    SettingScale(pOne, dScale);
    SettingScale(pOther, dOther);
    for (int i = 0; i < SCALES; i++) {
        if (fabs(log(dOther[i] / dScale[i])) > log(AMBIGUOUS_SETTING_RATIO))
            return TRUE;
    }
    return FALSE;
}

// A fit's squared error, or what the rounding alone leaves if more.
static double AtLeastRounding(const FITDATA* p, const FITPOINT* pt)
{
    return pt->dCost > RoundingCost(p) ? pt->dCost : RoundingCost(p);
}

// Whether *pOther leaves FAR_BEHIND_SHARE times *pBest's squared error
// over, both fitted to recomputed outputs: no refinement closes that.
static BOOL FarBehind(const FITDATA* p, const FITPOINT* pOther, const FITPOINT* pBest)
{
    return pOther->dCost - pBest->dCost > FAR_BEHIND_SHARE * AtLeastRounding(p, pBest);
}

// Whether *pOther, a start of either kind, explains the run in closed loop
// about as well as *pChosen with settings that differ; p's kind flags set
// for *pOther's kind.
static BOOL AsGoodInClosedLoop(const MEASRECORD* pRec, const FITDATA* p, const FITPOINT* pChosen, FITPOINT other)
{
    if (!(other.dGain > 0.0))
        return FALSE;
    ReplayAt(pRec, p, &other);
    return other.dCost < AMBIGUOUS_COST_RATIO * AtLeastRounding(p, pChosen)
        && (!p->bLimited || other.nClipped >= LIMIT_MIN_CLIPPED) && Differ(pChosen, &other);
}

// Whether another start than nHidden's, as fitted to recomputed outputs,
// explains the run about as well with settings that differ.
static BOOL OtherStartAsGood(const FITDATA* p, const STARTS* pStarts, int nHidden)
{
    const FITPOINT* pBest = &pStarts->fit[nHidden];

    for (int m = 0; m < pStarts->n; m++) {
        const FITPOINT* pOther = &pStarts->fit[m];
        if (m != nHidden && pOther->dGain > 0.0 && pOther->dCost < AMBIGUOUS_COST_RATIO * AtLeastRounding(p, pBest)
            && Differ(pBest, pOther))
            return TRUE;
    }
    return FALSE;
}

static BOOL StartIsAmbiguous(const MEASRECORD* pRec, FITDATA* p, const STARTS* pStarts, const STARTS* pOtherKind,
                             const FITPOINT* pChosen)
{
    int nHidden = (int)lround(pChosen->dParam[DIM_HIDDEN]);
    BOOL bLimited = p->bLimited, bSearched = p->bLimitSearched, bAmbiguous = FALSE;

    if (OtherStartAsGood(p, pStarts, nHidden))
        return TRUE;
    // The starts next to it, refined as the chosen one was where they may
    // come near it.
    for (int m = nHidden - 1; m <= nHidden + 1; m += 2) {
        if (m < 0 || m >= pStarts->n || FarBehind(p, &pStarts->fit[m], &pStarts->fit[nHidden]))
            continue;
        FITPOINT other = pStarts->fit[m];
        RefineInClosedLoop(pRec, p, &other);
        if (other.dGain > 0.0 && other.dCost < AMBIGUOUS_COST_RATIO * AtLeastRounding(p, pChosen)
            && Differ(pChosen, &other))
            return TRUE;
    }
    // With a searched limit, every start of the other kind in closed loop
    // as it was found (a drive held at a limit and a run started earlier
    // both slow the first rise, and the fits to recomputed outputs of a
    // long saturation are pulled by the rounding).
    p->bLimited = p->bLimitSearched = !bLimited;
    for (int m = 0; pOtherKind != NULL && m < pOtherKind->n && !bAmbiguous; m++)
        bAmbiguous = AsGoodInClosedLoop(pRec, p, pChosen, pOtherKind->fit[m]);
    p->bLimited = bLimited;
    p->bLimitSearched = bSearched;
    return bAmbiguous;
}

// The model of the best fit, in seconds and rpm.
static void TakeModel(const MEASRECORD* pRec, const FITDATA* p, const FITPOINT* pt, MOTORMODEL* pModel)
{
    double dPeriodS = pRec->iPramSamp / 100.0;

    pModel->bModel = TRUE;
    pModel->dGain = pt->dGain;
    pModel->dTauS = exp(pt->dParam[DIM_LOG_TAU]) * dPeriodS;
    pModel->dThetaS = pt->dParam[DIM_DELAY] * dPeriodS;
    pModel->dTau2S = pt->dParam[DIM_LAG2] * pModel->dTauS;
    pModel->dRmsRpm = 100.0 * sqrt((pt->dCost < HUGE_VAL ? pt->dCost / FreeSpanPenalty(p, pt) : pt->dOpenCost) / p->nValid);
    pModel->bLimit = p->bLimited;
    pModel->dLimit = p->bLimited ? LimitOf(p, pt) : 0.0;
    pModel->nClipped = p->bLimited ? pt->nClipped : 0;
    pModel->nHidden = p->bLate ? (int)lround(pt->dParam[DIM_HIDDEN]) : 0;
    pModel->bLateStart = pModel->nHidden > 0;
    pModel->iFirstSample = (int)p->dSpeed[p->iFirst];
    pModel->dRunPeakOut = pt->dPeakOut;
}

double TuneRmsLimit(const MEASRECORD* pRec)
{
    double dLimit = (double)pRec->iPramRotate * TUNE_MAX_RMS_PERCENT;
    return dLimit > TUNE_MAX_RMS_RPM ? dLimit : TUNE_MAX_RMS_RPM;
}

// Whether the fit rests on the edge of its search, or on too little.
static int Outcome(const MEASRECORD* pRec, const FITDATA* p, const FITPOINT* pt, const MOTORMODEL* pModel)
{
    if (pt->dParam[DIM_LOG_TAU] <= p->dLow[DIM_LOG_TAU] + 1e-4)
        return FIT_TAU_SHORT;
    if (pt->dParam[DIM_LOG_TAU] >= p->dHigh[DIM_LOG_TAU] - 1e-4)
        return FIT_TAU_LONG;
    if (pt->dParam[DIM_DELAY] >= p->dHigh[DIM_DELAY] - 1e-4)
        return FIT_DELAY_LONG;
    if (pModel->bLateStart && pModel->nHidden >= HIDDEN_MAX)
        return FIT_LATE_START;
    if (pModel->dRmsRpm > TuneRmsLimit(pRec))
        return FIT_POOR;
    return FIT_OK;
}

// Whether the limited fit, refined in closed loop but not believed over
// the free one, explains the run at least as well with settings that
// differ: then the run cannot tell whether its drive saturated.
static BOOL LimitUnclear(const FITPOINT* pFree, const FITPOINT* pLimited)
{
    return pLimited->nClipped >= LIMIT_MIN_CLIPPED && pLimited->dGain > 0.0 && pFree->dGain > 0.0
        && pLimited->dCost <= pFree->dCost && Differ(pFree, pLimited);
}

// After a late start whose starts the free fit cannot tell apart, whether
// a limit explains the run clearly better at the free fit's start: where
// not, a limit would only add a number to fit, and the run is withheld
// without the search for one at every start. *pLimited that fit.
static BOOL LimitHelpsAtStart(FITDATA* p, const FITPOINT* pFreeOpen, FITPOINT* pLimited)
{
    FitLimited(p, 0.0, pFreeOpen, pLimited, NULL, NULL);
    p->bLimited = p->bLimitSearched = FALSE;
    return pLimited->nClipped >= LIMIT_MIN_CLIPPED && ClearlyBetter(p, pLimited, pFreeOpen);
}

// Both fits, free and limited, each to recomputed outputs and then in
// closed loop; *ppBest the one believed, with the fit to recomputed
// outputs and the starts it came from. FALSE where the run cannot tell
// which to believe, *pdUnclear the limit that may be; *pbStartUnclear TRUE,
// and the free fit only refined, where it cannot tell its start;
// *pbFreeBehind TRUE, and the free fit not refined, where the limited one
// left it far behind. A limited fit not refined in closed loop is left at
// a cost of HUGE_VAL.
static BOOL FitBoth(const MEASRECORD* pRec, FITDATA* p, double dKnownLimit, FITPOINT* pFree, FITPOINT* pLimited,
                    STARTS* pStartsFree, STARTS* pStartsLimited, const FITPOINT** ppBest, double* pdUnclear,
                    BOOL* pbStartUnclear, BOOL* pbFreeBehind)
{
    FITPOINT freeOpen, probe;

    FitFree(p, pFree, pStartsFree);
    freeOpen = *pFree;
    *ppBest = pFree;
    if (dKnownLimit > 0.0) {
        FitLimited(p, dKnownLimit, &freeOpen, pLimited, pStartsLimited, NULL);
        RefineInClosedLoop(pRec, p, pLimited);
        *ppBest = pLimited;
        return TRUE;
    }
    BOOL bProbed = p->bLate && freeOpen.dPeakOut > 0.0
                && OtherStartAsGood(p, pStartsFree, (int)lround(freeOpen.dParam[DIM_HIDDEN]));
    *pbStartUnclear = bProbed && !LimitHelpsAtStart(p, &freeOpen, &probe);
    if (!(freeOpen.dPeakOut > 0.0) || *pbStartUnclear) {
        RefineInClosedLoop(pRec, p, pFree);
        return TRUE;
    }
    FitLimited(p, 0.0, &freeOpen, pLimited, pStartsLimited, bProbed ? &probe : NULL);
    // Each refined where it may be kept: the free fit not where the limit
    // leaves it far behind already, the limited one where it was reached
    // and helped clearly, or where the replay finds a limit that may.
    BOOL bLimitReached = pLimited->nClipped >= LIMIT_MIN_CLIPPED && ClearlyBetter(p, pLimited, &freeOpen);
    BOOL bFreeBehind = bLimitReached && FarBehind(p, &freeOpen, pLimited);
    *pbFreeBehind = bFreeBehind;
    p->bLimited = p->bLimitSearched = FALSE;
    if (!bFreeBehind)
        RefineInClosedLoop(pRec, p, pFree);
    p->bLimited = p->bLimitSearched = TRUE;
    if (!RefineLimitInClosedLoop(pRec, p, pFree, pStartsFree, bLimitReached, pLimited)) {
        pLimited->dCost = HUGE_VAL; // not weighed, here or with two lags
        return TRUE;
    }
    // A run neither model explains is told as saturated where the limit
    // helped.
    if (LimitExplains(p, pFree, pLimited)
        || (pFree->dCost > p->nValid * pow(TuneRmsLimit(pRec) / 100.0, 2) && pLimited->dCost < pFree->dCost
            && pLimited->nClipped >= LIMIT_MIN_CLIPPED))
        *ppBest = pLimited;
    *pdUnclear = LimitOf(p, pLimited);
    return *ppBest == pLimited || bFreeBehind || !LimitUnclear(pFree, pLimited);
}

int FitMotorModel(const MEASRECORD* pRec, const TUNEOPTIONS* pOpt, MOTORMODEL* pModel)
{
    // Some 40 KB in all: kept off the stack.
    static FITDATA fit;
    static STARTS startsFree, startsLimited;
    FITPOINT free, limited, limitedSecond;
    const FITPOINT* pBest;
    int iOutcome;

    memset(pModel, 0, sizeof(*pModel));
    if (pRec->iPramSamp <= 0)
        return FIT_NO_PERIOD;
    if (pRec->iPramRotate <= 0)
        return FIT_NO_TARGET;
    if (pRec->iPramProp <= 0)
        return FIT_NO_GAIN;
    if (!PrepareFit(pRec, &fit, &iOutcome)) {
        pModel->nSamples = fit.nValid;
        return iOutcome;
    }
    pModel->nSamples = fit.nValid;
    fit.dLow[DIM_LOG_TAU] = log(TAU_MIN_PERIODS);
    fit.dHigh[DIM_LOG_TAU] = log(TAU_MAX_RUNS * fit.iLast);
    fit.dLow[DIM_DELAY] = 0.0;
    fit.dHigh[DIM_DELAY] = fit.iLast / 2.0 < DELAY_MAX_PERIODS ? fit.iLast / 2.0 : DELAY_MAX_PERIODS;
    fit.dLow[DIM_LAG2] = 0.0;
    fit.dHigh[DIM_LAG2] = LAG2_MAX_SHARE;
    fit.bSecondLag = FALSE;

    double dUnclear = 0.0;
    startsLimited.n = 0; // none where no limit is searched
    limited.dCost = HUGE_VAL;
    BOOL bStartUnclear = FALSE, bFreeBehind = FALSE;
    BOOL bClear = FitBoth(pRec, &fit, pOpt->dOutputLimit, &free, &limited, &startsFree, &startsLimited, &pBest,
                          &dUnclear, &bStartUnclear, &bFreeBehind);
    fit.bLimited = pBest == &limited;
    fit.bLimitSearched = fit.bLimited && pOpt->dOutputLimit <= 0.0;
    if (!(pBest->dGain > 0.0) || !isfinite(pBest->dGain))
        return FIT_NOT_DRIVEN;
    FITPOINT second = *pBest, freeSecond = free;
    BOOL bLagsUnclear = FALSE, bFreeSecond = FALSE;
    // A limit found where it cut the law's first outputs a little explains
    // the slow start of two lags as well: it is kept only where it explains
    // the run better than two lags without it (where it left the free fit
    // far behind, it cut far more than a little).
    if (fit.bLimitSearched && !bFreeBehind && free.dCost < HUGE_VAL && free.dGain > 0.0) {
        fit.bLimited = fit.bLimitSearched = FALSE;
        RefineSecondLag(pRec, &fit, &startsFree, &freeSecond);
        bFreeSecond = TRUE;
        if (freeSecond.dCost <= pBest->dCost)
            pBest = &free;
        fit.bLimited = fit.bLimitSearched = pBest == &limited;
    }
    // A second lag where it explains the run clearly better: a motor's
    // current and its mass, say, or a filter on the speed. After a late
    // start, two lags that explain the run about as well with settings that
    // differ leave the start unknown: an earlier start and a longer dead
    // time make the slow start of two lags.
    if (pBest == &free && bFreeSecond) {
        second = freeSecond;
    } else if (pBest->dCost < HUGE_VAL && !bStartUnclear) {
        second = *pBest;
        RefineSecondLag(pRec, &fit, fit.bLimited ? &startsLimited : &startsFree, &second);
    }
    if (second.dCost < HUGE_VAL && second.dParam[DIM_LAG2] > 0.0 && ClearlyBetter(&fit, &second, pBest))
        pBest = &second;
    else if (fit.bLate && second.dGain > 0.0 && second.dCost < AMBIGUOUS_COST_RATIO * AtLeastRounding(&fit, pBest))
        bLagsUnclear = Differ(pBest, &second);
    // Where two lags without a limit are kept, a limit that they cannot
    // absorb is weighed against them with two lags of its own.
    if (pBest == &second && !fit.bLimited && pOpt->dOutputLimit <= 0.0 && limited.dCost < HUGE_VAL
        && limited.dGain > 0.0 && !bStartUnclear) {
        limitedSecond = limited;
        fit.bLimited = fit.bLimitSearched = TRUE;
        RefineSecondLag(pRec, &fit, &startsLimited, &limitedSecond);
        if (limitedSecond.dCost < HUGE_VAL
            && (LimitExplains(&fit, &second, &limitedSecond)
                || LimitBelieved(&fit, &second, &limitedSecond, LIMIT_MAX_SHARE_TWO_LAGS, NEAR_PEAK_F_RATIO)))
            pBest = &limitedSecond;
        else
            fit.bLimited = fit.bLimitSearched = FALSE;
    }
    TakeModel(pRec, &fit, pBest, pModel);
    pModel->bLimitFound = fit.bLimitSearched;
    if (pBest->dCost == HUGE_VAL)
        return FIT_REPLAY_DIVERGED;
    iOutcome = Outcome(pRec, &fit, pBest, pModel);
    if (iOutcome == FIT_OK && !bClear) {
        pModel->dLimit = dUnclear; // for the reason
        return FIT_LIMIT_UNCLEAR;
    }
    if (iOutcome == FIT_OK && fit.bLate
        && (bStartUnclear || bLagsUnclear || StartIsAmbiguous(pRec, &fit, fit.bLimited ? &startsLimited : &startsFree,
                            pOpt->dOutputLimit > 0.0 ? NULL : fit.bLimited ? &startsFree : &startsLimited, pBest)))
        iOutcome = FIT_LATE_START;
    return iOutcome;
}
