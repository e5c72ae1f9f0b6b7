// The chart's lines: axes, dotted grid and the red dashed target line.
#include "page_fixture.h"

using namespace pagetest;

namespace {
class ChartLines : public PageTest {};
}

TEST_F(ChartLines, AxesAndGrid)
{
    Surface page;
    Disp_GraphBox(page.hdc);
    EXPECT_TRUE(RowIs(page, 320, 50, 599, black)); // the time axis leaves out its end pixel
    EXPECT_EQ(page.at(600, 320), white);
    // Dotted grid: 3 dots, 3 gaps, from x = 50 at each speed line.
    for (int y : {260, 200, 140, 80}) {
        EXPECT_TRUE(RowIs(page, y, 51, 52, black)) << y;
        EXPECT_TRUE(RowIs(page, y, 53, 55, white)) << y;
        EXPECT_EQ(page.at(580, y), white) << y;
    }
    // Time lines from y = 320 up to 40, the end left out.
    for (int x : {150, 250, 350, 450, 550}) {
        EXPECT_TRUE(ColumnIs(page, x, 318, 320, black)) << x;
        EXPECT_TRUE(ColumnIs(page, x, 315, 317, white)) << x;
        EXPECT_EQ(page.at(x, 40), white) << x;
        EXPECT_TRUE(AreaHas(page, x, 41, x + 1, 44, black)) << x;
    }
}

TEST_F(ChartLines, TargetLineIsRedDashedAtItsSpeed)
{
    Surface page;
    Disp_GraphBox(page.hdc);
    // 45 x 100 rpm lies at y = 185; the dash pattern is 18 on, 6 off.
    EXPECT_TRUE(RowIs(page, 185, 50, 67, red));
    EXPECT_TRUE(RowIs(page, 185, 68, 73, white));
    EXPECT_TRUE(RowIs(page, 185, 74, 91, red));
    EXPECT_EQ(page.at(580, 185), white);
    EXPECT_FALSE(AreaHas(page, 40, 184, 600, 185, red));
    EXPECT_FALSE(AreaHas(page, 40, 186, 600, 187, red));
}

TEST_F(ChartLines, TargetOnTheAxisWhitensItInTheGaps)
{
    iPramRotate = 0;
    Surface page;
    Disp_GraphBox(page.hdc);
    EXPECT_TRUE(RowIs(page, 320, 50, 67, red));
    EXPECT_TRUE(RowIs(page, 320, 68, 73, white));
    EXPECT_TRUE(RowIs(page, 320, 580, 599, black)); // the axis beyond the line's end
}

TEST_F(ChartLines, TargetBeyondTheFrameAndFarOff)
{
    iPramRotate = 101; // above the chart frame: y = 17
    Surface page;
    Disp_GraphBox(page.hdc);
    EXPECT_TRUE(RowIs(page, 17, 50, 67, red));

    for (int target : {2000000000, -2000000000, INT32_MIN, INT32_MAX}) {
        iPramRotate = target; // wraps far off the surface: nothing red at all
        Surface far;
        Disp_GraphBox(far.hdc);
        int y = static_cast<int>(320u - 3u * static_cast<std::uint32_t>(target));
        bool onSurface = y >= 0 && y < 540;
        EXPECT_EQ(AreaHas(far, 0, 0, 800, 540, red), onSurface) << target;
    }
}
