// What the view adds to the chart: the cursor (a line, a point on each curve,
// and a readout row) only on the plot and the readout's row, and the
// figures' marks only when asked for.
#include "page_fixture.h"
#include "picture/compare.h"

using namespace pagetest;

namespace {

// A run at 50 ms: up to 60 (6000 rpm) at sample 10, then settling to 50.
COMPARERUN Overshooting()
{
    COMPARERUN run{};
    run.rec.iPramSamp = 5;
    run.rec.iPramRotate = 50;
    for (int i = 0; i < PID_SAMPLE_COUNT; ++i)
        run.rec.cMeasData[i] = static_cast<BYTE>(i <= 10 ? 6 * i : i < 20 ? 60 - (i - 10) : 50);
    std::strcpy(run.szName, "PEAK.PID");
    return run;
}

} // namespace

TEST(chart_overlays, the_cursor_changes_only_the_plot_and_its_readout_row)
{
    static COMPARESET set;
    set.nRuns = 2;
    set.run[0] = Overshooting();
    set.run[1] = Overshooting();
    set.run[1].rec.cMeasData[10] = PID_NO_SAMPLE;
    CHARTVIEW view{};
    ResetChartView(&view, &set);
    view.bCursor = TRUE;
    view.llCursorMs = 500; // sample 10
    Surface plain, cursor;
    Disp_Compare(plain.hdc, &set);
    Disp_CompareView(cursor.hdc, &set, &view);
    const int x = TimeToX(&view.axes, 500);
    for (int y = 0; y < 540; ++y)
        for (int col = 0; col < 800; ++col)
            if (plain.at(col, y) != cursor.at(col, y) && !IsOnPlot(&view.axes, col, y) && !(y >= 56 && y < 72))
                FAIL() << "(" << col << ", " << y << ") changed";
    EXPECT_TRUE(TextShows(cursor, 112, 56, "時刻 0.50 s  1:6000 2:― [rpm]"));
    EXPECT_EQ(cursor.at(x, 250), 0x808080u);
    EXPECT_TRUE(RowIs(cursor, CompareSpeedToY(&view.axes, 60) - 2, x - 2, x + 2, black));
}

TEST(chart_overlays, marks_show_the_band_the_rise_the_settling_and_the_peak)
{
    static COMPARESET set;
    set.nRuns = 1;
    set.run[0] = Overshooting();
    CHARTVIEW view{};
    ResetChartView(&view, &set);
    SetTimeRange(&view.axes, 0, 2000);
    Surface plain, marked;
    Disp_CompareView(plain.hdc, &set, &view);
    view.bMarks = TRUE;
    Disp_CompareView(marked.hdc, &set, &view);
    const std::uint32_t band = 0xD4D4D4; // black, five parts in six white
    const COMPAREAXES& a = view.axes;
    EXPECT_FALSE(AreaHas(plain, 0, 0, 800, 540, band));
    // The band from 4750 to 5250 rpm, right across the plot.
    EXPECT_EQ(marked.at(CMP_RIGHT - 1, RpmToY(&a, 5200)), band);
    EXPECT_EQ(marked.at(CMP_LEFT + 3, RpmToY(&a, 4800)), band);
    EXPECT_NE(marked.at(CMP_LEFT + 3, RpmToY(&a, 4700)), band);
    // Ticks at 10 % and 90 % of the target (samples 0.83 and 7.5), at the
    // settling (sample 18, 5200 rpm) and a triangle over the peak (sample 10).
    EXPECT_TRUE(ColumnIs(marked, TimeToX(&a, 375), RpmToY(&a, 4500) - 4, RpmToY(&a, 4500) + 4, black));
    EXPECT_TRUE(ColumnIs(marked, TimeToX(&a, 900), RpmToY(&a, 5200) - 8, RpmToY(&a, 5200) + 8, black));
    EXPECT_TRUE(RowIs(marked, CompareSpeedToY(&a, 60) - 10, TimeToX(&a, 500) - 4, TimeToX(&a, 500) + 4, black));
}
