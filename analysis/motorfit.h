// Inside the motor's fit: the run as the fit sees it, one candidate model
// and its least-squares cost, and the model stepped over one period, which
// the prediction shares. Times are in sampling periods.
#pragma once

#include "tuning.h"

#define TAU_MIN_PERIODS 0.1 // a period leaves e^-10 of a faster motor's lag
#define TAU_MAX_RUNS 10.0   // far slower than the run, only K / tau shows
#define DELAY_MAX_PERIODS 64.0 // or half the run, if less: the rest must show the response
// A run whose first sample is not 0 started this many periods before it at
// most; a start found at the limit is not believed.
#define HIDDEN_MAX 10

// The model over one period, exact for an input held over it and delayed
// by d + f periods: x_k+1 = a x_k + b1 u_k-d + b2 u_k-d-1, per unit of K.
// Two lags are the difference of two such, each stepped alike (a2, b21,
// b22): 1 / ((tau s + 1)(tau2 s + 1)) = (c1 / (tau s + 1) - c2 / (tau2 s + 1)).
typedef struct tagDISCRETE {
    double a, b1, b2;
    double a2, b21, b22;
    double c1, c2; // c2 0: one lag, speed x
    int d;
} DISCRETE;

// dTau2 below dTau (LAG2_MAX_SHARE of it at most), 0 for one lag.
void Discretise(double dTau, double dTau2, double dDelay, DISCRETE* p);

// The dimensions a search moves in: ln tau, theta, ln (U / tau), the
// periods the run had gone before its first sample (a whole number, never
// searched step by step), ln K (linear in the fit to recomputed
// outputs, so searched only in closed loop), and a second lag as a share
// of tau (searched only in closed loop, from the fit of one lag). A run
// held at its limit
// shows the slope K U / tau plainly and U and tau apart only faintly: a
// step in tau keeps the slope.
#define DIM_LOG_TAU 0
#define DIM_DELAY 1
#define DIM_LOG_SLOPE 2
#define DIM_HIDDEN 3
#define DIM_LOG_GAIN 4
#define DIM_LAG2 5
#define FIT_DIMS 6
// A second lag this near tau is told from one lag of the same rise only by
// its curve's start; the two lags' difference grows without bound as they
// meet.
#define LAG2_MAX_SHARE 0.8

// Inputs before the start read as rest: the longest dead time and the
// hold's second input.
#define INPUT_PAD ((int)DELAY_MAX_PERIODS + 2)

typedef struct tagFITDATA {
    // The controller's outputs from the first valid sample on, recomputed
    // as if the law had started there (its sum from there, no kick).
    double dOut[PID_SAMPLE_COUNT];
    double dLaterPeak; // the largest of them after the first
    // For a run from rest, the outputs from slot 0 (the only start it has),
    // after INPUT_PAD zeros, and the largest of them.
    double dRestIn[INPUT_PAD + PID_SAMPLE_COUNT];
    double dRestPeak;
    // The valid inputs a limit counts, sorted: after a late start the
    // outputs after the first (the carry from before the start not yet
    // added, which keeps their order), for a run from rest its inputs.
    double dCounted[PID_SAMPLE_COUNT];
    int nCounted;
    double dSpeed[PID_SAMPLE_COUNT]; // the samples, 100 rpm
    BOOL bValid[PID_SAMPLE_COUNT];
    double dWeight[PID_SAMPLE_COUNT]; // 1 for a valid sample, else 0
    int iFirst, iLast;               // the first and last valid samples
    int nValid;
    int nMoving;                     // valid samples that differ from the valid one before
    double dSyy;                     // sum of the valid samples' squares
    double dTarget, dKp, dInt, dDiff; // the law: target, Kp/100, T/Ti, Td/T
    BOOL bLate;                      // the first valid sample is not 0, nor any after it
    BOOL bLimited;                   // the current search clips to [0, U]
    BOOL bLimitSearched;             // ... at a U it searches, not one given
    BOOL bSecondLag;                 // the current search moves the second lag
    double dKnownLimit;              // the U given
    double dLimitLow, dLimitHigh;    // the range a searched U keeps to
    double dLow[FIT_DIMS], dHigh[FIT_DIMS]; // the search's bounds
} FITDATA;

// A searched limit should leave the outputs below it ranging over this
// share of it: where they hardly move, an output held through the rise
// explains a P run as well as the law does, with another lag. A fit short
// of it pays for it in its cost (FreeSpanPenalty).
#define LIMIT_MIN_FREE_SPAN 0.1
// A limit is believed where the law passed it at least once: the two lags
// it is weighed against explain a slower start without one.
#define LIMIT_MIN_CLIPPED 1

// One candidate model and, from FitCosts, its fit.
typedef struct tagFITPOINT {
    double dParam[FIT_DIMS];
    double dCost;     // sum of squared errors, (100 rpm)^2
    double dOpenCost; // ... to recomputed outputs, where the replay diverged
    double dBound;    // a replay may stop adding errors past this: it has lost
    double dGain;     // K, 0 where the speed does not follow the output
    double dPeakOut;  // the law's largest output, from the start on
    int nClipped;     // valid samples whose output passed U
    int nFree;        // valid samples whose output was within (0, U)
    double dFreeSpan; // how far the outputs within (0, U) ranged
} FITPOINT;

// The limit U of a point: given, or searched (0: out of its range, which
// no fit takes).
double LimitOf(const FITDATA* p, const FITPOINT* pt);
// The factor a searched limit's cost is taken at: 1 where the outputs below
// it range far enough, growing as the square of the shortfall.
double FreeSpanPenalty(const FITDATA* p, const FITPOINT* pt);

