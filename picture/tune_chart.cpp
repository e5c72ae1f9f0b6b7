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

// A line of the legend holds this many single-byte cells.
#define NOTE_CELLS 94

static BOOL IsLeadByte932(BYTE c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The parts one after the other, in lines of the legend's width broken
// after a sentence or a space where one is near, never inside a character.
static void AddNote(COMPARESET* pSet, LPCSTR lpszFirst, LPCSTR lpszSecond)
{
    CHAR szText[2 * TUNE_TEXT_SIZE];
    int n = 0, iAt = 0;

    for (LPCSTR p = lpszFirst; *p != '\0' && n < (int)sizeof(szText) - 1; p++)
        szText[n++] = *p;
    for (LPCSTR p = lpszSecond; *p != '\0' && n < (int)sizeof(szText) - 1; p++)
        szText[n++] = *p;
    szText[n] = '\0';
    while (iAt < n && pSet->nNotes < COMPARE_MAX_NOTES) {
        int iEnd = iAt, iBreak = -1;
        while (iEnd < n) {
            int iSize = IsLeadByte932((BYTE)szText[iEnd]) && iEnd + 1 < n ? 2 : 1;
            if (iEnd + iSize - iAt > NOTE_CELLS)
                break;
            iEnd += iSize;
            // After "。" (0x81 0x42) or a space.
            if ((iSize == 2 && (BYTE)szText[iEnd - 2] == 0x81 && (BYTE)szText[iEnd - 1] == 0x42)
                || szText[iEnd - 1] == ' ')
                iBreak = iEnd;
        }
        if (iEnd < n && iBreak > iAt + NOTE_CELLS / 2)
            iEnd = iBreak;
        LPSTR psz = pSet->szNote[pSet->nNotes++];
        memcpy(psz, szText + iAt, (size_t)(iEnd - iAt));
        psz[iEnd - iAt] = '\0';
        iAt = iEnd;
        while (iAt < n && szText[iAt] == ' ')
            iAt++;
    }
}

// K to three decimals (one from 10 on), times to a tenth of a millisecond;
// a second lag only where the model has one, the items then a space apart
// so that the line still fits.
static void MakeModelNote(const MOTORMODEL* pModel, LPSTR psz)
{
    CHAR szGain[DECIMAL_TEXT_SIZE], szTau[DECIMAL_TEXT_SIZE], szTheta[DECIMAL_TEXT_SIZE], szRms[DECIMAL_TEXT_SIZE];
    CHAR szTau2[DECIMAL_TEXT_SIZE];

    FormatFixed(szGain, pModel->dGain, pModel->dGain >= 10.0 ? 1 : 3);
    FormatFixed(szTau, pModel->dTauS, 4);
    FormatFixed(szTheta, pModel->dThetaS, 4);
    FormatFixed(szRms, pModel->dRmsRpm, 0);
    if (!(pModel->dTau2S > 0.0)) {
        wsprintfA(psz, "モデル: K = %s [100rpm/制御則の出力]  τ = %s s  θ = %s s  RMS %s rpm", szGain, szTau, szTheta,
                  szRms);
        return;
    }
    FormatFixed(szTau2, pModel->dTau2S, 4);
    wsprintfA(psz, "モデル: K = %s [100rpm/制御則の出力] τ = %s s τ2 = %s s θ = %s s RMS %s rpm", szGain, szTau, szTau2,
              szTheta, szRms);
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
    // SIMC's own choice reads as the rule writes it: τc = θe.
    wsprintfA(szText, "曲線 (τc = %sθe)", strcmp(szFactor, "1") == 0 ? "" : szFactor);
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

void MakeTuneChart(const MEASRECORD* pRec, const TUNING* pTune, const MEASRECORD* pPrevious, COMPARESET* pSet)
{
    memset(pSet, 0, sizeof(*pSet));
    pSet->bResponseRange = TRUE;
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
    if (pTune->model.bModel) {
        CHAR szModel[TUNE_TEXT_SIZE];
        MakeModelNote(&pTune->model, szModel);
        AddNote(pSet, szModel, "");
    }
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
