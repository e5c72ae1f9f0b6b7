// The comparison chart's axes and dotted grid in the page's manner, labelled
// for the range shown, and a note of that range above the plot when it is
// not the default one.
#include "compare_parts.h"
#include "page.h"

#include "../analysis/decimals.h"

#define NOTE_RIGHT 770
#define NOTE_Y 30

int FormatSeconds(LPSTR psz, LONGLONG llMs, int iMinDecimals)
{
    int n = FormatInteger(psz, llMs / 1000);
    int iMs = (int)(llMs % 1000), nDecimals = 3;

    while (nDecimals > iMinDecimals && iMs % 10 == 0) {
        iMs /= 10;
        nDecimals--;
    }
    if (nDecimals > 0)
        n += wsprintfA(psz + n, nDecimals == 1 ? ".%d" : nDecimals == 2 ? ".%02d" : ".%03d", iMs);
    return n;
}

// "表示範囲 0.5 - 1.25 s", ending at the frame's right.
static void Disp_RangeNote(HDC hdc, const COMPAREAXES* pAxes)
{
    CHAR szNote[2 * DECIMAL_TEXT_SIZE + 24];
    int n = wsprintfA(szNote, "表示範囲 ");

    n += FormatSeconds(szNote + n, pAxes->llStartMs, 0);
    n += wsprintfA(szNote + n, " - ");
    n += FormatSeconds(szNote + n, pAxes->llEndMs, 0);
    n += wsprintfA(szNote + n, " s");
    TextOutA(hdc, NOTE_RIGHT - 8 * n, NOTE_Y, szNote, n);
}

void Disp_CompareGrid(HDC hdc, const COMPAREAXES* pAxes)
{
    const POINT ptAxes[] = {{CMP_LEFT, pAxes->iBottom}, {CMP_RIGHT + 20, pAxes->iBottom}};
    CHAR szLabel[DECIMAL_TEXT_SIZE];
    HPEN hPen, hOldPen;
    int v, x, y, n;
    int iLabelStep = pAxes->iTopSpeed > 240 ? 2 * CMP_SPEED_STEP : CMP_SPEED_STEP; // labels 16 pixels high
    LONGLONG llTime, llFirst;

    MoveToEx(hdc, CMP_LEFT, 30, NULL);
    PolylineTo(hdc, ptAxes, 2);
    Disp_Text(hdc, 20, 30, "測定回転数", NULL, 0, NULL);
    Disp_Text(hdc, 20, 50, "x1", NULL, 0, "00[rpm] ");
    if (!IsDefaultRange(pAxes))
        Disp_RangeNote(hdc, pAxes);

    hPen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    for (v = 0; v <= pAxes->iTopSpeed; v += CMP_SPEED_STEP) {
        y = CompareSpeedToY(pAxes, v);
        if (v != 0) {
            MoveToEx(hdc, CMP_LEFT, y, NULL);
            LineTo(hdc, CMP_RIGHT, y);
        }
        if (v % iLabelStep == 0)
            Disp_Text(hdc, 20, y - 10, NULL, "%3d", v, NULL);
    }
    // Whole labels, centred under their lines; the speed axis stands where
    // a line would fall on it.
    llFirst = pAxes->llStartMs <= 0 ? 0 : (pAxes->llStartMs + pAxes->llStepMs - 1) / pAxes->llStepMs * pAxes->llStepMs;
    for (llTime = llFirst; llTime <= pAxes->llEndMs; llTime += pAxes->llStepMs) {
        x = TimeToX(pAxes, llTime);
        if (x != CMP_LEFT) {
            MoveToEx(hdc, x, pAxes->iBottom, NULL);
            LineTo(hdc, x, CMP_TOP);
        }
        n = FormatInteger(szLabel, pAxes->bSeconds ? llTime / 1000 : llTime);
        TextOutA(hdc, x - n * 4, pAxes->iBottom + 10, szLabel, n);
    }
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
    Disp_Text(hdc, CMP_RIGHT + 28, pAxes->iBottom + 10, "測定時間 ", NULL, 0, pAxes->bSeconds ? "[s] " : "[ms] ");
}
