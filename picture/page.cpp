// The page routine: the whole measurement page, drawn from scratch.
#include "page.h"

void Disp_Page(HDC hdc)
{
    // The order is part of the look: the frame wipe comes first, the curve
    // last, on top of grid and target line.
    Disp_GroupBox(hdc);
    Disp_PIDParm(hdc);
    Disp_PIDMeas(hdc);
    Disp_GraphBox(hdc);
    Draw_Graphic(hdc);
}
