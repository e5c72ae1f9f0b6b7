// The tuning command: the suggestion of analysis/tuning for the main
// window's run, shown through the comparison window's code, with a copy of
// the suggested settings and their predicted figures for a spreadsheet.
#include "tune.h"

#include "compare.h"
#include "pidview.h"

#include "../analysis/decimals.h"
#include "../analysis/tuning.h"
#include "../picture/tune_chart.h"

static CHAR szTuneCaption[] = "調整の提案";
static CHAR szNoSuggestion[] = "調整を提案できません。";
static CHAR szNoWindow[] = "これ以上ウィンドウを開けません。";
static CHAR szCopyHeader[] = "ファイル\t提案\tKp[%]\tTi[ms]\tTd[ms]\t行過ぎ[%]\t整定[s]\tK[100rpm/出力]\tτ[s]\tθ[s]\t"
                             "誤差RMS[rpm]\t注意\r\n";

// Appends lpszText to the copy of iLen bytes; returns its new length.
static int AppendCopy(LPSTR pszCopy, int iLen, LPCSTR lpszText)
{
    while (*lpszText != '\0' && iLen < COMPARE_COPY_SIZE - 1)
        pszCopy[iLen++] = *lpszText++;
    pszCopy[iLen] = '\0';
    return iLen;
}

// A figure or a setting as a cell: "" where the prediction has none.
static int AppendCell(LPSTR pszCopy, int iLen, BOOL bHas, double d, int iDecimals)
{
    CHAR szNumber[DECIMAL_TEXT_SIZE];

    szNumber[0] = '\0';
    if (bHas)
        FormatFixed(szNumber, d, iDecimals);
    iLen = AppendCopy(pszCopy, iLen, szNumber);
    return AppendCopy(pszCopy, iLen, "\t");
}

// Ti and Td in ms, from 10 ms steps.
static int AppendInteger(LPSTR pszCopy, int iLen, LONGLONG llValue)
{
    CHAR szNumber[DECIMAL_TEXT_SIZE];

    FormatInteger(szNumber, llValue);
    iLen = AppendCopy(pszCopy, iLen, szNumber);
    return AppendCopy(pszCopy, iLen, "\t");
}

// One row per suggestion: the file, the setting, its predicted overshoot
// and settling time, the model it rests on, and its warning.
static void MakeTuneCopy(const TUNING* pTune, LPCSTR lpszName, LPSTR pszCopy)
{
    const TUNESETTING* pSetting[2] = {&pTune->pi, &pTune->pid};
    const MOTORMODEL* pModel = &pTune->model;
    CHAR szSettings[64];
    int iLen = AppendCopy(pszCopy, 0, szCopyHeader);

    for (int i = 0; i < 2; i++) {
        const TUNESETTING* p = pSetting[i];
        iLen = AppendCopy(pszCopy, iLen, lpszName);
        wsprintfA(szSettings, "\t%s\t%d\t", i == 0 ? "PI" : "PID", p->iProp);
        iLen = AppendCopy(pszCopy, iLen, szSettings);
        iLen = AppendInteger(pszCopy, iLen, 10LL * p->iInt);
        iLen = AppendInteger(pszCopy, iLen, 10LL * p->iDiff);
        iLen = AppendCell(pszCopy, iLen, p->fig.bOvershoot, p->fig.dOvershootPct, 1);
        iLen = AppendCell(pszCopy, iLen, p->fig.bSettling, p->fig.dSettlingS, 3);
        iLen = AppendCell(pszCopy, iLen, TRUE, pModel->dGain, 3);
        iLen = AppendCell(pszCopy, iLen, TRUE, pModel->dTauS, 3);
        iLen = AppendCell(pszCopy, iLen, TRUE, pModel->dThetaS, 3);
        iLen = AppendCell(pszCopy, iLen, TRUE, pModel->dRmsRpm, 0);
        iLen = AppendCopy(pszCopy, iLen, p->szWarning);
        iLen = AppendCopy(pszCopy, iLen, "\r\n");
    }
}

void TuneCommand(HWND hwnd)
{
    // Some 20 KB in all: kept off the stack.
    static TUNING tune;
    static COMPARESET set;
    static CHAR szCopy[COMPARE_COPY_SIZE];
    MEASRECORD rec;
    CHAR szName[MAX_PATH];
    CHAR szText[MAX_PATH + TUNE_TEXT_SIZE];

    GetMeasRecord(&rec);
    CalcTuning(&rec, &tune);
    if (!tune.bSuggestion) {
        wsprintfA(szText, "%s\n%s", szNoSuggestion, tune.szReason);
        MessageBoxA(hwnd, szText, szTuneCaption, MB_ICONINFORMATION | MB_OK);
        return;
    }
    MakeTuneChart(&rec, &tune, &set);
    GetShownName(szName, sizeof(szName));
    MakeTuneCopy(&tune, szName, szCopy);
    if (szName[0] != '\0')
        wsprintfA(szText, "%s - %s - PID制御計測データ表示", szTuneCaption, szName);
    else
        wsprintfA(szText, "%s - PID制御計測データ表示", szTuneCaption);
    if (OpenChartWindow(szTuneClass, &set, szText, "PID制御 調整の提案", szCopy) == NULL)
        MessageBoxA(hwnd, szNoWindow, szTuneCaption, MB_ICONSTOP | MB_OK);
}
