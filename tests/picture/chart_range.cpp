// The chart's time range: zoom and pan stay within the runs and stop at 8
// samples across, the cursor steps on the shortest period within the range,
// curves are cut at the plot's edges, and a response's default range holds
// it over at least a quarter of the plot.
#include "page_fixture.h"
#include "picture/compare.h"
#include "picture/tune_chart.h"

#include <cstdlib>

using namespace pagetest;

namespace {

// A run at 50 ms rising by one step a sample from 20 to 60, then flat.
COMPARERUN Rising(int target)
{
    COMPARERUN run{};
    run.rec.iPramSamp = 5;
    run.rec.iPramRotate = target;
    for (int i = 0; i < PID_SAMPLE_COUNT; ++i)
        run.rec.cMeasData[i] = static_cast<BYTE>(i < 40 ? 20 + i : 60);
    std::strcpy(run.szName, "RISING.PID");
    return run;
}

CHARTVIEW ViewOf(const COMPARESET& set)
{
    CHARTVIEW view{};
    ResetChartView(&view, &set);
    return view;
}

} // namespace

TEST(chart_range, zoom_and_pan_stay_within_the_runs_and_stop_at_eight_samples)
{
    static COMPARESET set;
    set.nRuns = 1;
    set.run[0] = Rising(45);
    CHARTVIEW view = ViewOf(set);
    COMPAREAXES& axes = view.axes;
    EXPECT_EQ(axes.llEndMs, 12750);
    ZoomTime(&axes, 0, 1); // around the left edge: the start stays
    EXPECT_EQ(axes.llStartMs, 0);
    EXPECT_EQ(axes.llEndMs, 6375);
    ZoomTime(&axes, XToTime(&axes, (CMP_LEFT + CMP_RIGHT) / 2), 10);
    EXPECT_EQ(axes.llEndMs - axes.llStartMs, CMP_MIN_SAMPLES_ACROSS * 50);
    PanTime(&axes, -100000);
    EXPECT_EQ(axes.llStartMs, 0);
    PanTime(&axes, 100000);
    EXPECT_EQ(axes.llEndMs, 12750);
    EXPECT_FALSE(IsDefaultRange(&axes));
    ZoomTime(&axes, 0, -10);
    EXPECT_TRUE(IsDefaultRange(&axes));
    EXPECT_EQ(axes.llStepMs, 2000); // the default's own step again
    // The cursor: the nearest sample within the range, 50 ms a step.
    SetTimeRange(&axes, 1010, 2000);
    EXPECT_EQ(CursorAtX(&axes, CMP_LEFT - 30), 1050);
    EXPECT_EQ(CursorAtX(&axes, CMP_RIGHT), 2000);
    EXPECT_EQ(CursorAtX(&axes, TimeToX(&axes, 1520)), 1500);
    EXPECT_EQ(SampleAtTime(1520, 5), 30);
    EXPECT_EQ(SampleAtTime(12800, 5), -1);
}

TEST(chart_range, curves_are_cut_at_the_plot_edges_and_the_labels_follow_the_range)
{
    static COMPARESET set;
    set.nRuns = 2;
    set.run[0] = Rising(45);
    set.run[0].rec.iPramSamp = 0; // listed, not drawn
    set.run[1] = Rising(45);
    CHARTVIEW view = ViewOf(set);
    SetTimeRange(&view.axes, 1000, 1400); // samples 20 to 28: speeds 40 to 48
    Surface s;
    Disp_CompareView(s.hdc, &set, &view);
    const std::uint32_t orange = 0xD55E00; // the second run's colour
    EXPECT_EQ(view.axes.llStepMs, 50);
    EXPECT_EQ(s.at(CMP_LEFT + 1, CompareSpeedToY(&view.axes, 40)), orange);
    EXPECT_FALSE(AreaHas(s, 11, 80, CMP_LEFT, 280, orange)); // nothing left of the speed axis
    EXPECT_FALSE(AreaHas(s, CMP_RIGHT + 1, 80, CMP_RIGHT + 4, 280, orange));
    EXPECT_TRUE(TextShows(s, TimeToX(&view.axes, 1400) - 16, 290, "1400"));
    EXPECT_TRUE(TextShows(s, 770 - 8 * 18, 30, "表示範囲 1 - 1.4 s"));
    // The whole range given again is the default chart.
    Surface whole, plain;
    SetTimeRange(&view.axes, 0, view.axes.llDefaultEndMs);
    Disp_CompareView(whole.hdc, &set, &view);
    Disp_Compare(plain.hdc, &set);
    EXPECT_TRUE(whole == plain);
}

TEST(chart_range, a_response_spans_a_quarter_of_the_plot_or_more)
{
    static COMPARESET set;
    set.nRuns = 2;
    set.run[0] = Rising(45);   // settled within 5 % of 60 from sample 37: 1.85 s
    set.run[1] = Rising(45);
    set.run[1].rec.iPramSamp = 2; // at 20 ms: 0.74 s
    set.bResponseRange = TRUE;
    COMPAREAXES axes = ViewOf(set).axes;
    EXPECT_EQ(axes.llEndMs, 6000); // 3 x 1.85 s, up to a whole step of 1 s
    EXPECT_EQ(axes.llStepMs, 1000);
    EXPECT_GE(4 * 1850, axes.llEndMs);
    EXPECT_EQ(axes.llWholeEndMs, 12750);
    EXPECT_EQ(axes.llTickMs, 20);
}

TEST(chart_range, the_tuning_chart_of_a_simulated_run_spans_its_response_by_default)
{
    // The examples are runs of tools/pidgen's simulated motor and controller;
    // STOPPED cannot tell whether its drive stopped at 255 / 8 of the law's
    // units, so it is given that.
    for (const char* name : {"P_ONLY", "PI_STEP", "PID_SLOW", "STOPPED"}) {
        MEASRECORD rec{};
        ASSERT_EQ(ReadMeasFile((std::string(PIDVIEW_EXAMPLES "/") + name + ".PID").c_str(), &rec), LOAD_ACCEPTED);
        static TUNING tune;
        static COMPARESET set;
        TUNEOPTIONS options;
        DefaultTuneOptions(&options);
        options.dOutputLimit = std::string(name) == "STOPPED" ? 31.875 : 0.0;
        CalcTuning(&rec, &options, &tune);
        ASSERT_TRUE(tune.bSuggestion) << name;
        MakeTuneChart(&rec, &tune, nullptr, &set);
        // From the start to where the run stays within 5 % of its final value.
        int last = PID_SAMPLE_COUNT - 1, settled = 0;
        while (rec.cMeasData[last] == PID_NO_SAMPLE)
            --last;
        for (int i = 0; i <= last; ++i)
            if (rec.cMeasData[i] != PID_NO_SAMPLE && 20 * std::abs(rec.cMeasData[i] - rec.cMeasData[last]) > rec.cMeasData[last])
                settled = i + 1;
        const long long response = 10LL * settled * rec.iPramSamp, end = ViewOf(set).axes.llEndMs;
        EXPECT_GE(4 * response, end) << name;
        EXPECT_LE(response, end) << name;
    }
}
