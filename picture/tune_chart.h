// The tuning chart: the comparison chart over the measured run, the model's
// replay and the runs predicted for the suggestions, with the model, what
// the fit found, the warnings and the assumed law in lines under the legend.
#pragma once

#include "compare.h"

#include "../analysis/tuning.h"

#define TUNE_CURVES 5

// The curves' names, in the chart's order: measured, predicted last time,
// model, PI, PID.
#define TUNE_MEASURED 0
#define TUNE_PREVIOUS 1
#define TUNE_MODEL 2
#define TUNE_PI 3
#define TUNE_PID 4
extern const LPCSTR szTuneCurveNames[TUNE_CURVES];

// The chart's set for the run *pRec and its suggestion *pTune (or its
// reason, where none is made). pPrevious, where not NULL, is the run a
// suggestion made before predicted for the settings *pRec was run with:
// it goes beside the measured run as "前回の予測".
void MakeTuneChart(const MEASRECORD* pRec, const TUNING* pTune, const MEASRECORD* pPrevious, COMPARESET* pSet);
// The heading of the curves' column, which names tau_c: "曲線 (τc = 2θe)".
void MakeTuneHeading(double dTauC, LPSTR psz, int iSize);
