// The tuning suggestion on runs of simulated motors whose true gain, time
// constant and dead time are known, on runs no such model explains, and on
// stored extremes.
#include "analysis/decimals.h"
#include "analysis/tuning.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Motor {
    double gain, tau, theta; // 100 rpm per output unit, s, s
    double zeta = 0;         // > 0: a second-order motor with this damping instead
};

struct Settings {
    int target, kp, ti, td, samp;
};

// A run of the motor under the law, recorded as the controller does: the
// controller sees the real speed, the file the speed rounded to 100 rpm;
// the output stops at outputLimit. The motor is integrated in small steps.
MEASRECORD SimulatedRun(const Motor& m, const Settings& s, double outputLimit = 1e300, int samples = PID_SAMPLE_COUNT)
{
    const int steps = 200;
    const double period = s.samp / 100.0, h = period / steps;
    const int delaySteps = static_cast<int>(std::lround(m.theta / h));
    std::vector<double> held(static_cast<std::size_t>(samples * steps + delaySteps + 1), 0.0);
    MEASRECORD rec{};
    rec.cPIDHeader[0] = PID_FORMAT_MARK;
    rec.iPramRotate = s.target, rec.iPramProp = s.kp, rec.iPramInt = s.ti, rec.iPramDiff = s.td;
    rec.iPramSamp = s.samp;
    std::memset(rec.cMeasData, PID_NO_SAMPLE, sizeof rec.cMeasData);
    double speed = 0, rate = 0, sum = 0, last = s.target;
    std::size_t at = 0;
    for (int k = 0; k < samples; ++k) {
        const long stored = std::clamp(std::lround(speed), 0L, 255L);
        rec.cMeasData[k] = static_cast<BYTE>(stored == PID_NO_SAMPLE ? 2 : stored);
        const double e = s.target - speed;
        sum += e;
        double u = s.kp / 100.0 * (e + (s.ti ? double(s.samp) / s.ti * sum : 0) + double(s.td) / s.samp * (e - last));
        last = e;
        u = std::clamp(u, -outputLimit, outputLimit);
        for (int i = 0; i < steps; ++i, ++at) {
            held[at + delaySteps] = u;
            if (m.zeta > 0) { // tau^2 y'' + 2 zeta tau y' + y = K u
                rate += h * (m.gain * held[at] - speed - 2 * m.zeta * m.tau * rate) / (m.tau * m.tau);
                speed += h * rate;
            } else {
                speed += h * (m.gain * held[at] - speed) / m.tau;
            }
        }
    }
    return rec;
}

TUNING Tune(const MEASRECORD& rec)
{
    static TUNING tune;
    CalcTuning(&rec, &tune);
    return tune;
}

// SIMC on the true motor, as the controller is set: Kp %, Ti and Td in 10 ms.
void TrueSimc(const Motor& m, int samp, double* kp, double* ti, double* kpPid, double* tiPid, double* tdPid)
{
    const double thetaE = m.theta + samp / 200.0, tiS = std::min(m.tau, 8 * thetaE), td = thetaE / 3;
    *kp = 100 * m.tau / (m.gain * 2 * thetaE);
    *ti = 100 * tiS;
    *kpPid = *kp * (1 + td / tiS);
    *tiPid = 100 * (tiS + td);
    *tdPid = 100 * tiS * td / (tiS + td);
}

double RmsDifference(const MEASRECORD& a, const MEASRECORD& b)
{
    double sum = 0;
    for (int k = 0; k < PID_SAMPLE_COUNT; ++k)
        sum += (a.cMeasData[k] - b.cMeasData[k]) * double(a.cMeasData[k] - b.cMeasData[k]);
    return 100 * std::sqrt(sum / PID_SAMPLE_COUNT);
}

} // namespace

