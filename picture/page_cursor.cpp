// The main window's cursor over the page's chart: a grey line at a sample,
// a square on the curve there, and a boxed readout of the sample's time,
// speed and the target, inside the chart frame, which every drawing of the
// page wipes. Never drawn into the page's print, copy or PNG.
#include "page.h"
#include "../analysis/decimals.h"
#include "../data/measdata.h"

#include <string.h>

#define CURSOR_COLOR RGB(128, 128, 128)
#define CHART_LAST_X (CHART_LEFT + 2 * (PID_SAMPLE_COUNT - 1))
#define CHART_TOP 30 // the speed axis's top
#define READOUT_TOP 21
#define READOUT_BOTTOM 41
#define FRAME_LEFT 11 // inside the chart frame
#define FRAME_RIGHT 779

BOOL PageSampleAt(int x, int y, int* piSample)
{
    if (x < CHART_LEFT - 1 || x > CHART_LAST_X + 1 || y < CHART_TOP || y > CHART_BOTTOM)
        return FALSE;
    *piSample = x < CHART_LEFT ? 0 : x > CHART_LAST_X ? PID_SAMPLE_COUNT - 1 : (x - CHART_LEFT + 1) / 2;
    return TRUE;
}

// "1.25 s  4500 rpm  目標 4500 rpm": the time of a sample at a positive
// period ("―" otherwise), its speed ("―" when empty) and the target, in
// 64 bits so that no stored value wraps.
static int MakeReadout(LPSTR psz, int iSample)
{
    LONGLONG llCentis = (LONGLONG)iSample * iPramSamp; // the period is in 10 ms
    int n;

    if (iPramSamp > 0) {
        n = FormatInteger(psz, llCentis / 100);
        n += wsprintfA(psz + n, ".%02d s  ", (int)(llCentis % 100));
    } else {
        n = wsprintfA(psz, "%s s  ", NO_FIGURE_TEXT);
    }
    if (cMeasData[iSample] != PID_NO_SAMPLE)
        n += wsprintfA(psz + n, "%d rpm  目標 ", 100 * cMeasData[iSample]);
    else
        n += wsprintfA(psz + n, "%s rpm  目標 ", NO_FIGURE_TEXT);
    n += FormatInteger(psz + n, 100LL * iPramRotate);
    return n + wsprintfA(psz + n, " rpm");
}

void Disp_PageCursor(HDC hdc, int iSample)
{
    CHAR szText[3 * DECIMAL_TEXT_SIZE + 32];
    int x = CHART_LEFT + 2 * iSample, y = SpeedToY(cMeasData[iSample]);
    int n = MakeReadout(szText, iSample), iWidth = 8 * n + 8, xBox = x + 4;
    HPEN hPen = CreatePen(PS_SOLID, 1, CURSOR_COLOR);
    HPEN hOldPen = (HPEN)SelectObject(hdc, hPen);

    MoveToEx(hdc, x, GRID_TOP, NULL);
    LineTo(hdc, x, CHART_BOTTOM);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
    // The sample's point, where it lies inside the chart frame.
    if (cMeasData[iSample] != PID_NO_SAMPLE && y >= CHART_TOP && y <= CHART_BOTTOM) {
        const POINT ptSquare[] = {{x + 2, y - 2}, {x + 2, y + 2}, {x - 2, y + 2}, {x - 2, y - 2}};
        MoveToEx(hdc, x - 2, y - 2, NULL);
        PolylineTo(hdc, ptSquare, 4);
    }
    // The readout beside the line, on its left where the frame ends first.
    if (xBox + iWidth > FRAME_RIGHT)
        xBox = x - 4 - iWidth;
    if (xBox < FRAME_LEFT)
        xBox = FRAME_LEFT;
    Rectangle(hdc, xBox, READOUT_TOP, xBox + iWidth, READOUT_BOTTOM);
    TextOutA(hdc, xBox + 4, READOUT_TOP + 2, szText, n);
}
