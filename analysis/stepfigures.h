// Step-response figures of one run: how fast it rose, how far it overshot,
// when it settled and how much error it gathered on the way. Computed from a
// record alone; nothing here draws or knows a window.
#pragma once

#include "../data/measdata.h"

// Settling band: within 1/20 (5 %) of the target. Speeds are stored in steps
// of 100 rpm, so a 2 % band of a usual target would be narrower than a step.
#define SETTLE_BAND_DIVISOR 20

typedef struct tagSTEPFIGURES {
    // As set, and the final error, in 64 bits: no stored value overflows.
    LONGLONG llTargetRpm;    // target speed, rpm
    LONGLONG llKpPct;        // Kp, percent
    LONGLONG llTiMs;         // Ti, ms
    LONGLONG llTdMs;         // Td, ms
    LONGLONG llSampMs;       // sampling period, ms
    LONGLONG llSteadyErrRpm; // target minus the final measured speed, rpm
    // Each figure below holds a value only where its flag is TRUE; FALSE
    // means there is none for this run.
    BOOL bRise;       // 10 % to 90 % of the target
    double dRiseS;
    double dRiseStartS; // when it reached 10 %
    BOOL bPeak;       // largest measured speed
    LONGLONG llPeakRpm;
    BOOL bPeakTime;   // its first occurrence
    double dPeakS;
    BOOL bOvershoot;  // peak above target, percent of the target (0 if below)
    double dOvershootPct;
    BOOL bSettling;   // from when on every sample stays in the band
    double dSettlingS;
    BOOL bIae;        // integral of the absolute error
    double dIaeRpmS;
} STEPFIGURES;

void CalcStepFigures(const MEASRECORD* pRec, STEPFIGURES* pFig);
// The same figures of 256 exact speeds (100 rpm, every slot a speed, the
// last one the final speed) under the settings of *pRec: a model's
// prediction, before it is stored in whole 100 rpm.
void CalcSpeedFigures(const MEASRECORD* pRec, const double* pdSpeed, STEPFIGURES* pFig);
