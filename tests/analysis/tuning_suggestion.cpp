// The tuning suggestion's model, limit, start, warning and PID row on runs
// of simulated motors whose truth is known, on runs no such model explains,
// and on stored extremes.
#include "analysis/decimals.h"
#include "analysis/tuning.h"
#include "motor_sim.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace motorsim;

TUNING Tune(const MEASRECORD& rec, double tauC = 1, double limit = 0)
{
    static TUNING tune;
    TUNEOPTIONS opt;
    DefaultTuneOptions(&opt);
    opt.dTauC = tauC;
    opt.dOutputLimit = limit;
    CalcTuning(&rec, &opt, &tune);
    return tune;
}

TUNING Tune(const Motor& m, const Settings& s, const Recording& r = {}, double tauC = 1, double limit = 0)
{
    return Tune(Simulate(m, s, r).rec, tauC, limit);
}

bool Has(const char* text, const std::string& part)
{
    return std::strstr(text, part.c_str()) != nullptr;
}

double RmsDifference(const std::vector<double>& speed, const MEASRECORD& b)
{
    double sum = 0;
    for (int k = 0; k < PID_SAMPLE_COUNT; ++k)
        sum += (speed[k] - b.cMeasData[k]) * (speed[k] - b.cMeasData[k]);
    return 100 * std::sqrt(sum / PID_SAMPLE_COUNT);
}

} // namespace

// The fitted model within 20 % (theta within a period), and the model's
// replay and predicted runs close to the true motor's under the same settings.
TEST(TuningSuggestion, KnownMotorsAreFittedAndPredicted)
{
    struct Case {
        Motor motor;
        Settings run;
    } cases[] = {
        {{3.2, 1.2, 0.0}, {45, 60, 40, 0, 5}},    // the examples' motor
        {{2.0, 0.5, 0.05}, {40, 40, 50, 0, 2}},   // a dead time of 2.5 periods
        {{5.0, 3.0, 0.17}, {60, 10, 300, 20, 5}}, // slow, PID, 3.4 periods of dead time
        {{1.0, 0.2, 0.03}, {30, 100, 0, 0, 1}},   // fast, P only, sampled every 10 ms
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "K " << c.motor.gain << " tau " << c.motor.tau);
        const TUNING t = Tune(c.motor, c.run);
        ASSERT_TRUE(t.bSuggestion) << t.iFitOutcome;
        EXPECT_NEAR(t.model.dGain, c.motor.gain, 0.2 * c.motor.gain);
        EXPECT_NEAR(t.model.dTauS, c.motor.tau, 0.2 * c.motor.tau);
        EXPECT_NEAR(t.model.dThetaS, c.motor.theta, c.run.samp / 100.0);
        EXPECT_FALSE(t.model.bLimit || t.model.bLateStart);
        EXPECT_NEAR(t.dThetaES, t.model.dThetaS + c.run.samp / 200.0, 1e-12);
        for (const TUNESETTING* s : {&t.pi, &t.pid}) {
            if (s == &t.pid && !t.bPid)
                continue;
            const Loop real = Simulate(c.motor, {c.run.target, s->iProp, s->iInt, s->iDiff, c.run.samp});
            EXPECT_LT(RmsDifference(real.speed, s->recPredicted), 0.03 * 100 * c.run.target);
        }
        EXPECT_LT(RmsDifference(Simulate(c.motor, c.run).speed, t.recReplay), 0.03 * 100 * c.run.target);
    }
}

// A motor of two lags (2.34 s and 0.34 s here) is fitted with both, and its
// slow start is not taken for a saturation; theta_e takes half the second.
TEST(TuningSuggestion, ASecondLagIsFittedWhereTheMotorHasOne)
{
    const TUNING two = Tune({0.5, 0.893, 0, 1.5}, {45, 1026, 0, 0, 5});
    ASSERT_TRUE(two.bSuggestion) << two.szReason;
    EXPECT_FALSE(two.model.bLimit);
    EXPECT_NEAR(two.model.dTauS, 2.338, 0.1 * 2.338);
    EXPECT_NEAR(two.model.dTau2S, 0.341, 0.15 * 0.341);
    EXPECT_NEAR(two.dThetaES, two.model.dThetaS + two.model.dTau2S / 2 + 0.025, 1e-12);
}

TEST(TuningSuggestion, RunsNoModelOfLagsExplainsAreWithheld)
{
    // A lightly damped second-order motor rings where no lags can.
    const TUNING ringing = Tune({3.0, 0.3, 0.0, 0.15}, {45, 30, 0, 0, 2});
    EXPECT_FALSE(ringing.bSuggestion);
    EXPECT_EQ(ringing.iFitOutcome, FIT_POOR);
    EXPECT_TRUE(ringing.model.bModel); // the model is kept beside its reason
    EXPECT_TRUE(Has(ringing.szReason, "一次または二次遅れとむだ時間で表せません"));
    // A run stopped after five samples.
    const TUNING stopped = Tune({3.2, 1.2, 0}, {45, 60, 40, 0, 5}, {0, 5});
    EXPECT_EQ(stopped.iFitOutcome, FIT_FEW_SAMPLES);
    EXPECT_FALSE(stopped.model.bModel);
}

