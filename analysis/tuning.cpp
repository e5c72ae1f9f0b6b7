// The tuning suggestion: the SIMC rules applied to the fitted model at the
// chosen tau_c, the settings rounded to what the controller takes, their
// predicted runs with the model's limit, the warning from the peak outputs,
// and a PID row only where it is a PID and does better than the PI.
#include "tuning_texts.h"

#include <math.h>
#include <string.h>

#define INT_LIMIT 2147483647.0
// Output swings: this many sign changes in a row of the law's output.
#define SWING_RUN 3
// A PID row earns its place by an IAE this much below the PI's.
#define PID_IAE_SHARE 0.95

void DefaultTuneOptions(TUNEOPTIONS* pOpt)
{
    pOpt->dTauC = TUNE_TAU_C_MIN;
    pOpt->dOutputLimit = 0.0;
}

BOOL IsTauCValid(double dTauC)
{
    return dTauC >= TUNE_TAU_C_MIN && dTauC <= TUNE_TAU_C_MAX;
}

BOOL IsOutputLimitValid(double dLimit)
{
    return dLimit > 0.0 && dLimit < 1e12;
}

// A setting rounded to what the controller takes: Kp in whole percent (at
// least 1), Ti and Td in whole 10 ms (a Ti of at least 10 ms). FALSE when
// one does not fit the file's 32-bit field.
static BOOL RoundSetting(double dKpPct, double dTiS, double dTdS, TUNESETTING* pSet)
{
    double dKp = floor(dKpPct + 0.5), dTi = floor(dTiS * 100.0 + 0.5), dTd = floor(dTdS * 100.0 + 0.5);

    if (!(dKp <= INT_LIMIT && dTi <= INT_LIMIT && dTd <= INT_LIMIT))
        return FALSE;
    pSet->iProp = dKp < 1.0 ? 1 : (int)dKp;
    pSet->iInt = dTi < 1.0 ? 1 : (int)dTi;
    pSet->iDiff = dTd < 0.0 ? 0 : (int)dTd;
    return TRUE;
}

// SIMC with the effective delay theta_e = theta + tau2/2 + T/2 (the hold
// adds half a period; the half rule gives the other half of a second lag
// to the first) and tau_c = F theta_e: PI Kc = tau' / (K (tau_c + theta_e)),
// Ti = min(tau', 4 (tau_c + theta_e)) with tau' = tau + tau2/2. The PID
// takes tau2 back with Td = tau2 in series (Kc and Ti from tau alone), or
// adds Td = theta_e / 3 to a model of one lag; converted to the law's
// parallel form.
static BOOL ApplySimc(const TUNING* pTune, TUNESETTING* pPi, TUNESETTING* pPid)
{
    const MOTORMODEL* pModel = &pTune->model;
    double dSum = pTune->dTauCS + pTune->dThetaES, dTau = pModel->dTauS + pModel->dTau2S / 2.0;
    double dKc = dTau / (pModel->dGain * dSum);
    double dTi = dTau < 4.0 * dSum ? dTau : 4.0 * dSum;
    double dKcPid = dKc, dTiPid = dTi, dTd = pTune->dThetaES / 3.0;

    if (pModel->dTau2S > 0.0) {
        dKcPid = pModel->dTauS / (pModel->dGain * dSum);
        dTiPid = pModel->dTauS < 4.0 * dSum ? pModel->dTauS : 4.0 * dSum;
        dTd = pModel->dTau2S;
    }
    return RoundSetting(100.0 * dKc, dTi, 0.0, pPi)
        && RoundSetting(100.0 * dKcPid * (1.0 + dTd / dTiPid), dTiPid + dTd, dTiPid * dTd / (dTiPid + dTd), pPid);
}

// Predicts a setting from rest; FALSE where the model's loop diverges or
// does not settle within the run (as a run that saturates long may not).
static BOOL Predict(const TUNING* pTune, const MEASRECORD* pRec, TUNESETTING* pSet, PREDICTION* pPred)
{
    const MOTORMODEL* pModel = &pTune->model;

    PredictRun(pModel, pRec, pSet->iProp, pSet->iInt, pSet->iDiff, FALSE, pPred, &pSet->recPredicted);
    if (pPred->bDiverged)
        return FALSE;
    CalcSpeedFigures(&pSet->recPredicted, pPred->dSpeed, &pSet->fig);
    if (!pSet->fig.bSettling)
        return FALSE;
    pSet->dPeakOut = pPred->dPeakOut;
    pSet->dPeakFactor = pModel->dRunPeakOut > 0.0 ? pPred->dPeakOut / pModel->dRunPeakOut : 0.0;
    pSet->bReachesLimit = pModel->bLimit && pPred->dPeakOut >= pModel->dLimit;
    pSet->bWarning = pModel->bLimit ? pSet->bReachesLimit : pSet->dPeakFactor > TUNE_WARN_FACTOR;
    MakeWarning(pModel, pSet);
    return TRUE;
}

