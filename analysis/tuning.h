// A tuning suggestion from one run: a model of the motor with one or two
// lags and dead time fitted to the recorded response (with the drive's output limit
// and the state at the first sample where the run shows them), PI and PID
// settings for it by the SIMC rules, and the responses the model predicts
// for them. Computed from a record alone; nothing here draws or knows a
// window.
//
// The law the controller is assumed to follow, every sampling period T:
//   e_k = target - y_k (y_k the stored sample, 100 rpm), e_-1 = e_0,
//   u_k = Kp/100 (e_k + T/Ti sum_{j<=k} e_j + Td/T (e_k - e_k-1)),
// Ti = 0 meaning no integral and Td = 0 no derivative action, u_k held until
// the next sample. A drive with a limit U gives the motor u_k clipped to
// [0, U] while the law's sum goes on (the law has no anti-wind-up).
#pragma once

#include "stepfigures.h"

// A reason, a note or a warning: code page 932 text with its terminator.
#define TUNE_TEXT_SIZE 256
// Three numbers are fitted: fewer samples than this say nothing about the
// fit's error.
#define TUNE_MIN_SAMPLES 8
// The fit is trusted up to this RMS error, or 3 % of the target if more:
// rounding to 100 rpm alone gives about 29 rpm.
#define TUNE_MAX_RMS_RPM 80
#define TUNE_MAX_RMS_PERCENT 3
// tau_c as a multiple of theta_e: 1 is SIMC's tight setting; larger ones
// ask for less output and overshoot less.
#define TUNE_TAU_C_MIN 1.0
#define TUNE_TAU_C_MAX 10.0
// A suggestion whose peak output is more than this times the run's warns.
#define TUNE_WARN_FACTOR 1.05

// What the user chooses: tau_c = dTauC x theta_e, and the drive's output
// limit in the law's units where known (0: found from the run, if it shows).
typedef struct tagTUNEOPTIONS {
    double dTauC;
    double dOutputLimit;
} TUNEOPTIONS;

// speed(s)/u(s) = K e^(-theta s) / ((tau s + 1)(tau2 s + 1)), u the law's
// output as the drive gives it; tau2 is 0 for a motor of one lag.
typedef struct tagMOTORMODEL {
    BOOL bModel;     // the fields below hold a fitted model
    double dGain;    // K, 100 rpm per unit of the law's output
    double dTauS;    // tau, s
    double dThetaS;  // theta, s
    double dTau2S;   // tau2, s (0: one lag), below tau
    double dRmsRpm;  // root-mean-square error of the fit, rpm
    int nSamples;    // valid samples it was fitted to
    // The drive's output limit U, law's units: given (bLimit alone) or
    // found from the run (bLimitFound too); the law's output reached it at
    // nClipped valid samples.
    BOOL bLimit;
    BOOL bLimitFound;
    double dLimit;
    int nClipped;
    // A run not from rest (its first valid sample, 100 rpm, is not 0) taken
    // as started from rest nHidden periods before slot 0 (bLateStart where
    // that is not 0).
    BOOL bLateStart;
    int iFirstSample;
    int nHidden;
    // The run's own largest output, recomputed under the law from its start.
    double dRunPeakOut;
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
#define FIT_LATE_START 11    // the run's start before its first sample is not found
#define FIT_REPLAY_DIVERGED 12 // the model under the run's own settings diverges
#define FIT_LIMIT_UNCLEAR 13 // a limit (dLimit) explains the run as well, with other settings

// The model under the law with one setting: its exact speeds and the law's
// outputs, nSamples of them (fewer where it diverged and was stopped).
typedef struct tagPREDICTION {
    double dSpeed[PID_SAMPLE_COUNT]; // 100 rpm
    double dOut[PID_SAMPLE_COUNT];   // the law's output, before any limit
    int nSamples;
    BOOL bDiverged;
    double dPeakOut;                 // the largest of dOut
    double dEndSpeed;                // at the end of the last period (the last speed after a divergence)
} PREDICTION;

// One suggested setting, as the controller takes it, and its prediction.
typedef struct tagTUNESETTING {
    int iProp;              // Kp, percent
    int iInt;               // Ti, 10 ms
    int iDiff;              // Td, 10 ms (0: no derivative action)
    double dPeakOut;        // the law's largest output over the predicted run
    double dPeakFactor;     // that over the run's own peak (0: the run's is not positive)
    BOOL bReachesLimit;     // it reaches the drive's limit
    BOOL bWarning;
    CHAR szWarning[TUNE_TEXT_SIZE]; // the warning's text, or ""
    MEASRECORD recPredicted; // the model under this setting, from rest, stored as a run
    STEPFIGURES fig;         // figures of its exact speeds
} TUNESETTING;

typedef struct tagTUNING {
    TUNEOPTIONS opt;         // as used (tau_c within its range)
    MOTORMODEL model;
    int iFitOutcome;         // FIT_...
    double dThetaES;         // theta + T/2, s
    double dTauCS;           // opt.dTauC x dThetaES, s
    MEASRECORD recReplay;    // the model under the run's own settings (bModel)
    BOOL bReplayDiverged;    // ... stopped where it diverged
    BOOL bSuggestion;        // pi holds a setting
    BOOL bPid;               // and pid too
    // Why there is no suggestion, or, with one, why there is no PID row
    // ("PID 提案なし: ..."); "" when both are given.
    CHAR szReason[TUNE_TEXT_SIZE];
    // What the fit found beyond the model: the limit, the start; or "".
    CHAR szNote[TUNE_TEXT_SIZE];
    TUNESETTING pi, pid;
} TUNING;

// tau_c = theta_e and no known limit.
void DefaultTuneOptions(TUNEOPTIONS* pOpt);
// Whether a user's tau_c multiple and output limit can be taken.
BOOL IsTauCValid(double dTauC);
BOOL IsOutputLimitValid(double dLimit);

// Fits the model to the valid samples of *pRec, with the limit of *pOpt if
// it gives one; returns FIT_... The model is filled on every path (bModel
// FALSE and zeros where there is none; for FIT_POOR and the limits the
// fitted model is kept).
int FitMotorModel(const MEASRECORD* pRec, const TUNEOPTIONS* pOpt, MOTORMODEL* pModel);
// The model under the law with the given settings at *pRec's target and
// period, with its limit: 256 samples from rest, or with bFromFit from the
// start the fit found before the run's first sample (the replay). pOut gets them stored as a
// run (100 rpm steps, 0 to 255, empty slots after a divergence; the law
// takes the model's speed itself, as a controller measures finer than its
// file keeps).
void PredictRun(const MOTORMODEL* pModel, const MEASRECORD* pRec, int iProp, int iInt, int iDiff, BOOL bFromFit,
                PREDICTION* pPred, MEASRECORD* pOut);
// The whole suggestion; every field filled on every path. pOpt NULL: the
// defaults.
void CalcTuning(const MEASRECORD* pRec, const TUNEOPTIONS* pOpt, TUNING* pTune);
