// The suggestion against simulated motors of known truth: every setting it
// gives, run on the true motor with its true limit, does about as well as
// SIMC applied to the true motor, and does what its prediction says; where
// it gives none, it says why.
#include "analysis/tuning.h"
#include "motor_sim.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using namespace motorsim;

// SIMC on the true motor at tau_c = F theta_e, as the controller is set (a
// second-order motor halved into a first-order one).
Settings TrueSimc(const Motor& m, int target, int samp, double f)
{
    double tau = m.tau, theta = m.theta;
    if (m.zeta > 0) {
        const double d = std::sqrt(std::max(0.0, m.zeta * m.zeta - 1));
        tau = m.tau * (m.zeta + d) + m.tau * (m.zeta - d) / 2;
        theta += m.tau * (m.zeta - d) / 2;
    }
    const double sum = (f + 1) * (theta + samp / 200.0);
    return {target, int(std::lround(100 * tau / (m.gain * sum))), int(std::lround(100 * std::min(tau, 4 * sum))), 0,
            samp};
}

STEPFIGURES Figures(const Loop& loop)
{
    STEPFIGURES fig;
    CalcSpeedFigures(&loop.rec, loop.speed.data(), &fig);
    return fig;
}

struct Case {
    const char* what;
    Motor motor;
    Settings run;
    Recording recording;
    double tauC;
    bool given; // the run shows enough to be tuned
};

const Case kCases[] = {
    {"the examples' motor", {3.2, 1.2, 0}, {45, 60, 40, 0, 5}, {}, 1, true},
    {"dead time of 2.5 periods", {2.0, 0.5, 0.05}, {40, 40, 50, 0, 2}, {}, 1, true},
    {"slow, PID run", {5.0, 3.0, 0.17}, {60, 10, 300, 20, 5}, {}, 1, true},
    {"noisy", {1.0, 1.2, 0.05}, {45, 150, 120, 0, 5}, {0, 256, 50}, 1, true},
    {"second order", {2.0, 0.3, 0.02, 1.5}, {40, 60, 60, 0, 2}, {}, 1, true},
    {"tau_c = 2 theta_e", {1.0, 0.5, 0.1}, {45, 150, 50, 0, 5}, {}, 2, true},
    {"tau_c = 3 theta_e", {3.2, 1.2, 0.05}, {45, 47, 120, 0, 5}, {}, 3, true},
    {"recorded from 5 samples on", {0.5, 0.5, 0.15}, {45, 300, 50, 0, 5}, {5}, 1, true},
    {"recorded from 3 samples on", {1.0, 0.2, 0.05}, {45, 150, 20, 0, 5}, {3}, 1, true},
    {"recorded from 2 samples on, PI", {1.0, 0.4, 0.05}, {45, 200, 40, 0, 5}, {2}, 1, false},
    {"P run held at 45", {1.0, 0.4, 0, 0, 45}, {40, 300, 0, 0, 5}, {}, 1, true},
    {"PI run held at 67.5", {1.0, 0.2, 0.05, 0, 67.5}, {45, 400, 20, 0, 5}, {}, 1, true},
    {"PI run held, recorded from 5 samples on", {1.0, 0.5, 0.15, 0, 67.5}, {45, 400, 50, 0, 5}, {5}, 1, true},
};

} // namespace

TEST(TuningTruth, GivenSuggestionsDoOnTheTrueMotorWhatSimcAndTheirPredictionsDo)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TUNEOPTIONS opt;
        DefaultTuneOptions(&opt);
        opt.dTauC = c.tauC;
        static TUNING t;
        const Loop run = Simulate(c.motor, c.run, c.recording);
        CalcTuning(&run.rec, &opt, &t);
        ASSERT_EQ(t.bSuggestion, c.given) << t.szReason;
        if (!t.bSuggestion) {
            EXPECT_GT(std::strlen(t.szReason), 0u);
            continue;
        }
        const Settings simc = TrueSimc(c.motor, c.run.target, c.run.samp, c.tauC);
        const STEPFIGURES own = Figures(Simulate(c.motor, simc));
        if (c.motor.zeta == 0) {
            EXPECT_NEAR(t.pi.iProp, simc.kp, 0.25 * simc.kp);
            EXPECT_NEAR(t.pi.iInt, simc.ti, 0.25 * simc.ti);
        }
        for (const TUNESETTING* s : {&t.pi, &t.pid}) {
            if (s == &t.pid && !t.bPid)
                continue;
            const Loop real = Simulate(c.motor, {c.run.target, s->iProp, s->iInt, s->iDiff, c.run.samp});
            const STEPFIGURES fig = Figures(real);
            EXPECT_LE(fig.dOvershootPct, std::max(25.0, own.dOvershootPct + 10));
            EXPECT_TRUE(fig.bSettling);
            EXPECT_LE(fig.dIaeRpmS, 1.25 * own.dIaeRpmS);
            EXPECT_NEAR(s->fig.dOvershootPct, fig.dOvershootPct, std::max(5.0, 0.3 * fig.dOvershootPct));
            EXPECT_NEAR(s->dPeakOut, real.peakOutput, 0.25 * real.peakOutput);
        }
    }
}
