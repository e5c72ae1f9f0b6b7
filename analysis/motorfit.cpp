// The motor's model from one run, and the model under the law. The samples
// are what the controller saw, so its outputs are recomputed from them; the
// model's response to those held outputs is fitted to the samples by least
// squares (an output-error fit: one-step-ahead errors would be swamped by
// the rounding to 100 rpm). The model is linear in K, so K
// comes in closed form for each (tau, theta); those two are searched on a
// fixed grid and then refined by a compass search of counted steps. Times
// inside are in sampling periods.
#include "tuning.h"

#include <math.h>
#include <string.h>

#define TAU_MIN_PERIODS 0.1 // a period leaves e^-10 of a faster motor's lag
#define TAU_MAX_RUNS 10.0   // far slower than the run, only K / tau shows
#define DELAY_MAX_PERIODS 64.0 // or half the run, if less: the rest must show the response
#define TAU_GRID 20
#define SEARCH_STEPS 80
#define MIN_RISE 3 // the speed moved by fewer steps of 100 rpm: nothing to fit

// Dead times tried first, in periods: every half period near zero, where
// motors are, coarser beyond.
static const double dDelayGrid[] = {0, 0.5, 1, 1.5, 2, 3, 4, 5, 6, 8, 10, 12, 16, 20, 24, 32, 40, 48, 56, 64};
#define DELAY_GRID (int)(sizeof(dDelayGrid) / sizeof(dDelayGrid[0]))

typedef struct tagFITDATA {
    double dOut[PID_SAMPLE_COUNT];   // the controller's outputs, recomputed
    double dSpeed[PID_SAMPLE_COUNT]; // the samples, 100 rpm
    BOOL bValid[PID_SAMPLE_COUNT];
    int iLast;                       // the last valid sample: the run's end
    double dSyy;                     // sum of the valid samples' squares
    double dTauMax, dDelayMax;       // the search's upper limits
} FITDATA;

// The model over one period, exact for an input held over it and delayed
// by d + f periods: x_k+1 = a x_k + b1 u_k-d + b2 u_k-d-1, per unit of K.
typedef struct tagDISCRETE {
    double a, b1, b2;
    int d;
} DISCRETE;

static void Discretise(double dTau, double dDelay, DISCRETE* p)
{
    double f, c;

    p->d = (int)floor(dDelay);
    f = dDelay - p->d;
    p->a = exp(-1.0 / dTau);
    c = exp(-(1.0 - f) / dTau);
    p->b1 = 1.0 - c;
    p->b2 = c - p->a;
}

static double Delayed(const double* dOut, int k)
{
    return k >= 0 ? dOut[k] : 0.0; // at rest before the start
}

// The law's terms per error: integral T/Ti, derivative Td/T (0 for none).
static void LawFactors(const MEASRECORD* pRec, int iInt, int iDiff, double* pdInt, double* pdDiff)
{
    *pdInt = iInt != 0 ? (double)pRec->iPramSamp / iInt : 0.0;
    *pdDiff = iDiff != 0 ? (double)iDiff / pRec->iPramSamp : 0.0;
}

// The speeds the controller saw and its outputs. An empty slot inside the
// run was a speed too, most likely between the samples around it (a slot
// of exactly 100 rpm is stored empty), so it is taken on the straight line
// between them: the error, its sum and its change then run on smoothly.
// Before the first valid sample the motor is at rest.
static void RecomputeOutputs(const MEASRECORD* pRec, FITDATA* p)
{
    int iNext[PID_SAMPLE_COUNT];
    int iPrev, k;
    double dKp = pRec->iPramProp / 100.0, dInt, dDiff, y, e, eLast = 0.0, dSum = 0.0;

    LawFactors(pRec, pRec->iPramInt, pRec->iPramDiff, &dInt, &dDiff);
    for (k = PID_SAMPLE_COUNT - 1, iPrev = -1; k >= 0; k--) {
        iNext[k] = iPrev;
        if (p->bValid[k])
            iPrev = k;
    }
    iPrev = -1;
    for (k = 0; k <= p->iLast; k++) {
        if (p->bValid[k]) {
            y = p->dSpeed[k];
            iPrev = k;
        } else if (iPrev < 0) {
            y = 0.0;
        } else {
            int j = iNext[k]; // exists: k is before the last valid sample
            y = p->dSpeed[iPrev] + (p->dSpeed[j] - p->dSpeed[iPrev]) * (k - iPrev) / (j - iPrev);
        }
        e = pRec->iPramRotate - y;
        if (k == 0)
            eLast = e; // no derivative kick at the start
        dSum += e;
        p->dOut[k] = dKp * (e + dInt * dSum + dDiff * (e - eLast));
        eLast = e;
    }
}