// A compass search from *pBest in the dimensions bDim, from steps h: each
// step moves to the best better neighbour within [dLow, dHigh], or halves
// the steps, until they are below dTol or nSteps have been taken. A step's
// neighbours are costed together, n at once, each bounded by *pBest's cost.
typedef void (*FITCOSTPROC)(const void* pContext, FITPOINT* pts, int n);
void CompassSearch(FITPOINT* pBest, const BOOL* bDim, double* h, const double* dTol, const double* dLow,
                   const double* dHigh, int nSteps, FITCOSTPROC pfnCost, const void* pContext);

// Nelder and Mead's simplex in the same terms, for nEvaluations costs.
void SimplexSearch(FITPOINT* pBest, const BOOL* bDim, const double* h, const double* dLow, const double* dHigh,
                   int nEvaluations, FITCOSTPROC pfnCost, const void* pContext);

// The fit refined in closed loop: the model under the run's own law from
// its start (the replay) fitted to the samples by moving K, tau, theta and
// a searched U from *pt, which comes from the fit to recomputed outputs.
// dCost becomes the replay's squared error (HUGE_VAL where it diverges).
void RefineInClosedLoop(const MEASRECORD* pRec, const FITDATA* p, FITPOINT* pt);
// The replay's squared error at *pt as it stands, in its dCost.
void ReplayAt(const MEASRECORD* pRec, const FITDATA* p, FITPOINT* pt);

// The best fit for each start before the first sample, 0 to HIDDEN_MAX
// periods (one only, 0, for a run from rest), to recomputed outputs.
typedef struct tagSTARTS {
    int n;
    FITPOINT fit[HIDDEN_MAX + 1];
} STARTS;

// The fit *pt (one lag, refined in closed loop) with a second lag, from
// starts that split its lag and dead time between the two lags (and, after
// a late start, the lag and dead time of each start in *pStarts).
void RefineSecondLag(const MEASRECORD* pRec, FITDATA* p, const STARTS* pStarts, FITPOINT* pt);

// RefineInClosedLoop for the limited fit *pt beside the free one (and the
// free fit of each start, after a late start), from *pt and from
// closed-loop starts of its own: FALSE, and *pt not refined, where the
// limit was not reached (bReached, from the fit to recomputed outputs) and
// no start that passes it comes near the free fit, or only a limit on the
// first outputs does, and does not explain the run.
BOOL RefineLimitInClosedLoop(const MEASRECORD* pRec, const FITDATA* p, const FITPOINT* pFree,
                             const STARTS* pStartsFree, BOOL bReached, FITPOINT* pt);

// The fit to recomputed outputs without a limit, and with one: the one
// given, or one searched below the free fit's peak output; each with the
// fit for every start (with pStarts NULL, the limited fit at *pFree's start
// only, which a later call may take as *pSearched). *pLimited starts from
// *pFree.
void FitFree(FITDATA* p, FITPOINT* pBest, STARTS* pStarts);
void FitLimited(FITDATA* p, double dKnownLimit, const FITPOINT* pFree, FITPOINT* pLimited, STARTS* pStarts,
                const FITPOINT* pSearched);
// The squared error that the samples' rounding to 100 rpm leaves a model
// where the speed moves through them (1/12 of a step squared each),
// (100 rpm)^2: a fit is not told better or worse by less than its share of
// it, however closely it fits. Where the speed stays, the rounding is the
// same at every sample and tells nothing.
double RoundingCost(const FITDATA* p);
// A model with one number more is kept where it lowers the squared error
// by this F ratio: a limit, a second lag, or a start before the first sample.
#define MORE_F_RATIO 20.0
// Whether the model *pMore, with one number more, explains the run clearly
// better than *pLess.
BOOL ClearlyBetter(const FITDATA* p, const FITPOINT* pMore, const FITPOINT* pLess);
// ... by an F ratio above dRatio.
BOOL BetterBy(const FITDATA* p, const FITPOINT* pMore, const FITPOINT* pLess, double dRatio);

// Whether the limited fit *pLimited is believed over *pFree, the same
// without the limit (both refined in closed loop).
BOOL LimitExplains(const FITDATA* p, const FITPOINT* pFree, const FITPOINT* pLimited);

// The largest RMS error of a trusted fit, rpm: 3 % of 100 x target, or more.
double TuneRmsLimit(const MEASRECORD* pRec);

// The run as the fit sees it; FALSE when it has too few valid samples or
// too little change of speed to fit: *piOutcome says which.
BOOL PrepareFit(const MEASRECORD* pRec, FITDATA* p, int* piOutcome);
// The fit to recomputed outputs of n points, each in its dCost and dGain
// (and the counts of the inputs it took).
void FitCosts(const FITDATA* p, FITPOINT* pts, int n);

// A predicted run's record before its samples: the settings, the target and
// period of *pRec, every slot empty.
void StartPredictedRecord(const MEASRECORD* pRec, int iProp, int iInt, int iDiff, MEASRECORD* pOut);
// The model's run under the law, its speeds and outputs in *pPred (fewer
// than 256 where it diverged); with bFromFit after nHidden periods run
// before slot 0, unrecorded. With pCompare, returns the squared error
// from its valid samples, stopping once it passes dBound; HUGE_VAL where
// the run diverged.
double SimulateModel(const MOTORMODEL* pModel, const MEASRECORD* pRec, int iProp, int iInt, int iDiff, BOOL bFromFit,
                     const FITDATA* pCompare, double dBound, PREDICTION* pPred);
