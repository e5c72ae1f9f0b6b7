// The measurement page's drawing routines. Each draws on the surface it is
// given and reads the measurement record; Disp_Page runs them all in order.
#pragma once

#include "../platform/win32.h"

// The page is laid out on 800 x 540 pixels: the print bitmap's size and the
// main window's outer size.
#define PAGE_WIDTH 800
#define PAGE_HEIGHT 540

// The chart: sample 0 at speed 0 lies at (CHART_LEFT, CHART_BOTTOM), 2 pixels
// a sample to the right and 3 pixels per 100 rpm up; the grid reaches
// GRID_RIGHT and GRID_TOP.
#define CHART_LEFT 50
#define CHART_BOTTOM 320
#define GRID_RIGHT 580
#define GRID_TOP 40

void Disp_Page(HDC hdc);

void Disp_GroupBox(HDC hdc);
void Disp_PIDParm(HDC hdc);
void Disp_PIDMeas(HDC hdc);
void Disp_GraphBox(HDC hdc);
void Draw_Graphic(HDC hdc);

// The main window's cursor, drawn over the page on the window only: the
// sample under a point of the chart (FALSE off the chart), and the cursor's
// grey line at a sample with a readout of its time, speed and target.
BOOL PageSampleAt(int x, int y, int* piSample);
void Disp_PageCursor(HDC hdc, int iSample);

// Composes label, number and unit (each may be NULL) into one text and draws
// it with its top-left corner at (x, y).
void Disp_Text(HDC hdc, int x, int y, LPCSTR lpszLabel, LPCSTR lpszField, int iValue, LPCSTR lpszUnit);

// Page arithmetic wraps modulo 2^32 like the 32-bit machine it was made for;
// it is done unsigned so that no value is undefined.
static inline int WrapMul(int a, int b)
{
    return (int)((DWORD)a * (DWORD)b);
}

// The y of a speed (in 100 rpm) on the chart: 3 pixels per 100 rpm up from 320.
static inline int SpeedToY(int iSpeed)
{
    return (int)((DWORD)CHART_BOTTOM - 3u * (DWORD)iSpeed);
}