// The fitted model within 20 % (theta within a period), the suggestion within
// 25 % of SIMC on the true motor, and the predicted response close to the
// true motor's under the suggested setting.
TEST(TuningSuggestion, KnownMotorsAreFittedAndTuned)
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
        SCOPED_TRACE(::testing::Message() << "K " << c.motor.gain << " tau " << c.motor.tau << " theta " << c.motor.theta);
        const TUNING t = Tune(SimulatedRun(c.motor, c.run));
        ASSERT_TRUE(t.bSuggestion) << t.iFitOutcome;
        EXPECT_NEAR(t.model.dGain, c.motor.gain, 0.2 * c.motor.gain);
        EXPECT_NEAR(t.model.dTauS, c.motor.tau, 0.2 * c.motor.tau);
        EXPECT_NEAR(t.model.dThetaS, c.motor.theta, c.run.samp / 100.0);
        double kp, ti, kpPid, tiPid, tdPid;
        TrueSimc(c.motor, c.run.samp, &kp, &ti, &kpPid, &tiPid, &tdPid);
        EXPECT_NEAR(t.pi.iProp, kp, 0.25 * kp);
        EXPECT_NEAR(t.pi.iInt, ti, 0.25 * ti + 0.5);
        EXPECT_EQ(t.pi.iDiff, 0);
        EXPECT_NEAR(t.pid.iProp, kpPid, 0.25 * kpPid);
        EXPECT_NEAR(t.pid.iInt, tiPid, 0.25 * tiPid + 0.5);
        EXPECT_NEAR(t.pid.iDiff, tdPid, 0.25 * tdPid + 0.5);
        // The true motor under each suggestion, sampled as the model predicts it.
        for (const TUNESETTING* s : {&t.pi, &t.pid}) {
            const MEASRECORD real = SimulatedRun(c.motor, {c.run.target, s->iProp, s->iInt, s->iDiff, c.run.samp});
            EXPECT_LT(RmsDifference(real, s->recPredicted), 0.03 * 100 * c.run.target);
        }
        EXPECT_LT(RmsDifference(SimulatedRun(c.motor, c.run), t.recReplay), 0.03 * 100 * c.run.target);
    }
}

TEST(TuningSuggestion, RunsNoFirstOrderModelExplainsAreWithheld)
{
    // A lightly damped second-order motor rings where no first-order lag can.
    const TUNING ringing = Tune(SimulatedRun({3.0, 0.3, 0.0, 0.15}, {45, 30, 0, 0, 2}));
    EXPECT_FALSE(ringing.bSuggestion);
    EXPECT_EQ(ringing.iFitOutcome, FIT_POOR);
    EXPECT_TRUE(ringing.model.bModel); // the model is kept beside its reason
    EXPECT_GT(std::strlen(ringing.szReason), 0u);
    // A run stopped after five samples.
    const TUNING stopped = Tune(SimulatedRun({3.2, 1.2, 0}, {45, 60, 40, 0, 5}, 1e300, 5));
    EXPECT_EQ(stopped.iFitOutcome, FIT_FEW_SAMPLES);
    EXPECT_FALSE(stopped.model.bModel);
}

TEST(TuningSuggestion, ARunHeldAtTheOutputLimitWarnsOfTheStart)
{
    // The law asks for 60 x 45 / 100 (1 + 5 / 40) = 30 at the start; the
    // drive gives 24 for the first samples. The fit still passes.
    const TUNING t = Tune(SimulatedRun({3.2, 1.2, 0.0}, {45, 60, 40, 0, 5}, 24.0));
    ASSERT_TRUE(t.bSuggestion) << t.szReason;
    EXPECT_TRUE(t.pi.bWarning && t.pid.bWarning);
    EXPECT_NEAR(t.pi.dStartFactor, t.pi.iProp / 60.0, 1e-12);
    char factor[DECIMAL_TEXT_SIZE];
    FormatFixed(factor, t.pid.dStartFactor, 1);
    EXPECT_NE(std::strstr(t.pid.szWarning, factor), nullptr) << factor;
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
                            ASSERT_NE(t.bSuggestion, t.szReason[0] != '\0');
                            for (double d : {t.model.dGain, t.model.dTauS, t.model.dThetaS, t.model.dRmsRpm,
                                             t.pi.dStartFactor, t.pid.dStartFactor, t.pid.fig.dSettlingS})
                                ASSERT_TRUE(std::isfinite(d));
                        }
}
