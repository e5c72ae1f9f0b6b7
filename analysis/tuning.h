// A tuning suggestion from one run: a first-order model of the motor with
// dead time fitted to the recorded response, PI and PID settings for it by
// the SIMC rules, and the responses the model predicts for them. Computed
// from a record alone; nothing here draws or knows a window.
//
// The law the controller is assumed to follow, every sampling period T:
//   e_k = target - y_k (y_k the stored sample, 100 rpm), e_-1 = e_0,
//   u_k = Kp/100 (e_k + T/Ti sum_{j<=k} e_j + Td/T (e_k - e_k-1)),
// Ti = 0 meaning no integral and Td = 0 no derivative action, u_k held until
// the next sample, the run starting from rest.
#pragma once

#include "stepfigures.h"

// A reason or a warning: code page 932 text with its terminator.
#define TUNE_TEXT_SIZE 224
// Three numbers are fitted: fewer samples than this say nothing about the
// fit's error.
#define TUNE_MIN_SAMPLES 8
// The fit is trusted up to this RMS error, or 3 % of the target if more:
// rounding to 100 rpm alone gives about 29 rpm.
#define TUNE_MAX_RMS_RPM 80
#define TUNE_MAX_RMS_PERCENT 3

// speed(s)/u(s) = K e^(-theta s) / (tau s + 1), u in units of the law.
typedef struct tagMOTORMODEL {
    BOOL bModel;     // the fields below hold a fitted model
    double dGain;    // K, 100 rpm per output unit
    double dTauS;    // tau, s
    double dThetaS;  // theta, s
    double dRmsRpm;  // root-mean-square error of the fit, rpm
    int nSamples;    // valid samples it was fitted to
} MOTORMODEL;

// Why a model could not be fitted, or is not trusted (FitMotorModel).
#define FIT_OK 0
#define FIT_NO_PERIOD 1      // sampling period not positive
#define FIT_NO_TARGET 2      // target not positive
#define FIT_NO_GAIN 3        // Kp not positive
#define FIT_FEW_SAMPLES 4
#define FIT_NO_RESPONSE 5    // the speed hardly moved
#define FIT_NOT_DRIVEN 6     // the speed did not follow the output
#define FIT_TAU_SHORT 7      // tau at the search's lower limit
#define FIT_TAU_LONG 8       // tau at its upper limit
#define FIT_DELAY_LONG 9     // theta at its upper limit
#define FIT_POOR 10          // RMS error above the limit (model kept)

// One suggested setting, as the controller takes it, and its prediction.
typedef struct tagTUNESETTING {
    int iProp;              // Kp, percent
    int iInt;               // Ti, 10 ms
    int iDiff;              // Td, 10 ms (0: no derivative action)
    BOOL bWarning;          // its start output is larger than the run's
    double dStartFactor;    // its start output over the run's
    CHAR szWarning[TUNE_TEXT_SIZE]; // the warning's text, or ""
    MEASRECORD recPredicted; // the model under this setting, from rest
    STEPFIGURES fig;         // figures of recPredicted
} TUNESETTING;

typedef struct tagTUNING {
    MOTORMODEL model;
    int iFitOutcome;         // FIT_...
    MEASRECORD recReplay;    // the model under the run's own settings (bModel)
    BOOL bSuggestion;        // pi and pid hold settings
    CHAR szReason[TUNE_TEXT_SIZE]; // why not, or ""
    TUNESETTING pi, pid;
} TUNING;

// Fits the model to the valid samples of *pRec; returns FIT_... The model
// is filled on every path (bModel FALSE and zeros where there is none; for
// FIT_POOR and the limits the fitted model is kept).
int FitMotorModel(const MEASRECORD* pRec, MOTORMODEL* pModel);
// The model under the law with the given settings at *pRec's target and
// period: 256 samples from rest, stored as a run (100 rpm steps, 0 to 255;
// the law takes the model's speed itself, as a controller measures finer
// than its file keeps).
void PredictRun(const MOTORMODEL* pModel, const MEASRECORD* pRec, int iProp, int iInt, int iDiff,
                MEASRECORD* pOut);
// The whole suggestion; every field filled on every path.
void CalcTuning(const MEASRECORD* pRec, TUNING* pTune);
