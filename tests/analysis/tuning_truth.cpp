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

struct Case {
    const char* what;
    Motor motor;
    Settings run;
    Recording recording;
    double tauC;
    int outcome; // FIT_OK where the run shows enough to be tuned, else why not
};

const Case kCases[] = {
    {"the examples' motor", {3.2, 1.2, 0}, {45, 60, 40, 0, 5}, {}, 1, FIT_OK},
    {"dead time of 2.5 periods", {2.0, 0.5, 0.05}, {40, 40, 50, 0, 2}, {}, 1, FIT_OK},
    {"slow, PID run", {5.0, 3.0, 0.17}, {60, 10, 300, 20, 5}, {}, 1, FIT_OK},
    {"noisy", {1.0, 1.2, 0.05}, {45, 150, 120, 0, 5}, {0, 256, 50}, 1, FIT_OK},
    {"second order", {2.0, 0.3, 0.02, 1.5}, {40, 60, 60, 0, 2}, {}, 1, FIT_OK},
    {"second order, P run", {0.5, 0.893, 0, 1.5}, {45, 1026, 0, 0, 5}, {}, 3, FIT_OK},
    {"second order, PI run with dead time", {3.2, 0.268, 0.025, 1.5}, {45, 93, 1130, 0, 5}, {}, 2, FIT_OK},
    {"second order, PID run held at its limit", {0.5, 0.893, 0.025, 1.5, 117}, {45, 341, 264, 3, 5}, {}, 2, FIT_OK},
    {"second order, recorded from 3 samples on", {0.5, 0.893, 0, 1.5}, {45, 1026, 0, 0, 5}, {3}, 3, FIT_LATE_START},
    {"second order, slow PI run recorded from 2 samples on", {3.2, 1.786, 0, 1.5}, {45, 160, 470, 0, 10}, {2}, 2,
     FIT_LATE_START},
    {"tau_c = 2 theta_e", {1.0, 0.5, 0.1}, {45, 150, 50, 0, 5}, {}, 2, FIT_OK},
    {"tau_c = 3 theta_e", {3.2, 1.2, 0.05}, {45, 47, 120, 0, 5}, {}, 3, FIT_OK},
    {"recorded from 5 samples on", {0.5, 0.5, 0.15}, {45, 300, 50, 0, 5}, {5}, 1, FIT_OK},
    {"recorded from 3 samples on", {1.0, 0.2, 0.05}, {45, 150, 20, 0, 5}, {3}, 1, FIT_OK},
    {"recorded from 2 samples on, PI", {1.0, 0.4, 0.05}, {45, 200, 40, 0, 5}, {2}, 1, FIT_LATE_START},
    {"recorded from 2 samples on, P, all but settled", {0.5, 0.4, 0.05}, {45, 320, 0, 0, 10}, {2}, 1, FIT_LATE_START},
    {"P run held at 45", {1.0, 0.4, 0, 0, 45}, {40, 300, 0, 0, 5}, {}, 1, FIT_OK},
    {"PI run held at 67.5", {1.0, 0.2, 0.05, 0, 67.5}, {45, 400, 20, 0, 5}, {}, 1, FIT_OK},
    {"PI run held, recorded from 5 samples on", {1.0, 0.5, 0.15, 0, 67.5}, {45, 400, 50, 0, 5}, {5}, 1, FIT_OK},
    {"PI run held long, its outputs' sum rounded", {3.2, 0.15, 0.01, 0, 18.28125}, {45, 125, 18, 1, 1}, {}, 1, FIT_OK},
    {"P run held from 3 x its limit", {3.2, 2.5, 0.025, 0, 84.375}, {45, 625, 0, 0, 5}, {}, 1, FIT_OK},
    {"P run of high gain, held for its first output only", {0.5, 5.0, 0, 0, 2160}, {45, 8000, 0, 0, 10}, {}, 1, FIT_OK},
    {"PI run of high gain, held for its first output only", {0.5, 1.5, 0, 0, 756}, {45, 2400, 60, 5, 10}, {}, 2, FIT_OK},
    {"PI run held for its first five outputs", {3.2, 0.5, 0.01, 0, 118.8}, {45, 417, 18, 0, 1}, {}, 2, FIT_OK},
    {"PID run held, recorded from 1 sample on", {3.2, 0.75, 0, 0, 22.2}, {45, 141, 30, 3, 5}, {1}, 1, FIT_OK},
    {"PI run held, recorded from 2 samples on", {3.2, 0.15, 0.01, 0, 35.625}, {45, 125, 18, 1, 1}, {2}, 2, FIT_LATE_START},
    {"P run held briefly, recorded from 2 samples on", {3.2, 0.15, 0.005, 0, 18.28125}, {45, 70, 0, 0, 1}, {2}, 2,
     FIT_LIMIT_UNCLEAR},
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
        ASSERT_EQ(t.iFitOutcome, c.outcome) << t.szReason;
        ASSERT_EQ(t.bSuggestion, c.outcome == FIT_OK) << t.szReason;
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
