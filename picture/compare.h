// The comparison chart: up to eight runs on one time axis, each in its own
// colour with its target line, and a legend with each run's key figures.
// Drawn on any surface, like the page, from records the caller holds.
#pragma once

#include "../data/measdata.h"

#define COMPARE_MAX_RUNS 8
#define COMPARE_NAME_SIZE 256 // a file's name as shown: code page 932, converted for display
#define COMPARE_HEADING_SIZE 32
#define COMPARE_MAX_NOTES 6   // the legend draws as many as its frame has room for
#define COMPARE_NOTE_SIZE 128 // a line of the legend: 94 single-byte cells

// The chart's grid: speed 0 at CMP_BOTTOM, the top of the speed axis at
// CMP_TOP; time 0 at CMP_LEFT, the end of the time axis at CMP_RIGHT.
#define CMP_LEFT 50
#define CMP_RIGHT 620
#define CMP_BOTTOM 280
#define CMP_TOP 80

// The speed axis starts at 0 and reaches at least 8,000 rpm, in steps of
// 2,000 rpm; it never goes beyond 26,000 rpm, the step above the fastest
// sample a file can hold (255 x 100 rpm).
#define CMP_SPEED_MIN_TOP 80
#define CMP_SPEED_STEP 20
#define CMP_SPEED_MAX_TOP 260

// One run: its record and the name of its file (no folder).
typedef struct tagCOMPARERUN {
    MEASRECORD rec;
    CHAR szName[COMPARE_NAME_SIZE];
} COMPARERUN;

// The runs, and for a chart of records the program made (a model's
// replay, predicted runs), the heading of their names' column ("" for
// file names) and lines under the legend's rows, as far as they fit.
typedef struct tagCOMPARESET {
    int nRuns;
    COMPARERUN run[COMPARE_MAX_RUNS];
    CHAR szNameHeading[COMPARE_HEADING_SIZE];
    int nNotes;
    CHAR szNote[COMPARE_MAX_NOTES][COMPARE_NOTE_SIZE];
} COMPARESET;

// The axes that hold every run of a set. Times are in ms, in 64 bits: a
// sample's time (index x period x 10 ms) does not fit 32 bits for every
// stored period.
typedef struct tagCOMPAREAXES {
    LONGLONG llEndMs;  // the time axis runs from 0 to here
    LONGLONG llStepMs; // a grid line at every multiple: 1, 2 or 5 x 10^n ms
    BOOL bSeconds;     // labels in seconds (the step is whole seconds), else ms
    int iTopSpeed;     // the speed axis's top, 100 rpm
} COMPAREAXES;

// Whether a run can be placed in time: a positive sampling period.
BOOL HasTimeAxis(const MEASRECORD* pRec);
void CalcCompareAxes(const COMPARESET* pSet, COMPAREAXES* pAxes);
// The chart's x of a time and y of a speed (100 rpm) on these axes; times
// and speeds within the axes give points on the grid.
int TimeToX(const COMPAREAXES* pAxes, LONGLONG llMs);
int CompareSpeedToY(const COMPAREAXES* pAxes, int iSpeed);

void Disp_Compare(HDC hdc, const COMPARESET* pSet);
void Disp_CompareLegend(HDC hdc, const COMPARESET* pSet);

// A run's colour and the pen of its target line (ExtCreatePen: the caller
// deletes it).
COLORREF CompareColor(int iRun);
HPEN CreateTargetPen(int iRun);

// Copies the code page 932 name into szShort (iMaxBytes + 1 bytes) so that it
// takes at most iMaxBytes bytes: a longer name keeps its start and its end
// with "…" between, and no double-byte character is cut in two.
void ShortenName(LPCSTR lpszName, LPSTR szShort, int iMaxBytes);