// A late start is taken as a start some periods before the first sample; a
// run that cannot tell when says so, with its first speed.
TEST(TuningSuggestion, LateStartsAreFoundOrNamed)
{
    const TUNING late = Tune({0.5, 0.5, 0.15}, {45, 300, 50, 0, 5}, {5});
    ASSERT_TRUE(late.bSuggestion) << late.szReason;
    EXPECT_TRUE(late.model.bLateStart);
    EXPECT_EQ(late.model.nHidden, 5);
    EXPECT_TRUE(Has(late.szNote, "測定の 5 周期前に始まった運転とみなしました"));
    const MEASRECORD run = Simulate({1.0, 0.4, 0.05}, {45, 200, 40, 0, 5}, {2}).rec;
    const TUNING unclear = Tune(run);
    EXPECT_FALSE(unclear.bSuggestion);
    EXPECT_TRUE(Has(unclear.szReason, "測定開始時に回転数が 0 ではありません (" + std::to_string(100 * run.cMeasData[0])
                                          + " rpm)。"));
    // Noise on a run from rest is no late start.
    EXPECT_FALSE(Tune({1.0, 1.2, 0.05}, {45, 150, 120, 0, 5}, {0, 256, 50}).model.bLateStart);
}

// A drive held at its limit for the rise is found, said, and predicted with;
// a limit the user gives is used as given.
TEST(TuningSuggestion, OutputLimitsAreFoundOrTaken)
{
    const Motor held{1.0, 0.4, 0, 0, 45};
    const TUNING found = Tune(held, {40, 300, 0, 0, 5});
    ASSERT_TRUE(found.bSuggestion) << found.szReason;
    EXPECT_TRUE(found.model.bLimit && found.model.bLimitFound);
    EXPECT_NEAR(found.model.dLimit, 45, 0.15 * 45);
    EXPECT_NEAR(found.model.dTauS, 0.4, 0.2 * 0.4);
    char limit[DECIMAL_TEXT_SIZE];
    FormatFixed(limit, found.model.dLimit, 1);
    EXPECT_TRUE(Has(found.szNote, std::string("出力が約 ") + limit + " で飽和していました。"));
    // Its suggestion asks for more than the limit: the warning says so and
    // the prediction is made with it.
    EXPECT_TRUE(found.pi.bReachesLimit && found.pi.bWarning);
    EXPECT_TRUE(Has(found.pi.szWarning, std::string("出力が上限 ") + limit + " に達します"));
    const TUNING given = Tune(held, {40, 300, 0, 0, 5}, {}, 1, 45);
    EXPECT_TRUE(given.model.bLimit && !given.model.bLimitFound);
    EXPECT_EQ(given.model.dLimit, 45);
    // A clean run shows no limit.
    EXPECT_FALSE(Tune({2.0, 0.5, 0.05}, {40, 40, 50, 0, 2}).model.bLimit);
}

// The warning compares peak outputs over the whole predicted run, and fires
// exactly where the suggestion's is more than 5 % above the run's; a larger
// tau_c asks for less.
TEST(TuningSuggestion, WarningsComeFromPeakOutputs)
{
    const Motor motor{2.0, 0.5, 0.05};
    const Settings run{40, 40, 50, 0, 2};
    double lastPeak = 1e300;
    for (double tauC : {1.0, 2.0, 3.0, 10.0}) {
        const TUNING t = Tune(motor, run, {}, tauC);
        ASSERT_TRUE(t.bSuggestion);
        EXPECT_NEAR(t.dTauCS, tauC * t.dThetaES, 1e-12);
        EXPECT_LT(t.pi.dPeakOut, lastPeak);
        lastPeak = t.pi.dPeakOut;
        EXPECT_NEAR(t.pi.dPeakFactor, t.pi.dPeakOut / t.model.dRunPeakOut, 1e-12);
        EXPECT_EQ(t.pi.bWarning, t.pi.dPeakOut > TUNE_WARN_FACTOR * t.model.dRunPeakOut);
        char factor[DECIMAL_TEXT_SIZE];
        FormatFixed(factor, t.pi.dPeakFactor, 1);
        EXPECT_EQ(Has(t.pi.szWarning, std::string("の ") + factor + " 倍"), bool(t.pi.bWarning));
    }
    EXPECT_FALSE(Tune(motor, run, {}, 10).pi.bWarning); // tau_c = 10 theta_e asks for less than the run
}

