// The page routine as a whole: pens, repeatability and extreme records.
#include "page_fixture.h"

using namespace pagetest;

namespace {

class PageRoutine : public PageTest {};

// After a routine, the surface's pen is again the default and the routine
// made no pen it did not delete.
void ExpectPenRestored(void (*routine)(HDC), const char* name)
{
    Surface s;
    int pensBefore = gdi32::LiveObjectCounts().pens;
    routine(s.hdc);
    EXPECT_EQ(gdi32::LiveObjectCounts().pens, pensBefore) << name;
    HGDIOBJ previous = SelectObject(s.hdc, GetStockObject(BLACK_PEN));
    EXPECT_EQ(previous, GetStockObject(BLACK_PEN)) << name;
}

void loadExtremes()
{
    std::memset(cPIDHeader, 0xFF, sizeof cPIDHeader);
    iPramRotate = INT32_MIN; iPramProp = INT32_MIN; iPramInt = INT32_MAX; iPramDiff = INT32_MIN;
    iPramSamp = INT32_MAX; iMeasTime = INT32_MIN; iMeasRotate = INT32_MAX; iOpeOut0 = INT32_MIN;
    std::memset(cMeasData, 255, sizeof cMeasData);
}

} // namespace

TEST_F(PageRoutine, EveryRoutinePutsThePenBackAndDeletesItsOwn)
{
    std::memset(cMeasData, 40, sizeof cMeasData);
    ExpectPenRestored(Disp_GroupBox, "Disp_GroupBox");
    ExpectPenRestored(Disp_PIDParm, "Disp_PIDParm");
    ExpectPenRestored(Disp_PIDMeas, "Disp_PIDMeas");
    ExpectPenRestored(Disp_GraphBox, "Disp_GraphBox");
    ExpectPenRestored(Draw_Graphic, "Draw_Graphic");
    ExpectPenRestored(Disp_Page, "Disp_Page");
}

TEST_F(PageRoutine, DrawingTwiceEqualsDrawingOnce)
{
    LoadMeasData(PIDVIEW_EXAMPLES "/STOPPED.PID");
    Surface once, twice;
    Disp_Page(once.hdc);
    Disp_Page(twice.hdc);
    Disp_Page(twice.hdc);
    EXPECT_TRUE(once == twice);
}

TEST_F(PageRoutine, RedrawWipesTheOldChartInsideTheFrame)
{
    LoadMeasData(PIDVIEW_EXAMPLES "/PID_FAST.PID");
    Surface page;
    Disp_Page(page.hdc);
    setStartValues();
    Disp_Page(page.hdc);
    Surface fresh;
    Disp_Page(fresh.hdc);
    EXPECT_TRUE(page == fresh);
}

TEST_F(PageRoutine, ExtremeValuesDrawWithinTheSurface)
{
    loadExtremes();
    Surface page;
    Disp_Page(page.hdc);
    EXPECT_TRUE(RowIs(page, 20, 10, 779, black)); // the frame still stands
    EXPECT_FALSE(AreaHas(page, 0, 0, 600, 540, red)); // the target line falls off the surface
    EXPECT_TRUE(RowIs(page, 165, 610, 627, red));      // only the legend sample is red

    // A surface smaller than the page clips everything.
    Surface small(100, 60);
    Disp_Page(small.hdc);
    EXPECT_TRUE(ColumnIs(small, 10, 20, 59, black));
}

TEST_F(PageRoutine, StartPageHasNoCurve)
{
    Surface page;
    Disp_Page(page.hdc);
    Surface withoutCurve;
    Disp_GroupBox(withoutCurve.hdc);
    Disp_PIDParm(withoutCurve.hdc);
    Disp_PIDMeas(withoutCurve.hdc);
    Disp_GraphBox(withoutCurve.hdc);
    EXPECT_TRUE(page == withoutCurve);
}