// The least-squares error of the model (tau, theta) with its best K >= 0.
static double FitCost(const FITDATA* p, double dTau, double dDelay, double* pdGain)
{
    DISCRETE m;
    double x = 0.0, dSxy = 0.0, dSxx = 0.0, dCost;

    Discretise(dTau, dDelay, &m);
    for (int k = 0; k <= p->iLast; k++) {
        if (p->bValid[k]) {
            dSxy += p->dSpeed[k] * x;
            dSxx += x * x;
        }
        x = m.a * x + m.b1 * Delayed(p->dOut, k - m.d) + m.b2 * Delayed(p->dOut, k - m.d - 1);
    }
    *pdGain = 0.0;
    if (!(dSxy > 0.0 && dSxx > 0.0))
        return p->dSyy;
    *pdGain = dSxy / dSxx;
    dCost = p->dSyy - dSxy * *pdGain;
    return dCost > 0.0 ? dCost : 0.0;
}

static double Clamp(double d, double dLow, double dHigh)
{
    return d < dLow ? dLow : d > dHigh ? dHigh : d;
}

// The best (tau, theta): the grid's best point, then a compass search in
// (ln tau, theta) that halves its steps where no neighbour is better.
static void SearchModel(const FITDATA* p, double* pdTau, double* pdDelay)
{
    double dLogMin = log(TAU_MIN_PERIODS), dLogMax = log(p->dTauMax);
    double dLogStep = (dLogMax - dLogMin) / (TAU_GRID - 1);
    double dBestLog = dLogMin, dBestDelay = 0.0, dBest = -1.0, dGain, dCost;
    double hLog = dLogStep / 2, hDelay = 1.0;

    for (int i = 0; i < TAU_GRID; i++) {
        for (int j = 0; j < DELAY_GRID && dDelayGrid[j] <= p->dDelayMax; j++) {
            dCost = FitCost(p, exp(dLogMin + i * dLogStep), dDelayGrid[j], &dGain);
            if (dBest < 0.0 || dCost < dBest) {
                dBest = dCost;
                dBestLog = dLogMin + i * dLogStep;
                dBestDelay = dDelayGrid[j];
            }
        }
    }
    for (int iStep = 0; iStep < SEARCH_STEPS; iStep++) {
        static const int iDir[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        double dMoveLog = dBestLog, dMoveDelay = dBestDelay, dMove = dBest;
        for (int n = 0; n < 4; n++) {
            double dLog = Clamp(dBestLog + iDir[n][0] * hLog, dLogMin, dLogMax);
            double dDelay = Clamp(dBestDelay + iDir[n][1] * hDelay, 0.0, p->dDelayMax);
            dCost = FitCost(p, exp(dLog), dDelay, &dGain);
            if (dCost < dMove) {
                dMove = dCost;
                dMoveLog = dLog;
                dMoveDelay = dDelay;
            }
        }
        if (dMove < dBest) {
            dBest = dMove;
            dBestLog = dMoveLog;
            dBestDelay = dMoveDelay;
        } else {
            hLog /= 2;
            hDelay /= 2;
        }
    }
    *pdTau = exp(dBestLog);
    *pdDelay = dBestDelay;
}

// The model's RMS error over the valid samples, in 100 rpm.
static double FitRms(const FITDATA* p, double dGain, double dTau, double dDelay, int nValid)
{
    DISCRETE m;
    double x = 0.0, dSum = 0.0, r;

    Discretise(dTau, dDelay, &m);
    for (int k = 0; k <= p->iLast; k++) {
        if (p->bValid[k]) {
            r = p->dSpeed[k] - dGain * x;
            dSum += r * r;
        }
        x = m.a * x + m.b1 * Delayed(p->dOut, k - m.d) + m.b2 * Delayed(p->dOut, k - m.d - 1);
    }
    return sqrt(dSum / nValid);
}

int FitMotorModel(const MEASRECORD* pRec, MOTORMODEL* pModel)
{
    FITDATA fit;
    int nValid = 0, iLow = 255, iHigh = 0;
    double dTau, dDelay, dGain, dPeriodS = pRec->iPramSamp / 100.0;

    memset(pModel, 0, sizeof(*pModel));
    if (pRec->iPramSamp <= 0)
        return FIT_NO_PERIOD;
    if (pRec->iPramRotate <= 0)
        return FIT_NO_TARGET;
    if (pRec->iPramProp <= 0)
        return FIT_NO_GAIN;
    fit.iLast = -1;
    fit.dSyy = 0.0;
    for (int k = 0; k < PID_SAMPLE_COUNT; k++) {
        int y = pRec->cMeasData[k];
        fit.bValid[k] = y != PID_NO_SAMPLE;
        fit.dSpeed[k] = y;
        if (!fit.bValid[k])
            continue;
        fit.iLast = k;
        fit.dSyy += (double)y * y;
        nValid++;
        iLow = y < iLow ? y : iLow;
        iHigh = y > iHigh ? y : iHigh;
    }
    pModel->nSamples = nValid;
    if (nValid < TUNE_MIN_SAMPLES)
        return FIT_FEW_SAMPLES;
    if (iHigh - iLow < MIN_RISE)
        return FIT_NO_RESPONSE;

    RecomputeOutputs(pRec, &fit);
    fit.dTauMax = TAU_MAX_RUNS * fit.iLast;
    fit.dDelayMax = fit.iLast / 2.0 < DELAY_MAX_PERIODS ? fit.iLast / 2.0 : DELAY_MAX_PERIODS;
    SearchModel(&fit, &dTau, &dDelay);
    FitCost(&fit, dTau, dDelay, &dGain);
    if (!(dGain > 0.0) || !isfinite(dGain))
        return FIT_NOT_DRIVEN;

    pModel->bModel = TRUE;
    pModel->dGain = dGain;
    pModel->dTauS = dTau * dPeriodS;
    pModel->dThetaS = dDelay * dPeriodS;
    pModel->dRmsRpm = 100.0 * FitRms(&fit, dGain, dTau, dDelay, nValid);
    if (dTau <= TAU_MIN_PERIODS * 1.0001)
        return FIT_TAU_SHORT;
    if (dTau >= fit.dTauMax / 1.0001)
        return FIT_TAU_LONG;
    if (dDelay >= fit.dDelayMax - 1e-4)
        return FIT_DELAY_LONG;
    double dLimit = (double)pRec->iPramRotate * TUNE_MAX_RMS_PERCENT; // 3 % of 100 x target, rpm
    if (dLimit < TUNE_MAX_RMS_RPM)
        dLimit = TUNE_MAX_RMS_RPM;
    return pModel->dRmsRpm > dLimit ? FIT_POOR : FIT_OK;
}

// The stored sample of a speed: whole 100 rpm, within a byte. A speed that
// rounds to the empty mark is stored as 200 rpm, as the controller that
// writes the examples does, so that the curve has no gap there.
static BYTE StoredSample(double dSpeed)
{
    double d = floor(Clamp(dSpeed, 0.0, 255.0) + 0.5);
    return d == PID_NO_SAMPLE ? (BYTE)(PID_NO_SAMPLE + 1) : (BYTE)d;
}

void PredictRun(const MOTORMODEL* pModel, const MEASRECORD* pRec, int iProp, int iInt, int iDiff, MEASRECORD* pOut)
{
    double dOut[PID_SAMPLE_COUNT];
    double dPeriodS = pRec->iPramSamp / 100.0, dInt, dDiff, x = 0.0, e, eLast = 0.0, dSum = 0.0;
    DISCRETE m;

    memset(pOut, 0, sizeof(*pOut));
    pOut->cPIDHeader[0] = PID_FORMAT_MARK;
    pOut->iPramRotate = pRec->iPramRotate;
    pOut->iPramProp = iProp;
    pOut->iPramInt = iInt;
    pOut->iPramDiff = iDiff;
    pOut->iPramSamp = pRec->iPramSamp;
    // The controller's 32-bit count of 10 ms, wrapping as it would.
    pOut->iMeasTime = (int)((DWORD)PID_SAMPLE_COUNT * (DWORD)pRec->iPramSamp);
    // iOpeOut0 stays 0: the law's output is not in the drive's units.
    if (!pModel->bModel || pRec->iPramSamp <= 0) {
        memset(pOut->cMeasData, PID_NO_SAMPLE, sizeof(pOut->cMeasData));
        return;
    }
    Discretise(pModel->dTauS / dPeriodS, pModel->dThetaS / dPeriodS, &m);
    LawFactors(pRec, iInt, iDiff, &dInt, &dDiff);
    // The controller measures the speed finer than the file keeps it: the
    // law takes the model's speed, the record its stored sample.
    for (int k = 0; k < PID_SAMPLE_COUNT; k++) {
        pOut->cMeasData[k] = StoredSample(x);
        e = (double)pRec->iPramRotate - x;
        if (k == 0)
            eLast = e;
        dSum += e;
        dOut[k] = iProp / 100.0 * (e + dInt * dSum + dDiff * (e - eLast));
        eLast = e;
        x = m.a * x + pModel->dGain * (m.b1 * Delayed(dOut, k - m.d) + m.b2 * Delayed(dOut, k - m.d - 1));
    }
    pOut->iMeasRotate = (int)floor(Clamp(x, 0.0, 255.0) + 0.5);
}
