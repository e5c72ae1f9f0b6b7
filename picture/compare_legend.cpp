// The comparison's legend: a row per run with a sample of its curve and
// target line, its file's name, its settings, overshoot and settling time.
#include "compare.h"
#include "page.h"

#include "../analysis/decimals.h"
#include "../analysis/stepfigures.h"

#include <string.h>

#define LEGEND_LOWEST_TOP 320 // the top when its rows and notes fit below it
#define LEGEND_HIGHEST_TOP 220 // the plot keeps 100 pixels
#define LEGEND_BOTTOM 475
#define LEGEND_TOP_GAP 6    // the frame's edges to the first and last lines' cells
#define LEGEND_BOTTOM_GAP 4
#define ROW_HEIGHT 16
#define NAME_BYTES 28 // 224 pixels of name column
#define ELLIPSIS "…" // two bytes in code page 932

// Columns: number, line samples, name, then the headings of target, Kp, Ti,
// Td, sampling period, overshoot and settling time; each value ends where
// its heading ends (X_..._END).
#define X_NUMBER 18
#define X_SAMPLE 30
#define X_SAMPLE_END 78
#define X_NAME 84
#define X_TARGET 320
#define X_TARGET_END 392
#define X_KP 400
#define X_KP_END 440
#define X_TI 448
#define X_TI_END 496
#define X_TD 504
#define X_TD_END 552
#define X_SAMP 560
#define X_SAMP_END 624
#define X_OVERSHOOT 632
#define X_OVERSHOOT_END 704
#define X_SETTLING 712
#define X_SETTLING_END 768
#define CHAR_WIDTH 8

