// The model under the law: the run a setting would give, from rest, or the
// run's own settings from the start the fit found (the replay). A
// loop the model makes unstable is stopped where its speed leaves any
// bound a motor could reach, so that no infinity reaches a stored sample.
#include "motorfit.h"

#include <math.h>
#include <string.h>

// Ten times the fastest speed a file can hold, 100 rpm: past it the loop
// has diverged, not overshot.
#define SPEED_BOUND 2550.0

// The stored sample of a speed within the bound: whole 100 rpm, within a
// byte. A speed that rounds to the empty mark is stored as 200 rpm, as the
// controller that writes the examples does, so that the curve has no gap.
static BYTE StoredSample(double dSpeed)
{
    double d = floor((dSpeed < 0.0 ? 0.0 : dSpeed > 255.0 ? 255.0 : dSpeed) + 0.5);
    return d == PID_NO_SAMPLE ? (BYTE)(PID_NO_SAMPLE + 1) : (BYTE)d;
}

void StartPredictedRecord(const MEASRECORD* pRec, int iProp, int iInt, int iDiff, MEASRECORD* pOut)
{
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
    memset(pOut->cMeasData, PID_NO_SAMPLE, sizeof(pOut->cMeasData));
}

double SimulateModel(const MOTORMODEL* pModel, const MEASRECORD* pRec, int iProp, int iInt, int iDiff, BOOL bFromFit,
                     const FITDATA* pCompare, double dBound, PREDICTION* pPred)
{
    // The drive's inputs after INPUT_PAD zeros, the rest before the start,
    // which a delayed input reads without a test.
    double dPadded[INPUT_PAD + HIDDEN_MAX + PID_SAMPLE_COUNT], *dIn = dPadded + INPUT_PAD;
    double dPeriodS = pRec->iPramSamp / 100.0, dKp = iProp / 100.0;
    double dInt = iInt != 0 ? (double)pRec->iPramSamp / iInt : 0.0;
    double dDiff = iDiff != 0 ? (double)iDiff / pRec->iPramSamp : 0.0;
    const BOOL bLimit = pModel->bLimit;
    const double dLimit = pModel->dLimit;
    int nHidden = bFromFit ? pModel->nHidden : 0;
    double x = 0.0, x1 = 0.0, x2 = 0.0, e, eLast = pRec->iPramRotate, dSum = 0.0, dError = 0.0;
    DISCRETE m;

    Discretise(pModel->dTauS / dPeriodS, pModel->dTau2S / dPeriodS, pModel->dThetaS / dPeriodS, &m);
    m.b1 *= pModel->dGain * m.c1;
    m.b2 *= pModel->dGain * m.c1;
    m.b21 *= pModel->dGain * m.c2;
    m.b22 *= pModel->dGain * m.c2;
    memset(dPadded, 0, sizeof(double) * INPUT_PAD);
    const double* pIn1 = dIn - m.d;
    const double* pIn2 = pIn1 - 1;
    // The law as u = cE e + cSum sum + cLast e_k-1, taken as what is known
    // before the speed less the speed's share, and the next speed as what
    // is known before u plus u's share of it: a short chain from one speed
    // to the next, which this loop's time is. Without dead time u is taken
    // as computed, not back from its slot.
    const double cE = dKp * (1.0 + dDiff), cSum = dKp * dInt, cLast = -dKp * dDiff, cSpeed = cE + cSum;
    const double dRef = pRec->iPramRotate;
    const double bNow = m.b1 - m.b21, bLast = m.b2 - m.b22;
    const BOOL bNoDelay = m.d == 0, bTwoLags = m.c2 != 0.0;
    double dPeak = -HUGE_VAL;
    pPred->bDiverged = FALSE;
    for (int j = 0; j < nHidden + PID_SAMPLE_COUNT; j++) {
        int k = j - nHidden;
        double dBefore = cSpeed * dRef + cSum * dSum + cLast * eLast;
        double u = dBefore - cSpeed * x;
        e = dRef - x;
        dSum += e;
        if (!(fabs(x) <= SPEED_BOUND) || !isfinite(u)) {
            pPred->bDiverged = TRUE;
            pPred->nSamples = k > 0 ? k : 0;
            pPred->dPeakOut = dPeak;
            return HUGE_VAL;
        }
        eLast = e;
        if (k >= 0) {
            pPred->dSpeed[k] = x;
            pPred->dOut[k] = u;
            if (pCompare != NULL && pCompare->bValid[k]) {
                dError += (pCompare->dSpeed[k] - x) * (pCompare->dSpeed[k] - x);
                if (dError > dBound) { // lost already: the rest is not looked at
                    pPred->nSamples = k + 1;
                    pPred->dPeakOut = dPeak;
                    return dError;
                }
            }
        }
        dPeak = u > dPeak ? u : dPeak;
        double uIn = u; // not clipped at all without a limit: off the chain
        if (bLimit)
            uIn = u < 0.0 ? 0.0 : u > dLimit ? dLimit : u;
        dIn[j] = uIn;
        double in1 = bNoDelay ? uIn : pIn1[j], in2 = pIn2[j];
        if (bTwoLags) {
            double dKnown = m.a * x1 - m.a2 * x2 + bLast * in2;
            x2 = m.a2 * x2 + m.b21 * in1 + m.b22 * in2;
            x1 = m.a * x1 + m.b1 * in1 + m.b2 * in2;
            x = dKnown + bNow * in1;
        } else if (bNoDelay) {
            x = (m.a * x + m.b2 * in2) + m.b1 * in1; // in1 last: it waits on x
        } else {
            x = m.a * x + (m.b1 * in1 + m.b2 * in2); // x last: the inputs are known
        }
    }
    pPred->dPeakOut = dPeak;
    pPred->nSamples = PID_SAMPLE_COUNT;
    // The speed at the end of the last period is the file's final value.
    pPred->bDiverged = !(fabs(x) <= SPEED_BOUND);
    pPred->dEndSpeed = pPred->bDiverged ? pPred->dSpeed[PID_SAMPLE_COUNT - 1] : x;
    return pPred->bDiverged ? HUGE_VAL : dError;
}

void PredictRun(const MOTORMODEL* pModel, const MEASRECORD* pRec, int iProp, int iInt, int iDiff, BOOL bFromFit,
                PREDICTION* pPred, MEASRECORD* pOut)
{
    StartPredictedRecord(pRec, iProp, iInt, iDiff, pOut);
    pPred->nSamples = 0;
    pPred->bDiverged = FALSE;
    pPred->dPeakOut = 0.0;
    pPred->dEndSpeed = 0.0;
    if (!pModel->bModel || pRec->iPramSamp <= 0)
        return;
    SimulateModel(pModel, pRec, iProp, iInt, iDiff, bFromFit, NULL, HUGE_VAL, pPred);
    for (int k = 0; k < pPred->nSamples; k++)
        pOut->cMeasData[k] = StoredSample(pPred->dSpeed[k]);
    double dEnd = pPred->dEndSpeed;
    pOut->iMeasRotate = (int)floor((dEnd < 0.0 ? 0.0 : dEnd > 255.0 ? 255.0 : dEnd) + 0.5);
}
