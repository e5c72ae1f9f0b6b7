// The chart's labels: speeds on the left, seconds under the time lines.
#include "page_fixture.h"

using namespace pagetest;

namespace {

class ChartLabels : public PageTest {
protected:
    // Whether the label cells of time line k (40 pixels from x - 20) are blank.
    static bool TimeLabelBlank(const Surface& page, int k)
    {
        int x = 50 + 2 * k;
        return AreaIs(page, x - 20, 330, x + 20, 346, white);
    }
};

} // namespace

TEST_F(ChartLabels, SpeedLabelsAndTitles)
{
    Surface page;
    Disp_GraphBox(page.hdc);
    EXPECT_TRUE(TextShows(page, 20, 310, "  0"));
    EXPECT_TRUE(TextShows(page, 20, 250, " 20"));
    EXPECT_TRUE(TextShows(page, 20, 190, " 40"));
    EXPECT_TRUE(TextShows(page, 20, 130, " 60"));
    EXPECT_TRUE(TextShows(page, 20, 70, " 80"));
    EXPECT_TRUE(TextShows(page, 20, 30, "測定回転数"));
    EXPECT_TRUE(TextShows(page, 20, 50, "x100[rpm] "));
    EXPECT_TRUE(TextShows(page, 600, 330, "測定時間 [S] "));
    // The titles' opaque cells lie over the speed axis (checked above: their
    // cells show the text alone); below them the axis runs unbroken.
    EXPECT_TRUE(ColumnIs(page, 50, 66, 184, black));
    EXPECT_EQ(page.at(50, 185), red); // the target line starts on the axis
    EXPECT_TRUE(ColumnIs(page, 50, 186, 320, black));
}

TEST_F(ChartLabels, FiveMillisecondSamplingLabelsWholeSecondsOnly)
{
    Surface page;
    Disp_GraphBox(page.hdc);
    EXPECT_TRUE(TextShows(page, 30, 330, "   0 "));
    EXPECT_TRUE(TextShows(page, 230, 330, "   5 "));
    EXPECT_TRUE(TextShows(page, 430, 330, "  10 "));
    EXPECT_TRUE(TimeLabelBlank(page, 50));
    EXPECT_TRUE(TimeLabelBlank(page, 150));
    EXPECT_TRUE(TimeLabelBlank(page, 250));
}

TEST_F(ChartLabels, TenMillisecondSamplingLabelsEveryLine)
{
    iPramSamp = 10;
    Surface page;
    Disp_GraphBox(page.hdc);
    const char* labels[] = {"   0 ", "   5 ", "  10 ", "  15 ", "  20 ", "  25 "};
    for (int n = 0; n < 6; ++n)
        EXPECT_TRUE(TextShows(page, 30 + 100 * n, 330, labels[n])) << n;
}

TEST_F(ChartLabels, ZeroSamplingLabelsEveryLineWithZero)
{
    iPramSamp = 0;
    Surface page;
    Disp_GraphBox(page.hdc);
    for (int n = 0; n < 6; ++n)
        EXPECT_TRUE(TextShows(page, 30 + 100 * n, 330, "   0 ")) << n;
}

TEST_F(ChartLabels, NegativeSamplingGivesNegativeSeconds)
{
    iPramSamp = -2;
    Surface page;
    Disp_GraphBox(page.hdc);
    EXPECT_TRUE(TextShows(page, 30, 330, "   0 "));
    EXPECT_TRUE(TextShows(page, 130, 330, "  -1 "));
    EXPECT_TRUE(TextShows(page, 230, 330, "  -2 "));
    EXPECT_TRUE(TextShows(page, 530, 330, "  -5 "));
}

TEST_F(ChartLabels, WrappedProductsStillLabelCorrectly)
{
    iPramSamp = INT32_MAX; // k x (2^31 - 1) wraps to -k for the even k of the grid
    Surface page;
    Disp_GraphBox(page.hdc);
    EXPECT_TRUE(TextShows(page, 30, 330, "   0 "));
    EXPECT_TRUE(TimeLabelBlank(page, 50));
    EXPECT_TRUE(TextShows(page, 230, 330, "  -1 "));
    EXPECT_TRUE(TextShows(page, 430, 330, "  -2 "));
    EXPECT_TRUE(TimeLabelBlank(page, 250));
}
