// Plain decimal texts of figures, in integer arithmetic.
#include "decimals.h"

#include <math.h>

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

// Copies [pszFrom, pszEnd) to pszDest; returns the end of what it wrote.
static LPSTR CopyText(LPSTR pszDest, LPCSTR pszFrom, LPCSTR pszEnd)
{
    while (pszFrom < pszEnd)
        *pszDest++ = *pszFrom++;
    *pszDest = '\0';
    return pszDest;
}

int FormatInteger(LPSTR psz, LONGLONG llValue)
{
    CHAR szBuf[24];
    ULONGLONG ullMagnitude = llValue < 0 ? 0 - (ULONGLONG)llValue : (ULONGLONG)llValue;
    LPSTR p = PutDigits(szBuf + sizeof(szBuf), ullMagnitude, 1);
    if (llValue < 0)
        *--p = '-';
    return (int)(CopyText(psz, p, szBuf + sizeof(szBuf)) - psz);
}

// Stored extremes give an IAE near 10^21, past any 64-bit integer, so the
// scaled value goes in two parts: the nine digits below and the rest above.
int FormatFixed(LPSTR psz, double d, int iDecimals)
{
    static const double dScale[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};
    CHAR szBuf[48];
    LPSTR pszEnd = szBuf + sizeof(szBuf);
    LPSTR pszStart = psz;

    if (!(d >= 0.0 && d < 1e24)) { // not from CalcStepFigures: shown as none
        psz[0] = '\0';
        return 0;
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
    return (int)(CopyText(psz, p, pszEnd) - pszStart);
}
