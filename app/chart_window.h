// A chart window's state (comparison and tuning windows alike) and what
// its window procedure hands the pointer, the keys and the view's commands
// to: each turns a message into a change of the window's view and an
// invalidation.
#pragma once

#include "compare.h"

// The runs an open chart window shows, what it shows of them (range,
// cursor, marks), a drag or wheel turn under way, the name of its print job
// and the text its copy command puts on the clipboard; a slot is free while
// its window handle is NULL.
typedef struct tagCOMPAREWINDOW {
    HWND hwnd;
    COMPARESET set;
    CHARTVIEW view;
    int xDragFrom;          // the column a left-button drag started at; -1: none
    LONGLONG llDragStartMs; // the range's start then
    int iWheelRest;         // a wheel turn short of a notch
    BOOL bTracking;         // the pointer's leave is asked for
    CHAR szDocName[COMPARE_DOCNAME_SIZE];
    CHAR szCopy[COMPARE_COPY_SIZE];
} COMPAREWINDOW;

// The view of the window's set at its default range with no cursor (the
// marks stay), no drag, and the window redrawn: for a new set too.
void ResetWindowView(COMPAREWINDOW* pWindow);

// The pointer: moves show the cursor on the plot (or pan while dragging),
// the left button drags the range, a double click gives the default range
// back, the wheel zooms around the cursor; the cursor leaves with the pointer.
void ChartMouseMove(COMPAREWINDOW* pWindow, int x, int y);
void ChartMouseLeave(COMPAREWINDOW* pWindow);
void ChartButtonDown(COMPAREWINDOW* pWindow, int x, int y);
void ChartButtonUp(COMPAREWINDOW* pWindow);
void ChartDoubleClick(COMPAREWINDOW* pWindow, int x, int y);
void ChartWheel(COMPAREWINDOW* pWindow, int iDelta, int xScreen, int yScreen);
// The keys: arrows, Home and End move the cursor (with Shift the arrows pan,
// Ctrl+Home gives the default range back), + and - zoom, Esc takes the
// cursor away; FALSE for an Esc with no cursor to take, which closes.
BOOL ChartKey(COMPAREWINDOW* pWindow, UINT uKey);
void ChartCharacter(COMPAREWINDOW* pWindow, CHAR c);
// 表示 > 拡大, 縮小 and 全体 (iSteps 0), and 特性の目印.
void ChartZoom(COMPAREWINDOW* pWindow, int iSteps);
void ChartMarksCommand(COMPAREWINDOW* pWindow);

// The chart's copy: the window's text, after it the cursor's readout as a
// header and a row when a cursor is shown, and the chart as the window shows
// it as a picture.
void CopyChart(COMPAREWINDOW* pWindow);
// The comparison's text: the figures of each run, as 応答特性 copies them.
void MakeCompareCopy(const COMPARESET* pSet, LPSTR pszCopy);
