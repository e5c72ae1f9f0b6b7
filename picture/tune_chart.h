// The tuning chart: the comparison chart over the measured run, the model's
// replay and the runs predicted for the two suggestions, with the model,
// the start-output warnings and the assumed law in lines under the legend.
#pragma once

#include "compare.h"

#include "../analysis/tuning.h"

#define TUNE_CURVES 4

// The curves' names, in the chart's order: measured, model, PI, PID.
extern const LPCSTR szTuneCurveNames[TUNE_CURVES];

// The chart's set for the run *pRec and its suggestion *pTune.
void MakeTuneChart(const MEASRECORD* pRec, const TUNING* pTune, COMPARESET* pSet);
