// The figures dialog's texts: a label with its unit for each figure, and its
// value as a plain decimal; and the lines that copy them.
#include "figure_texts.h"

#include "../analysis/decimals.h"

static CHAR szFileColumn[] = "ファイル";

const LPCSTR szFigureLabels[FIGURE_COUNT] = {
    "目標回転数 [rpm]",
    "比例係数 Kp [%]",
    "積分時間 Ti [ms]",
    "微分時間 Td [ms]",
    "サンプリング周期 [ms]",
    "立ち上がり時間 [s]",
    "最大回転数 [rpm]",
    "最大回転数の時刻 [s]",
    "行過ぎ [%]",
    "整定時間 ±5% [s]",
    "定常偏差 [rpm]",
    "絶対偏差積分 IAE [rpm・s]",
};

void MakeFigureTexts(const STEPFIGURES* pFig, FIGURETEXTS* pTexts)
{
    CHAR(*szValue)[FIGURE_TEXT_SIZE] = pTexts->szValue;

    FormatInteger(szValue[0], pFig->llTargetRpm);
    FormatInteger(szValue[1], pFig->llKpPct);
    FormatInteger(szValue[2], pFig->llTiMs);
    FormatInteger(szValue[3], pFig->llTdMs);
    FormatInteger(szValue[4], pFig->llSampMs);
    for (int i = 5; i < FIGURE_COUNT; i++)
        szValue[i][0] = '\0';
    if (pFig->bRise)
        FormatFixed(szValue[5], pFig->dRiseS, 3);
    if (pFig->bPeak)
        FormatInteger(szValue[6], pFig->llPeakRpm);
    if (pFig->bPeakTime)
        FormatFixed(szValue[7], pFig->dPeakS, 3);
    if (pFig->bOvershoot)
        FormatFixed(szValue[8], pFig->dOvershootPct, 1);
    if (pFig->bSettling)
        FormatFixed(szValue[9], pFig->dSettlingS, 3);
    FormatInteger(szValue[10], pFig->llSteadyErrRpm);
    if (pFig->bIae)
        FormatFixed(szValue[11], pFig->dIaeRpmS, 1);
}

int AppendCopyCell(LPSTR pszText, int iLen, int iSize, LPCSTR pszCell, BOOL bLast)
{
    LPCSTR pszEnd = bLast ? "\r\n" : "\t";

    for (; *pszCell != '\0' && iLen < iSize - 1; pszCell++)
        pszText[iLen++] = (BYTE)*pszCell < 0x20 ? '?' : *pszCell;
    for (; *pszEnd != '\0' && iLen < iSize - 1; pszEnd++)
        pszText[iLen++] = *pszEnd;
    pszText[iLen] = '\0';
    return iLen;
}

int AppendFigureHeader(LPSTR pszText, int iLen, int iSize)
{
    iLen = AppendCopyCell(pszText, iLen, iSize, szFileColumn, FALSE);
    for (int i = 0; i < FIGURE_COUNT; i++)
        iLen = AppendCopyCell(pszText, iLen, iSize, szFigureLabels[i], i + 1 == FIGURE_COUNT);
    return iLen;
}

int AppendFigureLine(LPSTR pszText, int iLen, int iSize, LPCSTR lpszName, const FIGURETEXTS* pTexts)
{
    iLen = AppendCopyCell(pszText, iLen, iSize, lpszName, FALSE);
    for (int i = 0; i < FIGURE_COUNT; i++)
        iLen = AppendCopyCell(pszText, iLen, iSize, pTexts->szValue[i], i + 1 == FIGURE_COUNT);
    return iLen;
}
