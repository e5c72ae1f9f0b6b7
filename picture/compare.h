// The comparison chart: up to eight runs on one time axis, each in its own
// colour with its target line, and a legend with each run's key figures.
// Drawn on any surface, like the page, from records the caller holds.
#pragma once

#include "chart_geometry.h"

#include "../data/measdata.h"

#define COMPARE_MAX_RUNS 8
#define COMPARE_NAME_SIZE 256 // a file's name as shown: code page 932, converted for display
#define COMPARE_HEADING_SIZE 32
#define COMPARE_MAX_NOTES 6   // the legend draws as many as its frame has room for
#define COMPARE_NOTE_SIZE 128 // a line of the legend: 94 single-byte cells

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
// file names) and lines under the legend's rows; bResponseRange makes the
// time axis span the response rather than the whole runs.
typedef struct tagCOMPARESET {
    int nRuns;
    COMPARERUN run[COMPARE_MAX_RUNS];
    CHAR szNameHeading[COMPARE_HEADING_SIZE];
    int nNotes;
    CHAR szNote[COMPARE_MAX_NOTES][COMPARE_NOTE_SIZE];
    BOOL bResponseRange;
} COMPARESET;

// What a chart shows of its set: the axes and range, the cursor (a time on
// the cursor's step) and the figures' marks.
typedef struct tagCHARTVIEW {
    COMPAREAXES axes;
    BOOL bCursor;
    LONGLONG llCursorMs;
    BOOL bMarks;
} CHARTVIEW;

// Whether a run can be placed in time: a positive sampling period.
BOOL HasTimeAxis(const MEASRECORD* pRec);
// The axes that hold every run of a set, at their default range.
void CalcCompareAxes(const COMPARESET* pSet, COMPAREAXES* pAxes);
// The view of a set at its default range without a cursor; the marks stay
// as they were.
void ResetChartView(CHARTVIEW* pView, const COMPARESET* pSet);
// The top of the legend's frame: as high as its rows and notes need.
int LegendTop(const COMPARESET* pSet);

// The sample of a run the cursor reads at llCursorMs (the nearest), or -1
// when the run has none there or it is empty.
int CursorSample(const MEASRECORD* pRec, LONGLONG llCursorMs);

// The chart as the view shows it; Disp_Compare at the default range, with
// neither cursor nor marks.
void Disp_CompareView(HDC hdc, const COMPARESET* pSet, const CHARTVIEW* pView);
void Disp_Compare(HDC hdc, const COMPARESET* pSet);
void Disp_CompareLegend(HDC hdc, const COMPARESET* pSet, int iTop);

// A run's colour and the pen of its target line (ExtCreatePen: the caller
// deletes it).
COLORREF CompareColor(int iRun);
HPEN CreateTargetPen(int iRun);

// Copies the code page 932 name into szShort (iMaxBytes + 1 bytes) so that it
// takes at most iMaxBytes bytes: a longer name keeps its start and its end
// with "…" between, and no double-byte character is cut in two.
void ShortenName(LPCSTR lpszName, LPSTR szShort, int iMaxBytes);
