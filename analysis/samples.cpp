// The rows of a run's samples. Times are whole multiples of 10 ms, so they
// are written exactly, in integer arithmetic.
#include "samples.h"

// llHundredths / 100 with two decimals ("12.05"); llHundredths >= 0.
static void FormatHundredths(LPSTR psz, LONGLONG llHundredths)
{
    int iLen = FormatInteger(psz, llHundredths / 100);
    psz[iLen] = '.';
    psz[iLen + 1] = (CHAR)('0' + llHundredths % 100 / 10);
    psz[iLen + 2] = (CHAR)('0' + llHundredths % 10);
    psz[iLen + 3] = '\0';
}

void MakeSampleRow(const MEASRECORD* pRec, int iSlot, SAMPLEROW* pRow)
{
    BYTE cSample = pRec->cMeasData[iSlot];

    // Both stored in 10 ms: their product is the slot's time in hundredths.
    if (pRec->iPramSamp > 0)
        FormatHundredths(pRow->szTime, (LONGLONG)iSlot * pRec->iPramSamp);
    else
        pRow->szTime[0] = '\0';
    if (cSample != PID_NO_SAMPLE)
        FormatInteger(pRow->szSpeed, (LONGLONG)cSample * 100);
    else
        pRow->szSpeed[0] = '\0';
    FormatInteger(pRow->szTarget, (LONGLONG)pRec->iPramRotate * 100);
}
