// The tuning suggestion: the SIMC rules applied to the fitted model, the
// settings rounded to what the controller takes, the start-output warning,
// and the reason when no suggestion is made.
#include "tuning.h"

#include "decimals.h"

#include <math.h>
#include <string.h>

#define INT_LIMIT 2147483647.0

// Appends lpszText to the text in psz (TUNE_TEXT_SIZE bytes), as far as it fits.
static void Append(LPSTR psz, LPCSTR lpszText)
{
    size_t n = strlen(psz);
    while (*lpszText != '\0' && n + 1 < TUNE_TEXT_SIZE)
        psz[n++] = *lpszText++;
    psz[n] = '\0';
}

static void AppendFixed(LPSTR psz, double d, int iDecimals)
{
    CHAR szNumber[DECIMAL_TEXT_SIZE];
    FormatFixed(szNumber, d, iDecimals);
    Append(psz, szNumber);
}

// The reason for an outcome, in the user's words.
static void FitReason(int iOutcome, const MEASRECORD* pRec, const MOTORMODEL* pModel, LPSTR psz)
{
    CHAR szCount[DECIMAL_TEXT_SIZE];
    double dLimit = (double)pRec->iPramRotate * TUNE_MAX_RMS_PERCENT;

    psz[0] = '\0';
    switch (iOutcome) {
    case FIT_NO_PERIOD:
        Append(psz, "サンプリング周期が 0 以下です。");
        break;
    case FIT_NO_TARGET:
        Append(psz, "目標回転数が 0 以下です。");
        break;
    case FIT_NO_GAIN:
        Append(psz, "Kp が 0 以下です。");
        break;
    case FIT_FEW_SAMPLES:
        FormatInteger(szCount, pModel->nSamples);
        Append(psz, "有効なサンプルが ");
        Append(psz, szCount);
        Append(psz, " 点しかありません (");
        FormatInteger(szCount, TUNE_MIN_SAMPLES);
        Append(psz, szCount);
        Append(psz, " 点以上必要です)。");
        break;
    case FIT_NO_RESPONSE:
        Append(psz, "回転数がほとんど変化していません。");
        break;
    case FIT_NOT_DRIVEN:
        Append(psz, "回転数が制御出力に応じて変化していません。");
        break;
    case FIT_TAU_SHORT:
        Append(psz, "モータの応答がサンプリング周期に比べて速すぎ、時定数を求められません。");
        break;
    case FIT_TAU_LONG:
        Append(psz, "モータの時定数が測定時間に比べて長すぎ、求められません。");
        break;
    case FIT_DELAY_LONG:
        Append(psz, "むだ時間が測定時間に比べて長すぎ、求められません。");
        break;
    case FIT_POOR:
        Append(psz, "モデルの誤差 (RMS ");
        AppendFixed(psz, pModel->dRmsRpm, 0);
        Append(psz, " rpm) が許容値 (");
        AppendFixed(psz, dLimit > TUNE_MAX_RMS_RPM ? dLimit : TUNE_MAX_RMS_RPM, 0);
        Append(psz, " rpm) を超えています。出力が飽和したか、モータが一次遅れで表せません。");
        break;
    }
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

// The run's start output is Kp/100 e_0, the setting's Kp'/100 e_0: a factor
// that shows as 1.0 is no warning.
static void StartWarning(const MEASRECORD* pRec, TUNESETTING* pSet)
{
    pSet->dStartFactor = (double)pSet->iProp / pRec->iPramProp;
    pSet->bWarning = pSet->dStartFactor >= 1.05;
    pSet->szWarning[0] = '\0';
    if (!pSet->bWarning)
        return;
    Append(pSet->szWarning, "始動時の出力が今回の ");
    AppendFixed(pSet->szWarning, pSet->dStartFactor, 1);
    Append(pSet->szWarning, " 倍になります。出力が飽和すると予測より行き過ぎます。");
}

static void Predict(const TUNING* pTune, const MEASRECORD* pRec, TUNESETTING* pSet)
{
    PredictRun(&pTune->model, pRec, pSet->iProp, pSet->iInt, pSet->iDiff, &pSet->recPredicted);
    CalcStepFigures(&pSet->recPredicted, &pSet->fig);
    StartWarning(pRec, pSet);
}

// SIMC with the effective delay theta + T/2 (the hold adds half a period)
// and tau_c = theta_e: PI Kc = tau / (K (tau_c + theta_e)), Ti = min(tau,
// 4 (tau_c + theta_e)); the PID adds Td = theta_e / 3 in series, converted
// to the law's parallel form.
static BOOL ApplySimc(const MOTORMODEL* pModel, const MEASRECORD* pRec, TUNESETTING* pPi, TUNESETTING* pPid)
{
    double dThetaE = pModel->dThetaS + pRec->iPramSamp / 200.0;
    double dKc = pModel->dTauS / (pModel->dGain * 2.0 * dThetaE);
    double dTi = pModel->dTauS < 8.0 * dThetaE ? pModel->dTauS : 8.0 * dThetaE;
    double dTd = dThetaE / 3.0;

    return RoundSetting(100.0 * dKc, dTi, 0.0, pPi)
        && RoundSetting(100.0 * dKc * (1.0 + dTd / dTi), dTi + dTd, dTi * dTd / (dTi + dTd), pPid);
}

// No setting: an empty run and its figures (none).
static void NoSetting(const MEASRECORD* pRec, TUNESETTING* pSet)
{
    MOTORMODEL none;

    memset(&none, 0, sizeof(none));
    memset(pSet, 0, sizeof(*pSet));
    PredictRun(&none, pRec, 0, 0, 0, &pSet->recPredicted);
    CalcStepFigures(&pSet->recPredicted, &pSet->fig);
}

void CalcTuning(const MEASRECORD* pRec, TUNING* pTune)
{
    memset(pTune, 0, sizeof(*pTune));
    pTune->iFitOutcome = FitMotorModel(pRec, &pTune->model);
    PredictRun(&pTune->model, pRec, pRec->iPramProp, pRec->iPramInt, pRec->iPramDiff, &pTune->recReplay);
    NoSetting(pRec, &pTune->pi);
    NoSetting(pRec, &pTune->pid);
    if (pTune->iFitOutcome != FIT_OK) {
        FitReason(pTune->iFitOutcome, pRec, &pTune->model, pTune->szReason);
        return;
    }
    if (!ApplySimc(&pTune->model, pRec, &pTune->pi, &pTune->pid)) {
        Append(pTune->szReason, "提案する設定値が記録できる範囲を超えます。");
        NoSetting(pRec, &pTune->pi);
        NoSetting(pRec, &pTune->pid);
        return;
    }
    pTune->bSuggestion = TRUE;
    Predict(pTune, pRec, &pTune->pi);
    Predict(pTune, pRec, &pTune->pid);
}