// The PID row is one where it is a PID and better; otherwise it is left out
// and the reason says which condition failed.
TEST(TuningSuggestion, PidRowsAreGivenOnlyWhereTheyAreBetter)
{
    const TUNING noDelay = Tune({3.2, 1.2, 0.0}, {45, 60, 40, 0, 5});
    EXPECT_FALSE(noDelay.bPid);
    EXPECT_TRUE(Has(noDelay.szReason, "PID 提案なし: "));
    const TUNING delayed = Tune({1.0, 0.5, 0.5}, {40, 40, 60, 0, 5}); // dead time as long as the lag
    ASSERT_TRUE(delayed.bPid) << delayed.szReason;
    EXPECT_GT(delayed.pid.iDiff, 0);
    EXPECT_LT(delayed.pid.fig.dIaeRpmS, 0.95 * delayed.pi.fig.dIaeRpmS);
    EXPECT_STREQ(delayed.szReason, "");
}

// Predicted figures come from the model's exact speed: an overshoot that is
// no whole step of 100 rpm.
TEST(TuningSuggestion, PredictedFiguresAreExact)
{
    const TUNING t = Tune({2.0, 0.5, 0.05}, {40, 40, 50, 0, 2});
    STEPFIGURES stored;
    CalcStepFigures(&t.pi.recPredicted, &stored);
    EXPECT_NEAR(t.pi.fig.dOvershootPct, stored.dOvershootPct, 100.0 / 40);
    EXPECT_GT(std::fabs(std::fmod(t.pi.fig.dOvershootPct, 100.0 / 40)), 1e-6);
}

// A run whose own settings make a model's replay diverge (target 224, Kp
// 1752, Ti 860, Td 2868, T 27, rising): the replay stops at a bound, and
// what it stored are speeds; the suggestion's own replay is a whole run.
TEST(TuningSuggestion, ADivergingReplayStopsAtABound)
{
    MEASRECORD rec{};
    rec.cPIDHeader[0] = PID_FORMAT_MARK;
    rec.iPramRotate = 224, rec.iPramProp = 1752, rec.iPramInt = 860, rec.iPramDiff = 2868, rec.iPramSamp = 27;
    for (int k = 0; k < PID_SAMPLE_COUNT; ++k)
        rec.cMeasData[k] = BYTE(k == 1 ? 2 : k);
    MOTORMODEL model{};
    model.bModel = TRUE, model.dGain = 0.76, model.dTauS = 0.5, model.dThetaS = 0.2;
    PREDICTION pred;
    MEASRECORD replay;
    PredictRun(&model, &rec, rec.iPramProp, rec.iPramInt, rec.iPramDiff, TRUE, &pred, &replay);
    ASSERT_TRUE(pred.bDiverged);
    for (int k = 0; k < PID_SAMPLE_COUNT; ++k)
        EXPECT_EQ(replay.cMeasData[k] == PID_NO_SAMPLE, k >= pred.nSamples) << k;
    EXPECT_TRUE(replay.iMeasRotate >= 0 && replay.iMeasRotate <= 255);
    const TUNING t = Tune(rec);
    EXPECT_FALSE(t.bSuggestion && t.bReplayDiverged);
    EXPECT_EQ(std::memchr(t.recReplay.cMeasData, PID_NO_SAMPLE, PID_SAMPLE_COUNT) != nullptr, bool(t.bReplayDiverged));
}

// Stored values a file may hold give a suggestion or a reason, and finite
// numbers: every combination of the limits, over every sample empty, 255
// everywhere, and a ramp with empty slots.
TEST(TuningSuggestion, StoredExtremesGiveAnAnswer)
{
    const int values[] = {INT_MIN, 0, 45, INT_MAX};
    const int ramp = 0;
    MEASRECORD rec{};
    for (int target : values)
        for (int kp : values)
            for (int ti : values)
                for (int td : values)
                    for (int samp : values)
                        for (int fill : {int(PID_NO_SAMPLE), 255, ramp}) {
                            rec.iPramRotate = target, rec.iPramProp = kp, rec.iPramInt = ti, rec.iPramDiff = td;
                            rec.iPramSamp = samp;
                            for (int k = 0; k < PID_SAMPLE_COUNT; ++k)
                                rec.cMeasData[k] = BYTE(fill != ramp ? fill : k % 7 == 0 ? PID_NO_SAMPLE : k);
                            const TUNING t = Tune(rec);
                            ASSERT_TRUE(t.bSuggestion || t.szReason[0] != '\0');
                            for (double d : {t.model.dGain, t.model.dTauS, t.model.dThetaS, t.model.dRmsRpm,
                                             t.model.dRunPeakOut, t.pi.dPeakFactor, t.pid.dPeakOut,
                                             t.pid.fig.dSettlingS})
                                ASSERT_TRUE(std::isfinite(d));
                        }
}
