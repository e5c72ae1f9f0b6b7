// The speed chart: axes, dotted grid with its labels, the target line and
// the measured curve.
#include "page.h"
#include "../data/measdata.h"

void Disp_GraphBox(HDC hdc)
{
    static const POINT ptAxes[] = {{CHART_LEFT, CHART_BOTTOM}, {600, CHART_BOTTOM}};
    HPEN hPen, hOldPen;
    int v, k, x, y, t;

    MoveToEx(hdc, CHART_LEFT, 30, NULL);
    PolylineTo(hdc, ptAxes, 2);

    Disp_Text(hdc, 20, 30, "測定回転数", NULL, 0, NULL);
    Disp_Text(hdc, 20, 50, "x1", NULL, 0, "00[rpm] ");
    Disp_Text(hdc, 600, 330, "測定時間 ", NULL, 0, "[S] ");

    hPen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    for (v = 0; v <= 80; v += 20) {
        y = SpeedToY(v);
        if (v != 0) {
            MoveToEx(hdc, CHART_LEFT, y, NULL);
            LineTo(hdc, GRID_RIGHT, y);
        }
        Disp_Text(hdc, 20, y - 10, NULL, "%3d", v, NULL);
    }
    // Time lines every 50 samples; a label only where the time is a whole
    // number of seconds.
    for (k = 0; k <= 255; k += 50) {
        x = CHART_LEFT + 2 * k;
        if (k != 0) {
            MoveToEx(hdc, x, CHART_BOTTOM, NULL);
            LineTo(hdc, x, GRID_TOP);
        }
        t = WrapMul(k, iPramSamp);
        if (t % 100 == 0)
            Disp_Text(hdc, x - 20, 330, NULL, "%4d ", t / 100, NULL);
    }
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);

    hPen = CreatePen(PS_DASH, 1, RGB(255, 0, 0));
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    y = SpeedToY(iPramRotate);
    MoveToEx(hdc, CHART_LEFT, y, NULL);
    LineTo(hdc, GRID_RIGHT, y);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
}

void Draw_Graphic(HDC hdc)
{
    int i, a, b;

    // A segment joins sample i to sample i + 1 when both hold a measurement;
    // after a run of empty slots the next segment starts from where the curve
    // stopped, so the run is bridged.
    MoveToEx(hdc, CHART_LEFT, SpeedToY(cMeasData[0]), NULL);
    for (i = 1; i <= 254; i++) {
        a = cMeasData[i];
        b = cMeasData[i + 1];
        if (a != PID_NO_SAMPLE && b != PID_NO_SAMPLE) {
            LineTo(hdc, CHART_LEFT + 2 * i, SpeedToY(a));
            MoveToEx(hdc, CHART_LEFT + 2 * i, SpeedToY(a), NULL);
            LineTo(hdc, CHART_LEFT + 2 + 2 * i, SpeedToY(b));
        }
    }
}
