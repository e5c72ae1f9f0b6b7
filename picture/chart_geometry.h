// The comparison chart's geometry: the time range it shows, its scales, and
// the answers drawing, the cursor, zoom and pidpage --time all take from it
// (the x of a time, the time and the sample under a pixel, the y of a speed).
#pragma once

#include "../platform/win32.h"

// The plot: time runs from CMP_LEFT to CMP_RIGHT, speed 0 lies at the axes'
// iBottom and the speed axis's top at CMP_TOP.
#define CMP_LEFT 50
#define CMP_RIGHT 620
#define CMP_TOP 80

// The narrowest range zoom reaches: this many cursor steps across.
#define CMP_MIN_SAMPLES_ACROSS 8

// Times are in ms, in 64 bits: a sample's time (index x period x 10 ms) does
// not fit 32 bits for every stored period.
typedef struct tagCOMPAREAXES {
    LONGLONG llStartMs; // the time axis shows llStartMs to llEndMs
    LONGLONG llEndMs;
    LONGLONG llStepMs;  // a grid line at every multiple: 1, 2 or 5 x 10^n ms
    BOOL bSeconds;      // labels in seconds (the step is whole seconds), else ms
    int iTopSpeed;      // the speed axis's top, 100 rpm
    int iBottom;        // the y of speed 0: the time axis
    int iLegendTop;     // the legend's frame, below the chart's
    // The range shown unless zoomed, with its step; the whole time the runs
    // span, which zoom and pan stay within; and the cursor's step, the
    // shortest sampling period (0 when no run can be placed in time).
    LONGLONG llDefaultEndMs;
    LONGLONG llDefaultStepMs;
    BOOL bDefaultSeconds;
    LONGLONG llWholeEndMs;
    LONGLONG llTickMs;
} COMPAREAXES;

// The x of a time and the y of a speed (100 rpm) or of a speed in rpm;
// times and speeds within the axes give points on the grid. A time far off
// the range gives an x far off the plot, never a wrapped one.
int TimeToX(const COMPAREAXES* pAxes, LONGLONG llMs);
LONGLONG TimeToFarX(const COMPAREAXES* pAxes, LONGLONG llMs);
int CompareSpeedToY(const COMPAREAXES* pAxes, int iSpeed);
int RpmToY(const COMPAREAXES* pAxes, LONGLONG llRpm);
// The time at a column of the plot, and whether a point lies on the plot.
LONGLONG XToTime(const COMPAREAXES* pAxes, int x);
BOOL IsOnPlot(const COMPAREAXES* pAxes, int x, int y);
// The cursor's time for column x: the cursor step nearest to its time,
// within the range shown.
LONGLONG CursorAtX(const COMPAREAXES* pAxes, int x);
// The nearest of a run's samples to a time, or -1 when it has none there.
int SampleAtTime(LONGLONG llMs, int iPramSamp);

// The round step for the range (1, 2 or 5 x 10^n ms, at most ten intervals
// wide enough for their labels), and whether llStep is one for llSpan ms
// labelled up to llEnd.
void ChooseTimeStep(COMPAREAXES* pAxes);
BOOL TimeStepFits(LONGLONG llSpan, LONGLONG llEnd, LONGLONG llStep);

// Changes of the range. SetTimeRange shows llStartMs to llEndMs with a
// round step (the default's own step when it is the default range);
// ZoomTime halves (iSteps > 0) or doubles the range iSteps times keeping
// llAnchorMs at its column, between CMP_MIN_SAMPLES_ACROSS cursor steps and
// the whole time; PanTime moves it by llDeltaMs and ShowTime just far
// enough to hold llMs, both within the whole time.
void SetTimeRange(COMPAREAXES* pAxes, LONGLONG llStartMs, LONGLONG llEndMs);
void ResetTimeRange(COMPAREAXES* pAxes);
BOOL IsDefaultRange(const COMPAREAXES* pAxes);
void ZoomTime(COMPAREAXES* pAxes, LONGLONG llAnchorMs, int iSteps);
void PanTime(COMPAREAXES* pAxes, LONGLONG llDeltaMs);
void ShowTime(COMPAREAXES* pAxes, LONGLONG llMs);
