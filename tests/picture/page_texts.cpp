// The text panels: what each line reads, and how neighbouring texts overlap.
#include "page_fixture.h"

using namespace pagetest;

namespace {
class PageTexts : public PageTest {};
}

TEST_F(PageTexts, StartValuesReadAsBuiltIn)
{
    Surface page;
    Disp_Page(page.hdc);
    EXPECT_TRUE(TextShows(page, 50, 410, "目標回転数 4500[rpm] "));
    EXPECT_TRUE(TextShows(page, 50, 430, "比例係数 Kp  80 [%] ", 150)); // its end lies under the Ti text
    EXPECT_TRUE(TextShows(page, 200, 430, "積分時間 Ti     0[mS] ", 160));
    EXPECT_TRUE(TextShows(page, 360, 430, "微分時間 Td     0[mS] "));
    EXPECT_TRUE(TextShows(page, 50, 450, "サンプリング    50[mS] "));
    EXPECT_TRUE(TextShows(page, 610, 60, "測定時間     0[S] "));
    EXPECT_TRUE(TextShows(page, 610, 90, "測定回転数  000[rpm] "));
    EXPECT_TRUE(TextShows(page, 610, 120, "操作出力   0 "));
    EXPECT_TRUE(TextShows(page, 670, 160, "目標回転数"));
    EXPECT_TRUE(TextShows(page, 670, 190, "測定回転数"));
    EXPECT_TRUE(TextShows(page, 30, 390, "設定パラメータ"));
}

TEST_F(PageTexts, LaterTextsCoverTheEndsOfEarlierOnes)
{
    Surface page;
    Disp_Page(page.hdc);
    // The Kp text reaches x = 210: the Ti text from x = 200 covers its last
    // blank and two columns of its bracket; the Ti text reaches x = 376 and
    // the Td text from x = 360 covers its bracket and blank.
    EXPECT_TRUE(TextShows(page, 50, 430, "比例係数 Kp  80 [%] ", 150));
    EXPECT_TRUE(TextShows(page, 200, 430, "積分時間 Ti     0[mS] ", 160));
    EXPECT_TRUE(TextShows(page, 360, 430, "微分時間 Td     0[mS] "));
    // The measured-speed text, 21 bytes from x = 610, reaches x = 778 and
    // blanks the box's right edge along its height.
    EXPECT_TRUE(ColumnIs(page, 770, 90, 105, white));
    EXPECT_TRUE(ColumnIs(page, 770, 40, 59, black));
    EXPECT_TRUE(ColumnIs(page, 770, 106, 119, black));
}

TEST_F(PageTexts, CaptionCutsTheParameterFrameTopEdge)
{
    Surface page;
    Disp_Page(page.hdc);
    EXPECT_TRUE(RowIs(page, 400, 10, 29, black));
    EXPECT_FALSE(RowIs(page, 400, 30, 141, black)); // under the caption's cells
    EXPECT_TRUE(RowIs(page, 400, 142, 550, black));
    EXPECT_TRUE(ColumnIs(page, 550, 400, 475, black));
    EXPECT_TRUE(RowIs(page, 475, 10, 550, black));
}

TEST_F(PageTexts, NumbersFollowTheirFieldsAndUnits)
{
    iPramRotate = -123;  // wider than its field: widens the text
    iPramProp = 12345;
    iPramInt = 7;        // shown in ms
    iPramSamp = -2;
    iMeasTime = 250;     // whole seconds
    iMeasRotate = -5;    // the minus sign stands before the "00"
    iOpeOut0 = 1000;
    Surface page;
    Disp_PIDParm(page.hdc);
    Disp_PIDMeas(page.hdc);
    EXPECT_TRUE(TextShows(page, 50, 410, "目標回転数-12300[rpm] "));
    EXPECT_TRUE(TextShows(page, 50, 430, "比例係数 Kp12345 [%] ", 150));
    EXPECT_TRUE(TextShows(page, 200, 430, "積分時間 Ti    70[mS] ", 160));
    EXPECT_TRUE(TextShows(page, 50, 450, "サンプリング   -20[mS] "));
    EXPECT_TRUE(TextShows(page, 610, 60, "測定時間     2[S] "));
    EXPECT_TRUE(TextShows(page, 610, 90, "測定回転数 -500[rpm] "));
    EXPECT_TRUE(TextShows(page, 610, 120, "操作出力 1000 "));
}

TEST_F(PageTexts, MeasurementTimeIsDividedUnsigned)
{
    iMeasTime = -1; // 4294967295 x 10 ms
    Surface page;
    Disp_PIDMeas(page.hdc);
    EXPECT_TRUE(TextShows(page, 610, 60, "測定時間 42949672[S] "));
}

TEST_F(PageTexts, ProductsWrapAt32Bits)
{
    iPramInt = 214748365;   // x 10 wraps to -2147483646
    iPramDiff = INT32_MIN;  // x 10 wraps to 0
    iPramSamp = INT32_MAX;  // x 10 wraps to -10
    Surface page;
    Disp_PIDParm(page.hdc);
    EXPECT_TRUE(TextShows(page, 200, 430, "積分時間 Ti-2147483646[mS] ", 160));
    EXPECT_TRUE(TextShows(page, 360, 430, "微分時間 Td     0[mS] "));
    EXPECT_TRUE(TextShows(page, 50, 450, "サンプリング   -10[mS] "));
}
