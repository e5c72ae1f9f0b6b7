// The tuning chart's set: the records with their names, and the notes that
// say what the predictions rest on.
#include "tune_chart.h"

#include "../analysis/decimals.h"

#include <string.h>

const LPCSTR szTuneCurveNames[TUNE_CURVES] = {"測定", "前回の予測", "モデル", "PI 提案", "PID 提案"};

static void CopyText(LPSTR pszDest, LPCSTR pszFrom, int iSize)
{
    strncpy(pszDest, pszFrom, (size_t)iSize - 1);
    pszDest[iSize - 1] = '\0';
}

// The parts one after the other, cut where a line ends.
static void JoinNote(LPCSTR lpszFirst, LPCSTR lpszSecond, LPSTR psz)
{
    LPCSTR pszPart[2] = {lpszFirst, lpszSecond};
    int n = 0;

    for (int i = 0; i < 2; i++) {
        for (LPCSTR p = pszPart[i]; *p != '\0' && n < COMPARE_NOTE_SIZE - 1; p++)
            psz[n++] = *p;
    }
    psz[n] = '\0';
}

// K to three decimals (one from 10 on), times to a tenth of a millisecond.
static void MakeModelNote(const MOTORMODEL* pModel, LPSTR psz)
{
    CHAR szGain[DECIMAL_TEXT_SIZE], szTau[DECIMAL_TEXT_SIZE], szTheta[DECIMAL_TEXT_SIZE], szRms[DECIMAL_TEXT_SIZE];

    FormatFixed(szGain, pModel->dGain, pModel->dGain >= 10.0 ? 1 : 3);
    FormatFixed(szTau, pModel->dTauS, 4);
    FormatFixed(szTheta, pModel->dThetaS, 4);
    FormatFixed(szRms, pModel->dRmsRpm, 0);
    wsprintfA(psz, "モデル: K = %s [100rpm/制御則の出力]  τ = %s s  θ = %s s  RMS %s rpm", szGain, szTau, szTheta,
              szRms);
}

void MakeTuneHeading(double dTauC, LPSTR psz, int iSize)
{
    CHAR szFactor[DECIMAL_TEXT_SIZE], szText[DECIMAL_TEXT_SIZE + 32];
    int n = FormatFixed(szFactor, dTauC, 2), i;

    // Whole multiples bare, others with their decimals.
    while (n > 0 && (szFactor[n - 1] == '0' || szFactor[n - 1] == '.')) {
        BOOL bPoint = szFactor[n - 1] == '.';
        szFactor[--n] = '\0';
        if (bPoint)
            break;
    }
    wsprintfA(szText, "曲線 (τc = %sθe)", szFactor);
    for (i = 0; szText[i] != '\0' && i < iSize - 1; i++)
        psz[i] = szText[i];
    psz[i] = '\0';
}

static void AddRun(COMPARESET* pSet, const MEASRECORD* pRec, int iCurve)
{
    pSet->run[pSet->nRuns].rec = *pRec;
    CopyText(pSet->run[pSet->nRuns].szName, szTuneCurveNames[iCurve], COMPARE_NAME_SIZE);
    pSet->nRuns++;
}

static void AddNote(COMPARESET* pSet, LPCSTR lpszFirst, LPCSTR lpszSecond)
{
    if (pSet->nNotes < COMPARE_MAX_NOTES && lpszFirst[0] != '\0')
        JoinNote(lpszFirst, lpszSecond, pSet->szNote[pSet->nNotes++]);
}

void MakeTuneChart(const MEASRECORD* pRec, const TUNING* pTune, const MEASRECORD* pPrevious, COMPARESET* pSet)
{
    memset(pSet, 0, sizeof(*pSet));
    AddRun(pSet, pRec, TUNE_MEASURED);
    if (pPrevious != NULL)
        AddRun(pSet, pPrevious, TUNE_PREVIOUS);
    if (pTune->model.bModel)
        AddRun(pSet, &pTune->recReplay, TUNE_MODEL);
    if (pTune->bSuggestion)
        AddRun(pSet, &pTune->pi.recPredicted, TUNE_PI);
    if (pTune->bPid)
        AddRun(pSet, &pTune->pid.recPredicted, TUNE_PID);
    MakeTuneHeading(pTune->opt.dTauC, pSet->szNameHeading, COMPARE_HEADING_SIZE);
    // Most telling first: the legend holds as many lines as its frame has room for.
    if (pTune->model.bModel)
        MakeModelNote(&pTune->model, pSet->szNote[pSet->nNotes++]);
    AddNote(pSet, pTune->szNote, "");
    if (!pTune->bSuggestion)
        AddNote(pSet, "調整を提案できません: ", pTune->szReason);
    if (pTune->pi.bWarning)
        AddNote(pSet, "PI 提案: ", pTune->pi.szWarning);
    if (pTune->pid.bWarning)
        AddNote(pSet, "PID 提案: ", pTune->pid.szWarning);
    if (pTune->bSuggestion && !pTune->bPid)
        AddNote(pSet, pTune->szReason, "");
    AddNote(pSet, "制御則 (想定): u = Kp/100 × (e + T/Ti × Σe + Td/T × Δe)  e = 目標 - 回転数  調整則: SIMC", "");
}
