// The measured curve: one segment per pair of measured samples, empty slots
// skipped and bridged.
#include "page_fixture.h"

using namespace pagetest;

namespace {

class ChartCurve : public PageTest {
protected:
    static void fill(int from, int to, BYTE value)
    {
        for (int i = from; i < to; ++i)
            cMeasData[i] = value;
    }
    // Black pixels of the curve alone on a white surface.
    static bool CurveHasBlackIn(int x0, int y0, int x1, int y1)
    {
        Surface s;
        Draw_Graphic(s.hdc);
        return AreaHas(s, x0, y0, x1, y1, black);
    }
};

} // namespace

TEST_F(ChartCurve, AllEmptyDrawsNothing)
{
    Surface s;
    Draw_Graphic(s.hdc);
    EXPECT_TRUE(AreaIs(s, 0, 0, 800, 540, white));
}

TEST_F(ChartCurve, ConstantSpeedIsAHorizontalLine)
{
    fill(0, 256, 30); // y = 230
    Surface s;
    Draw_Graphic(s.hdc);
    EXPECT_TRUE(RowIs(s, 230, 50, 559, black)); // sample 255 at x = 560 is only an end point
    EXPECT_EQ(s.at(560, 230), white);
    EXPECT_FALSE(AreaHas(s, 0, 0, 800, 230, black));
    EXPECT_FALSE(AreaHas(s, 0, 231, 800, 540, black));
}

TEST_F(ChartCurve, StopsAtTheLastMeasuredSample)
{
    fill(0, 100, 30);
    Surface s;
    Draw_Graphic(s.hdc);
    EXPECT_TRUE(RowIs(s, 230, 50, 247, black)); // sample 99 lies at x = 248
    EXPECT_FALSE(AreaHas(s, 248, 0, 800, 540, black));
}

TEST_F(ChartCurve, RunOfEmptySlotsIsBridged)
{
    fill(0, 256, 30);
    fill(100, 120, PID_NO_SAMPLE);
    cMeasData[120] = 40; // y = 200
    Surface s;
    Draw_Graphic(s.hdc);
    // The curve stopped at sample 99 (x = 248, y = 230); sample 120 draws
    // from there to (290, 200), then on to sample 121 at (292, 230).
    EXPECT_EQ(s.at(248, 230), black);
    EXPECT_TRUE(AreaHas(s, 260, 200, 280, 231, black));
    EXPECT_EQ(s.at(290, 200), black);
    EXPECT_FALSE(AreaHas(s, 250, 231, 800, 540, black));
}

TEST_F(ChartCurve, EmptySampleZeroStartsFromJustAboveTheAxis)
{
    fill(1, 256, 30);
    Surface s;
    Draw_Graphic(s.hdc);
    // Sample 0 is the no-sample value 1: the first segment starts at y = 317.
    EXPECT_EQ(s.at(50, 317), black);
    EXPECT_TRUE(RowIs(s, 230, 52, 559, black));
}

TEST_F(ChartCurve, OnlySampleZeroAndOneMeasuredDrawNothing)
{
    fill(0, 2, 30); // sample 2 is empty, so the pair (1, 2) never draws
    EXPECT_FALSE(CurveHasBlackIn(0, 0, 800, 540));
}

TEST_F(ChartCurve, HighSamplesRiseAboveTheFrameAndAreClipped)
{
    fill(0, 256, 255); // y = 320 - 765 = -445, off the surface
    EXPECT_FALSE(CurveHasBlackIn(0, 0, 800, 540));
    fill(0, 256, 0);
    fill(128, 256, 101); // up to y = 17, above the frame's top at 20
    Surface s;
    Draw_Graphic(s.hdc);
    EXPECT_TRUE(RowIs(s, 17, 50 + 2 * 128, 559, black));
    EXPECT_TRUE(RowIs(s, 320, 50, 303, black)); // up to sample 127 at x = 304
}