// Whether the law's output changes sign from sample to sample, SWING_RUN
// times in a row: a loop ringing at the sampling rate.
static BOOL OutputSwings(const PREDICTION* pPred)
{
    int nRun = 0;

    for (int k = 1; k < pPred->nSamples; k++) {
        nRun = pPred->dOut[k] * pPred->dOut[k - 1] < 0.0 ? nRun + 1 : 0;
        if (nRun >= SWING_RUN)
            return TRUE;
    }
    return FALSE;
}

// The PID row is given where it is one (Td not rounded to 0), its output
// does not swing, and its predicted IAE is below the PI's.
static int PidVerdict(const TUNING* pTune, const PREDICTION* pPred, BOOL bPredicted)
{
    if (pTune->pid.iDiff == 0)
        return PID_NO_DIFF;
    if (!bPredicted || OutputSwings(pPred))
        return PID_SWINGS;
    if (!(pTune->pid.fig.dIaeRpmS < PID_IAE_SHARE * pTune->pi.fig.dIaeRpmS))
        return PID_NO_BETTER;
    return PID_GIVEN;
}

// The model and its replay, which the fit has made follow the run.
static void FitRun(const MEASRECORD* pRec, TUNING* pTune, PREDICTION* pPred)
{
    pTune->iFitOutcome = FitMotorModel(pRec, &pTune->opt, &pTune->model);
    PredictRun(&pTune->model, pRec, pRec->iPramProp, pRec->iPramInt, pRec->iPramDiff, TRUE, pPred, &pTune->recReplay);
    pTune->bReplayDiverged = pPred->bDiverged;
    if (pTune->iFitOutcome != FIT_OK)
        return;
    if (pPred->bDiverged)
        pTune->iFitOutcome = FIT_REPLAY_DIVERGED;
}

static void NoSetting(const MEASRECORD* pRec, TUNESETTING* pSet)
{
    memset(pSet, 0, sizeof(*pSet));
    StartPredictedRecord(pRec, 0, 0, 0, &pSet->recPredicted);
    CalcStepFigures(&pSet->recPredicted, &pSet->fig);
}

void CalcTuning(const MEASRECORD* pRec, const TUNEOPTIONS* pOpt, TUNING* pTune)
{
    static PREDICTION pred; // some 4 KB each: kept off the stack
    static PREDICTION predPid;

    memset(pTune, 0, sizeof(*pTune));
    DefaultTuneOptions(&pTune->opt);
    if (pOpt != NULL && IsTauCValid(pOpt->dTauC))
        pTune->opt.dTauC = pOpt->dTauC;
    if (pOpt != NULL && IsOutputLimitValid(pOpt->dOutputLimit))
        pTune->opt.dOutputLimit = pOpt->dOutputLimit;
    NoSetting(pRec, &pTune->pi);
    NoSetting(pRec, &pTune->pid);
    FitRun(pRec, pTune, &pred);
    if (pTune->model.bModel) {
        pTune->dThetaES = pTune->model.dThetaS + pTune->model.dTau2S / 2.0 + pRec->iPramSamp / 200.0;
        pTune->dTauCS = pTune->opt.dTauC * pTune->dThetaES;
    }
    if (pTune->iFitOutcome != FIT_OK) {
        MakeFitReason(pTune->iFitOutcome, pRec, &pTune->model, pTune->szReason);
        return;
    }
    MakeFitNote(&pTune->model, pTune->szNote);
    if (!ApplySimc(pTune, &pTune->pi, &pTune->pid)) {
        MakeTuneReason(TUNE_OUT_OF_RANGE, pTune);
    } else if (!Predict(pTune, pRec, &pTune->pi, &pred)) {
        MakeTuneReason(pred.bDiverged ? TUNE_DIVERGES : TUNE_UNSETTLED, pTune);
    } else {
        pTune->bSuggestion = TRUE;
        int iVerdict = PidVerdict(pTune, &predPid, Predict(pTune, pRec, &pTune->pid, &predPid));
        pTune->bPid = iVerdict == PID_GIVEN;
        if (!pTune->bPid)
            MakePidReason(iVerdict, pTune);
    }
    if (!pTune->bSuggestion)
        NoSetting(pRec, &pTune->pi);
    if (!pTune->bPid)
        NoSetting(pRec, &pTune->pid);
}