static BOOL IsLeadByte932(BYTE c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

void ShortenName(LPCSTR lpszName, LPSTR szShort, int iMaxBytes)
{
    int iLength = 0, iHead = 0, iTail = -1, iAt = 0, iSize, iOut = 0, i;

    while (iLength < COMPARE_NAME_SIZE && lpszName[iLength] != '\0')
        iLength++;
    if (iLength <= iMaxBytes) {
        for (i = 0; i <= iLength; i++)
            szShort[i] = i < iLength ? lpszName[i] : '\0';
        return;
    }
    // The head takes whole characters up to half of the room left beside
    // the ellipsis, the tail whole characters from where the rest fits.
    int iHeadRoom = (iMaxBytes - 2) / 2;
    int iTailFrom = iLength - (iMaxBytes - 2 - iHeadRoom);
    while (iAt < iLength) {
        iSize = IsLeadByte932((BYTE)lpszName[iAt]) && iAt + 1 < iLength ? 2 : 1;
        if (iAt + iSize <= iHeadRoom)
            iHead = iAt + iSize;
        if (iTail < 0 && iAt >= iTailFrom)
            iTail = iAt;
        iAt += iSize;
    }
    if (iTail < 0)
        iTail = iLength;
    for (i = 0; i < iHead; i++)
        szShort[iOut++] = lpszName[i];
    szShort[iOut++] = ELLIPSIS[0];
    szShort[iOut++] = ELLIPSIS[1];
    for (i = iTail; i < iLength; i++)
        szShort[iOut++] = lpszName[i];
    szShort[iOut] = '\0';
}

// A number of iLength characters made to take at most iMax: its leading
// digits and a power of ten ("-5.5e8"), rounded; cut with "…" where even
// that does not fit. Returns the new length.
static int FitNumber(LPSTR psz, int iLength, int iMax)
{
    CHAR szDigits[DECIMAL_TEXT_SIZE], szExponent[8];
    int iSign = psz[0] == '-' ? 1 : 0, nDigits = 0, nWhole = -1, i;

    if (iLength <= iMax)
        return iLength;
    for (i = iSign; i < iLength && nDigits < DECIMAL_TEXT_SIZE - 1; i++) {
        if (psz[i] == '.')
            nWhole = nDigits;
        else
            szDigits[nDigits++] = psz[i];
    }
    int iExponent = (nWhole < 0 ? nDigits : nWhole) - 1;
    for (int iTry = 0; iTry < 2 && iExponent > 0; iTry++) {
        int iRoom = iMax - iSign - wsprintfA(szExponent, "e%d", iExponent);
        int nKept = iRoom >= 3 ? iRoom - 1 : 1;
        if (iRoom < 1 || nKept > nDigits)
            break;
        // Rounded at the first digit left out; a carry past the first digit
        // adds one to the power.
        CHAR szKept[DECIMAL_TEXT_SIZE];
        memcpy(szKept, szDigits, (size_t)nKept);
        for (i = nKept - 1; nKept < nDigits && szDigits[nKept] >= '5' && i >= 0; i--) {
            szKept[i] = szKept[i] == '9' ? '0' : (CHAR)(szKept[i] + 1);
            if (szKept[i] != '0')
                break;
        }
        if (i < 0) {
            szDigits[0] = '1';
            memset(szDigits + 1, '0', (size_t)(nDigits - 1));
            iExponent++;
            continue;
        }
        int n = iSign;
        psz[n++] = szKept[0];
        if (nKept > 1)
            psz[n++] = '.';
        memcpy(psz + n, szKept + 1, (size_t)(nKept - 1));
        n += nKept - 1;
        return n + wsprintfA(psz + n, "%s", szExponent);
    }
    memcpy(psz + iMax - 2, ELLIPSIS, 2);
    return iMax;
}

// A value in the column from xStart to xEnd, ending at xEnd: no blank cells
// to paint before it, and none of it over the next column.
static void Disp_Value(HDC hdc, int xStart, int xEnd, int y, LPSTR pszText, int iLength)
{
    iLength = FitNumber(pszText, iLength, (xEnd - xStart) / CHAR_WIDTH);
    TextOutA(hdc, xEnd - CHAR_WIDTH * iLength, y, pszText, iLength);
}

static void Draw_LineSample(HDC hdc, HPEN hPen, int y)
{
    HPEN hOldPen = (HPEN)SelectObject(hdc, hPen);
    MoveToEx(hdc, X_SAMPLE, y, NULL);
    LineTo(hdc, X_SAMPLE_END, y);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
}

// The figures of a run on a time axis: overshoot to a tenth of a percent,
// settling time to a hundredth of a second, or "―" where there is none, as
// the figures dialog marks it.
static void Disp_Figures(HDC hdc, int y, const STEPFIGURES* pFig)
{
    CHAR szText[DECIMAL_TEXT_SIZE];
    int n;

    n = pFig->bOvershoot ? FormatFixed(szText, pFig->dOvershootPct, 1) : wsprintfA(szText, "%s", NO_FIGURE_TEXT);
    Disp_Value(hdc, X_OVERSHOOT, X_OVERSHOOT_END, y, szText, n);
    n = pFig->bSettling ? FormatFixed(szText, pFig->dSettlingS, 2) : wsprintfA(szText, "%s", NO_FIGURE_TEXT);
    Disp_Value(hdc, X_SETTLING, X_SETTLING_END, y, szText, n);
}

static void Disp_LegendRow(HDC hdc, int iRun, const COMPARERUN* pRun, int y)
{
    CHAR szText[48];
    STEPFIGURES fig;
    int n;

    CalcStepFigures(&pRun->rec, &fig);
    Disp_Text(hdc, X_NUMBER, y, NULL, "%d", iRun + 1, NULL);
    if (HasTimeAxis(&pRun->rec)) {
        Draw_LineSample(hdc, CreatePen(PS_SOLID, 1, CompareColor(iRun)), y + 5);
        Draw_LineSample(hdc, CreateTargetPen(iRun), y + 11);
    }
    ShortenName(pRun->szName, szText, NAME_BYTES);
    n = 0;
    while (szText[n] != '\0')
        n++;
    TextOutA(hdc, X_NAME, y, szText, n);
    // Set values as stored: speeds with a literal "00", times x 10 in ms,
    // computed in 64 bits so that no stored value wraps.
    n = wsprintfA(szText, "%d00", pRun->rec.iPramRotate);
    Disp_Value(hdc, X_TARGET, X_TARGET_END, y, szText, n);
    n = wsprintfA(szText, "%d", pRun->rec.iPramProp);
    Disp_Value(hdc, X_KP, X_KP_END, y, szText, n);
    n = FormatInteger(szText, fig.llTiMs);
    Disp_Value(hdc, X_TI, X_TI_END, y, szText, n);
    n = FormatInteger(szText, fig.llTdMs);
    Disp_Value(hdc, X_TD, X_TD_END, y, szText, n);
    n = FormatInteger(szText, fig.llSampMs);
    Disp_Value(hdc, X_SAMP, X_SAMP_END, y, szText, n);
    if (HasTimeAxis(&pRun->rec))
        Disp_Figures(hdc, y, &fig);
    else
        Disp_Text(hdc, X_OVERSHOOT + 16, y, "時間軸なし", NULL, 0, NULL);
}

// The length of a text held in iSize bytes, terminated or not.
static int TextLength(LPCSTR psz, int iSize)
{
    int n = 0;
    while (n < iSize && psz[n] != '\0')
        n++;
    return n;
}

// Lines for the heading, a row per run and the notes.
static int LegendLines(const COMPARESET* pSet)
{
    int nRuns = pSet->nRuns < COMPARE_MAX_RUNS ? pSet->nRuns : COMPARE_MAX_RUNS;
    int nNotes = pSet->nNotes < COMPARE_MAX_NOTES ? pSet->nNotes : COMPARE_MAX_NOTES;
    return 1 + (nRuns > 0 ? nRuns : 0) + (nNotes > 0 ? nNotes : 0);
}

int LegendTop(const COMPARESET* pSet)
{
    int iTop = LEGEND_BOTTOM - 1 - LEGEND_BOTTOM_GAP - ROW_HEIGHT * LegendLines(pSet) - LEGEND_TOP_GAP;
    return iTop > LEGEND_LOWEST_TOP ? LEGEND_LOWEST_TOP : iTop < LEGEND_HIGHEST_TOP ? LEGEND_HIGHEST_TOP : iTop;
}

// The notes under the rows, from the number's column, as many lines as the
// frame holds.
static void Disp_LegendNotes(HDC hdc, const COMPARESET* pSet, int y)
{
    for (int i = 0; i < pSet->nNotes && i < COMPARE_MAX_NOTES && y + ROW_HEIGHT <= LEGEND_BOTTOM - 1 - LEGEND_BOTTOM_GAP;
         i++) {
        TextOutA(hdc, X_NUMBER, y, pSet->szNote[i], TextLength(pSet->szNote[i], COMPARE_NOTE_SIZE));
        y += ROW_HEIGHT;
    }
}

void Disp_CompareLegend(HDC hdc, const COMPARESET* pSet, int iTop)
{
    // An outline, as the page's parameter frame: the surface is fresh.
    const POINT ptFrame[] = {{779, LEGEND_BOTTOM - 1}, {10, LEGEND_BOTTOM - 1}, {10, iTop}, {779, iTop}};
    int y = iTop + LEGEND_TOP_GAP;

    MoveToEx(hdc, 779, iTop, NULL);
    PolylineTo(hdc, ptFrame, 4);
    if (pSet->szNameHeading[0] == '\0')
        Disp_Text(hdc, X_NAME, y, "ファイル名", NULL, 0, NULL);
    else
        TextOutA(hdc, X_NAME, y, pSet->szNameHeading, TextLength(pSet->szNameHeading, COMPARE_HEADING_SIZE));
    Disp_Text(hdc, X_TARGET, y, "目標[rpm]", NULL, 0, NULL);
    Disp_Text(hdc, X_KP, y, "Kp[%%]", NULL, 0, NULL);
    Disp_Text(hdc, X_TI, y, "Ti[ms]", NULL, 0, NULL);
    Disp_Text(hdc, X_TD, y, "Td[ms]", NULL, 0, NULL);
    Disp_Text(hdc, X_SAMP, y, "周期[ms]", NULL, 0, NULL);
    Disp_Text(hdc, X_OVERSHOOT, y, "行過ぎ[%%]", NULL, 0, NULL);
    Disp_Text(hdc, X_SETTLING, y, "整定[s]", NULL, 0, NULL);
    int r;
    for (r = 0; r < pSet->nRuns && r < COMPARE_MAX_RUNS; r++)
        Disp_LegendRow(hdc, r, &pSet->run[r], y + ROW_HEIGHT * (r + 1));
    Disp_LegendNotes(hdc, pSet, y + ROW_HEIGHT * (r + 1));
}
