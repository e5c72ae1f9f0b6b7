// Figures as texts, formatted here in integer arithmetic: wsprintfA has no
// %f, and the C library's follows the locale (a comma in some).
#include "figure_texts.h"

#include <math.h>

const LPCSTR szFigureLabels[FIGURE_COUNT] = {
    "目標回転数 [rpm]",
    "比例係数 Kp [%]",
    "積分時間 Ti [ms]",
    "微分時間 Td [ms]",
    "サンプリング周期 [ms]",
    "立ち上がり時間 [s]",
    "最大回転数 [rpm]",
    "最大回転数の時刻 [s]",
    "オーバーシュート [%]",
    "整定時間 ±5% [s]",
    "定常偏差 [rpm]",
    "絶対偏差積分 IAE [rpm・s]",
};

// Writes the digits of ullValue, right to left, from pszEnd backwards, at
// least iMinDigits of them; returns where they start.
static LPSTR PutDigits(LPSTR pszEnd, ULONGLONG ullValue, int iMinDigits)
{
    LPSTR p = pszEnd;
    do {
        *--p = (CHAR)('0' + ullValue % 10);
        ullValue /= 10;
        iMinDigits--;
    } while (ullValue > 0 || iMinDigits > 0);
    return p;
}

static void CopyText(LPSTR pszDest, LPCSTR pszFrom, LPCSTR pszEnd)
{
    while (pszFrom < pszEnd)
        *pszDest++ = *pszFrom++;
    *pszDest = '\0';
}

static void FormatInteger(LPSTR psz, LONGLONG llValue)
{
    CHAR szBuf[24];
    ULONGLONG ullMagnitude = llValue < 0 ? 0 - (ULONGLONG)llValue : (ULONGLONG)llValue;
    LPSTR p = PutDigits(szBuf + sizeof(szBuf), ullMagnitude, 1);
    if (llValue < 0)
        *--p = '-';
    CopyText(psz, p, szBuf + sizeof(szBuf));
}

// d (not negative) rounded to iDecimals decimals (0 to 3), at most 30 bytes.
// Stored extremes give an IAE near 10^21, past any 64-bit integer, so the
// scaled value goes in two parts: the nine digits below and the rest above.
static void FormatFixed(LPSTR psz, double d, int iDecimals)
{
    static const double dScale[] = {1.0, 10.0, 100.0, 1000.0};
    CHAR szBuf[48];
    LPSTR pszEnd = szBuf + sizeof(szBuf);

    if (!(d >= 0.0 && d < 1e24)) { // not from CalcStepFigures: shown as none
        psz[0] = '\0';
        return;
    }
    double dScaled = floor(d * dScale[iDecimals] + 0.5);
    double dHigh = floor(dScaled / 1e9);
    double dLow = dScaled - dHigh * 1e9; // inexact beyond 2^53: keep it a digit group
    LONGLONG llLow = dLow < 0.0 ? 0 : dLow > 999999999.0 ? 999999999 : (LONGLONG)dLow;

    LPSTR p = PutDigits(pszEnd, (ULONGLONG)llLow, 9);
    if (dHigh > 0.0)
        p = PutDigits(p, (ULONGLONG)dHigh, 1);
    while (p < pszEnd - iDecimals - 1 && *p == '0')
        p++;
    LPSTR pszPoint = pszEnd - iDecimals;
    while (p < pszPoint)
        *psz++ = *p++;
    if (iDecimals > 0)
        *psz++ = '.';
    CopyText(psz, p, pszEnd);
}

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
