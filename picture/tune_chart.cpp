// The tuning chart's set: four records with their names, and the notes
// that say what the predictions rest on.
#include "tune_chart.h"

#include "../analysis/decimals.h"

#include <string.h>

const LPCSTR szTuneCurveNames[TUNE_CURVES] = {"測定", "モデル", "PI 提案", "PID 提案"};

static void CopyText(LPSTR pszDest, LPCSTR pszFrom, int iSize)
{
    strncpy(pszDest, pszFrom, (size_t)iSize - 1);
    pszDest[iSize - 1] = '\0';
}

// "PI 提案: " and the warning, cut where it would not fit (none comes near).
static void MakeWarningNote(LPCSTR lpszName, LPCSTR lpszWarning, LPSTR psz)
{
    LPCSTR pszPart[3] = {lpszName, ": ", lpszWarning};
    int n = 0;

    for (int i = 0; i < 3; i++) {
        for (LPCSTR p = pszPart[i]; *p != '\0' && n < COMPARE_NOTE_SIZE - 1; p++)
            psz[n++] = *p;
    }
    psz[n] = '\0';
}

// K to three decimals (one from 10 on), times to the millisecond.
static void MakeModelNote(const MOTORMODEL* pModel, LPSTR psz)
{
    CHAR szGain[DECIMAL_TEXT_SIZE], szTau[DECIMAL_TEXT_SIZE], szTheta[DECIMAL_TEXT_SIZE], szRms[DECIMAL_TEXT_SIZE];

    FormatFixed(szGain, pModel->dGain, pModel->dGain >= 10.0 ? 1 : 3);
    FormatFixed(szTau, pModel->dTauS, 3);
    FormatFixed(szTheta, pModel->dThetaS, 3);
    FormatFixed(szRms, pModel->dRmsRpm, 0);
    wsprintfA(psz, "モデル: K = %s [100rpm/出力]  τ = %s s  θ = %s s  誤差 RMS %s rpm", szGain, szTau, szTheta,
              szRms);
}

void MakeTuneChart(const MEASRECORD* pRec, const TUNING* pTune, COMPARESET* pSet)
{
    const MEASRECORD* pCurve[TUNE_CURVES] = {pRec, &pTune->recReplay, &pTune->pi.recPredicted,
                                             &pTune->pid.recPredicted};
    const TUNESETTING* pSetting[2] = {&pTune->pi, &pTune->pid};

    memset(pSet, 0, sizeof(*pSet));
    pSet->nRuns = TUNE_CURVES;
    pSet->bResponseRange = TRUE;
    for (int i = 0; i < TUNE_CURVES; i++) {
        pSet->run[i].rec = *pCurve[i];
        CopyText(pSet->run[i].szName, szTuneCurveNames[i], COMPARE_NAME_SIZE);
    }
    CopyText(pSet->szNameHeading, "曲線", COMPARE_HEADING_SIZE);
    MakeModelNote(&pTune->model, pSet->szNote[pSet->nNotes++]);
    CopyText(pSet->szNote[pSet->nNotes++],
             "制御則 (想定): u = Kp/100 × (e + T/Ti × Σe + Td/T × Δe)  e = 目標 - 回転数  調整則: SIMC",
             COMPARE_NOTE_SIZE);
    for (int i = 0; i < 2; i++) {
        if (pSetting[i]->bWarning)
            MakeWarningNote(szTuneCurveNames[2 + i], pSetting[i]->szWarning, pSet->szNote[pSet->nNotes++]);
    }
}
