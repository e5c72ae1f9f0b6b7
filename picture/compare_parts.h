// The parts the comparison chart is drawn from, each in a file of its own,
// for Disp_CompareView to call in order.
#pragma once

#include "compare.h"

// Frame, axes, dotted grid with labels for the range, and the range's note.
void Disp_CompareGrid(HDC hdc, const COMPAREAXES* pAxes);
// A run's curve on the plot's columns; returns the y where it ends there,
// or -1 when none of it is on them.
int Draw_CompareCurve(HDC hdc, const COMPAREAXES* pAxes, const int* yOfSpeed, int iRun, const MEASRECORD* pRec);
// The curves' numbers right of the grid, at the heights where they end.
void Disp_CompareTags(HDC hdc, const COMPAREAXES* pAxes, const int* yEnd, int nRuns);
// The figures' marks: the settling bands under the grid, and the rise,
// settling and peak marks on the curves.
void Disp_SettlingBands(HDC hdc, const COMPARESET* pSet, const COMPAREAXES* pAxes);
void Draw_FigureMarks(HDC hdc, const COMPARESET* pSet, const COMPAREAXES* pAxes);
// The cursor's line under the curves, and its points on them and its
// readout over them.
void Draw_CursorLine(HDC hdc, const COMPAREAXES* pAxes, LONGLONG llCursorMs);
void Disp_CursorReadout(HDC hdc, const COMPARESET* pSet, const COMPAREAXES* pAxes, LONGLONG llCursorMs);

// llMs (not negative) in seconds, with iMinDecimals to 3 decimals (no trailing zeros
// beyond the least); returns the text's length.
int FormatSeconds(LPSTR psz, LONGLONG llMs, int iMinDecimals);
