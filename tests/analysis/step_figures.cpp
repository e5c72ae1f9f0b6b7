// Step-response figures on hand-made runs whose figures are worked out by hand.
#include "analysis/stepfigures.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>

namespace {

// A run with target iRotate x 100 rpm sampled every iSamp x 10 ms; the
// samples given come first, each later slot repeats the last one (or is
// empty when fill is PID_NO_SAMPLE).
MEASRECORD MakeRun(int iRotate, int iSamp, std::initializer_list<int> samples, int fill = -1)
{
    MEASRECORD rec{};
    rec.iPramRotate = iRotate;
    rec.iPramSamp = iSamp;
    rec.iMeasRotate = iRotate;
    int i = 0, last = PID_NO_SAMPLE;
    for (int s : samples)
        rec.cMeasData[i++] = static_cast<BYTE>(last = s);
    for (; i < PID_SAMPLE_COUNT; ++i)
        rec.cMeasData[i] = static_cast<BYTE>(fill < 0 ? last : fill);
    return rec;
}

STEPFIGURES Figures(const MEASRECORD& rec)
{
    STEPFIGURES fig;
    CalcStepFigures(&rec, &fig);
    return fig;
}

} // namespace

TEST(StepFigures, OvershootingRun)
{
    // 4000 rpm at 100 ms: 0, 1000, 3000, 4500, 4200, then 4000.
    STEPFIGURES fig = Figures(MakeRun(40, 10, {0, 10, 30, 45, 42, 40}));
    ASSERT_TRUE(fig.bRise && fig.bPeakTime && fig.bOvershoot && fig.bSettling && fig.bIae);
    EXPECT_NEAR(fig.dRiseS, 0.24 - 0.04, 1e-9); // 10 % at 0.4 of the first step, 90 % at 0.4 of the third
    EXPECT_EQ(fig.llPeakRpm, 4500);
    EXPECT_NEAR(fig.dPeakS, 0.3, 1e-9);
    EXPECT_NEAR(fig.dOvershootPct, 12.5, 1e-9);
    EXPECT_NEAR(fig.dSettlingS, 0.4, 1e-9); // 4200 is inside the 200 rpm band
    EXPECT_NEAR(fig.dIaeRpmS, 350 + 200 + 75 + 35 + 10, 1e-9);
    EXPECT_EQ(fig.llSteadyErrRpm, 0);
}

TEST(StepFigures, RunsThatFallShort)
{
    // Oscillating to the end: 4300 rpm is outside the band of 4000.
    STEPFIGURES late = Figures(MakeRun(40, 5, {0, 40, 43}, PID_NO_SAMPLE));
    EXPECT_FALSE(late.bSettling);
    EXPECT_TRUE(late.bRise);
    // Stuck at 3500 of 4000 rpm: 90 % never reached, no overshoot, not settled.
    STEPFIGURES low = Figures(MakeRun(40, 5, {0, 20, 35}));
    EXPECT_FALSE(low.bRise);
    EXPECT_FALSE(low.bSettling);
    ASSERT_TRUE(low.bOvershoot);
    EXPECT_EQ(low.dOvershootPct, 0.0);
}

TEST(StepFigures, EmptySlotsAreBridged)
{
    // Samples at 2 (0 rpm), 5 (4000) and 9 (4000) only, 50 ms apart.
    MEASRECORD rec = MakeRun(40, 5, {1, 1, 0, 1, 1, 40, 1, 1, 1, 40}, PID_NO_SAMPLE);
    STEPFIGURES fig = Figures(rec);
    ASSERT_TRUE(fig.bRise && fig.bSettling && fig.bIae);
    EXPECT_NEAR(fig.dRiseS, (2 + 3 * 0.9) * 0.05 - (2 + 3 * 0.1) * 0.05, 1e-9);
    EXPECT_NEAR(fig.dSettlingS, 0.25, 1e-9);
    EXPECT_NEAR(fig.dIaeRpmS, 4000 / 2.0 * 0.15, 1e-9);
    // The first valid sample already at the target: no interpolation.
    rec.cMeasData[2] = 40;
    fig = Figures(rec);
    EXPECT_EQ(fig.dRiseS, 0.0);
    EXPECT_NEAR(fig.dSettlingS, 0.1, 1e-9);
}

TEST(StepFigures, StoredExtremesGiveFiguresOrNone)
{
    MEASRECORD empty = MakeRun(45, 5, {}, PID_NO_SAMPLE);
    STEPFIGURES fig = Figures(empty);
    EXPECT_FALSE(fig.bRise || fig.bPeak || fig.bPeakTime || fig.bOvershoot || fig.bSettling || fig.bIae);
    EXPECT_EQ(fig.llTargetRpm, 4500);
    EXPECT_EQ(fig.llSampMs, 50);

    for (int limit : {INT_MIN, -1, 0, INT_MAX}) {
        MEASRECORD rec = MakeRun(limit, limit, {0, 255});
        rec.iPramInt = rec.iPramDiff = rec.iPramProp = limit;
        rec.iMeasRotate = limit == INT_MIN ? INT_MAX : INT_MIN;
        fig = Figures(rec);
        EXPECT_EQ(fig.llTiMs, 10LL * limit);
        EXPECT_EQ(fig.llSteadyErrRpm, (static_cast<long long>(limit) - rec.iMeasRotate) * 100);
        EXPECT_EQ(fig.bIae, limit > 0) << limit;
        EXPECT_EQ(fig.bOvershoot, limit > 0) << limit;
        for (double value : {fig.dRiseS, fig.dPeakS, fig.dOvershootPct, fig.dSettlingS, fig.dIaeRpmS})
            EXPECT_TRUE(std::isfinite(value)) << limit;
    }
}
