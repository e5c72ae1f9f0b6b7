// The comparison's axes: where the time axis ends, its step and unit, and
// how high the speed axis reaches, for runs of different periods.
#include "picture/compare.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <initializer_list>

namespace {

// A run measured from sample 0 to sample last at one speed, the rest empty.
COMPARERUN MeasuredRun(int period, int target, int last, BYTE speed)
{
    COMPARERUN run{};
    run.rec.iPramSamp = period;
    run.rec.iPramRotate = target;
    std::memset(run.rec.cMeasData, PID_NO_SAMPLE, sizeof run.rec.cMeasData);
    std::memset(run.rec.cMeasData, speed, static_cast<std::size_t>(last + 1));
    return run;
}

COMPAREAXES Axes(std::initializer_list<COMPARERUN> runs)
{
    static COMPARESET set;
    set.nRuns = 0;
    for (const COMPARERUN& run : runs)
        set.run[set.nRuns++] = run;
    COMPAREAXES axes{};
    CalcCompareAxes(&set, &axes);
    return axes;
}

} // namespace

TEST(compare_axes, the_time_axis_ends_at_the_last_measured_sample_of_the_longest_run)
{
    // 255 samples at 20 ms end at 5.1 s; 200 at 50 ms at 9.95 s.
    COMPAREAXES axes = Axes({MeasuredRun(2, 45, 255, 40), MeasuredRun(5, 45, 199, 40)});
    EXPECT_EQ(axes.llEndMs, 9950);
    EXPECT_EQ(axes.llStepMs, 1000);
    EXPECT_TRUE(axes.bSeconds);
    EXPECT_EQ(TimeToX(&axes, 9950), CMP_RIGHT);
    EXPECT_EQ(TimeToX(&axes, 5100), CMP_LEFT + 292); // 5.1 / 9.95 of 570 pixels
    // Nothing measured after sample 0 anywhere: the runs' 256 samples.
    EXPECT_EQ(Axes({MeasuredRun(5, 45, 0, 40)}).llEndMs, 255 * 50);
}

TEST(compare_axes, axes_shorter_than_two_seconds_are_labelled_in_whole_milliseconds)
{
    COMPAREAXES axes = Axes({MeasuredRun(1, 45, 39, 40)}); // 390 ms
    EXPECT_EQ(axes.llStepMs, 50);
    EXPECT_FALSE(axes.bSeconds);
    EXPECT_EQ(Axes({MeasuredRun(1, 45, 1, 40)}).llStepMs, 1);       // 10 ms
    EXPECT_EQ(Axes({MeasuredRun(1, 45, 199, 40)}).llStepMs, 200);   // 1.99 s
    EXPECT_EQ(Axes({MeasuredRun(2, 45, 250, 40)}).llStepMs, 1000);  // 5 s
}

TEST(compare_axes, the_speed_axis_rises_in_steps_of_2000_rpm_to_hold_samples_and_targets)
{
    EXPECT_EQ(Axes({MeasuredRun(5, 45, 255, 80)}).iTopSpeed, 80);
    EXPECT_EQ(Axes({MeasuredRun(5, 45, 255, 40), MeasuredRun(5, 45, 255, 81)}).iTopSpeed, 100);
    EXPECT_EQ(Axes({MeasuredRun(5, 101, 255, 40)}).iTopSpeed, 120);
    EXPECT_EQ(Axes({MeasuredRun(5, 45, 255, 255)}).iTopSpeed, 260);
    // A target no sample can reach does not flatten every curve.
    EXPECT_EQ(Axes({MeasuredRun(5, INT_MAX, 255, 40), MeasuredRun(5, INT_MIN, 255, 40)}).iTopSpeed, 80);
}

TEST(compare_axes, a_run_without_a_time_axis_shapes_neither_axis)
{
    const COMPARERUN unplaced = MeasuredRun(0, 45, 255, 40);
    EXPECT_FALSE(HasTimeAxis(&unplaced.rec));
    COMPAREAXES axes = Axes({MeasuredRun(0, 200, 255, 255), MeasuredRun(INT_MIN, 45, 255, 255), MeasuredRun(5, 45, 99, 40)});
    EXPECT_EQ(axes.llEndMs, 99 * 50);
    EXPECT_EQ(axes.iTopSpeed, 80);
    EXPECT_EQ(Axes({MeasuredRun(0, 45, 255, 40)}).llEndMs, 10000); // none placed: 10 s
}

TEST(compare_axes, the_longest_period_keeps_whole_labels_and_the_end_on_the_grid)
{
    COMPAREAXES axes = Axes({MeasuredRun(INT_MAX, 45, 255, 40)});
    EXPECT_EQ(axes.llEndMs, 255LL * INT_MAX * 10);
    EXPECT_TRUE(axes.bSeconds);
    EXPECT_EQ(axes.llStepMs % 1000, 0);
    EXPECT_LE(axes.llEndMs / axes.llStepMs, 10);
    EXPECT_EQ(TimeToX(&axes, axes.llEndMs), CMP_RIGHT);
}
