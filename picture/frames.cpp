// The page's frames, the parameter panel below the chart and the measured
// values box at its top right.
#include "page.h"
#include "../data/measdata.h"

void Disp_GroupBox(HDC hdc)
{
    static const POINT ptValueBox[] = {{770, 40}, {770, 220}, {600, 220}, {600, 40}};
    static const POINT ptParmFrame[] = {{550, 400}, {550, 475}, {10, 475}, {10, 400}};
    HPEN hPen, hOldPen;

    // Filling the chart frame white wipes any earlier chart.
    Rectangle(hdc, 10, 20, 780, 370);

    MoveToEx(hdc, 600, 40, NULL);
    PolylineTo(hdc, ptValueBox, 4);
    MoveToEx(hdc, 10, 400, NULL);
    PolylineTo(hdc, ptParmFrame, 4);

    // The caption's opaque cell cuts a gap into the frame's top edge.
    Disp_Text(hdc, 30, 390, "設定パラメータ", NULL, 0, NULL);

    // Legend samples of the target line and the measured curve.
    hPen = CreatePen(PS_DASH, 1, RGB(255, 0, 0));
    hOldPen = (HPEN)SelectObject(hdc, hPen);
    MoveToEx(hdc, 610, 165, NULL);
    LineTo(hdc, 660, 165);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);

    MoveToEx(hdc, 610, 195, NULL);
    LineTo(hdc, 660, 195);
}

void Disp_PIDParm(HDC hdc)
{
    // Speeds are kept in 100 rpm and shown with a literal "00"; times in
    // 10 ms and shown in ms.
    Disp_Text(hdc, 50, 410, "目標回転数", "%3d", iPramRotate, "00[rpm] ");
    Disp_Text(hdc, 50, 430, "比例係数 Kp", "%4d ", iPramProp, "[%%] ");
    Disp_Text(hdc, 200, 430, "積分時間 Ti", "%6d", WrapMul(iPramInt, 10), "[mS] ");
    Disp_Text(hdc, 360, 430, "微分時間 Td", "%6d", WrapMul(iPramDiff, 10), "[mS] ");
    Disp_Text(hdc, 50, 450, "サンプリング", "%6d", WrapMul(iPramSamp, 10), "[mS] ");
}

void Disp_PIDMeas(HDC hdc)
{
    // The measurement time is a count of 10 ms and never negative: divide it
    // unsigned, down to whole seconds.
    Disp_Text(hdc, 610, 60, "測定時間 ", "%5d", (int)((DWORD)iMeasTime / 100u), "[S] ");
    Disp_Text(hdc, 610, 90, "測定回転数", "%3d", iMeasRotate, "00[rpm] ");
    Disp_Text(hdc, 610, 120, "操作出力 ", "%3d ", iOpeOut0, NULL);
    Disp_Text(hdc, 670, 160, "目標回転数", NULL, 0, NULL);
    Disp_Text(hdc, 670, 190, "測定回転数", NULL, 0, NULL);
}
