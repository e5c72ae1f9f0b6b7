// The comparison chart: runs placed in time by their own periods, a run
// without a time axis listed but not drawn, long names shortened whole
// characters at a time, and stored extremes drawn with no pen left behind.
#include "page_fixture.h"
#include "picture/compare.h"

#include <climits>

using namespace pagetest;

namespace {

// A COLORREF (0x00BBGGRR) as the surface's 0x00RRGGBB.
std::uint32_t Pixel(COLORREF color)
{
    return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}

COMPARERUN Flat(int period, int target, BYTE speed, const char* name)
{
    COMPARERUN run{};
    run.rec.iPramSamp = period;
    run.rec.iPramRotate = target;
    std::memset(run.rec.cMeasData, speed, sizeof run.rec.cMeasData);
    std::strcpy(run.szName, name);
    return run;
}

std::string Shortened(const std::string& name, int bytes)
{
    char text[COMPARE_NAME_SIZE];
    ShortenName(name.c_str(), text, bytes);
    return text;
}

} // namespace

TEST(compare_chart, runs_of_different_periods_share_one_time_axis)
{
    static COMPARESET set;
    set.nRuns = 3;
    set.run[0] = Flat(5, 0, 60, "B50MS.PID"); // 255 samples at 50 ms: 12.75 s, the axis's end
    set.run[1] = Flat(2, 0, 40, "A20MS.PID"); // at 20 ms: 5.1 s
    set.run[2] = Flat(0, 45, 20, "NOTIME.PID");
    Surface s;
    Disp_Compare(s.hdc, &set);
    // Speeds 60 and 40 of 80 lie at y = 130 and 180; 5.1 s at x = 50 + 228.
    EXPECT_TRUE(RowIs(s, 130, 50, 619, Pixel(CompareColor(0))));
    EXPECT_TRUE(RowIs(s, 180, 50, 277, Pixel(CompareColor(1))));
    EXPECT_FALSE(AreaHas(s, 279, 170, 780, 190, Pixel(CompareColor(1))));
    // The run without a time axis: no curve, no line sample, a marked row.
    EXPECT_FALSE(AreaHas(s, 0, 0, 800, 540, Pixel(CompareColor(2))));
    EXPECT_TRUE(TextShows(s, 84, 374, "NOTIME.PID"));
    EXPECT_TRUE(TextShows(s, 648, 374, "時間軸なし"));
}

TEST(compare_chart, long_names_keep_their_start_and_end_and_never_split_a_character)
{
    EXPECT_EQ(Shortened("KP80.PID", 28), "KP80.PID");
    EXPECT_EQ(Shortened(std::string(20, 'a') + std::string(20, 'z'), 28),
              std::string(13, 'a') + "…" + std::string(13, 'z'));
    // Double-byte names: 6 whole characters each side, where 6.5 would fit.
    std::string speed = "速", twenty;
    for (int i = 0; i < 20; ++i)
        twenty += speed;
    std::string six;
    for (int i = 0; i < 6; ++i)
        six += speed;
    EXPECT_EQ(Shortened(twenty, 28), six + "…" + six);
    EXPECT_EQ(Shortened("a" + twenty.substr(2), 28), "a" + six + "…" + six);
}

TEST(compare_chart, stored_extremes_draw_safely_and_leave_the_surface_as_found)
{
    static COMPARESET set;
    set.nRuns = COMPARE_MAX_RUNS;
    const int periods[] = {INT_MAX, INT_MIN, 1, -1, INT_MAX, 0, 7, 3};
    const int targets[] = {INT_MAX, INT_MIN, 260, -1, 0, INT_MAX, 45, INT_MIN};
    for (int r = 0; r < COMPARE_MAX_RUNS; ++r)
        set.run[r] = Flat(periods[r], targets[r], r % 2 ? 255 : PID_NO_SAMPLE, std::string(300 % (r + 7), '\xE0').c_str());
    set.run[3].rec.iPramProp = INT_MIN;
    const gdi32::LiveObjects before = gdi32::LiveObjectCounts();
    Surface s;
    const HGDIOBJ pen = SelectObject(s.hdc, GetStockObject(BLACK_PEN));
    Disp_Compare(s.hdc, &set);
    EXPECT_EQ(SelectObject(s.hdc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(gdi32::LiveObjectCounts().pens, before.pens);
    EXPECT_TRUE(AreaHas(s, 620, 72, 640, 280, black)); // the numbers of the curves at 25,500 rpm
}

TEST(compare_chart, legend_values_keep_to_their_columns_and_notes_to_the_frame)
{
    static COMPARESET set;
    set.nRuns = COMPARE_MAX_RUNS;
    for (int r = 0; r < COMPARE_MAX_RUNS; ++r)
        set.run[r] = Flat(5, 45, 40, "RUN.PID");
    set.run[0].rec.iPramRotate = 100000;
    set.run[0].rec.iPramDiff = -55325240;
    set.run[0].rec.iPramInt = 999999999;
    set.nNotes = COMPARE_MAX_NOTES;
    for (int i = 0; i < COMPARE_MAX_NOTES; ++i)
        std::snprintf(set.szNote[i], COMPARE_NOTE_SIZE, "note %d", i + 1);
    Surface s;
    Disp_Compare(s.hdc, &set);
    // Eight rows and every note: the legend rises and its last line ends
    // four pixels above its frame's bottom edge.
    const int top = LegendTop(&set), row = top + 22;
    EXPECT_EQ(top, 474 - 4 - 16 * (1 + COMPARE_MAX_RUNS + COMPARE_MAX_NOTES) - 6);
    EXPECT_TRUE(TextShows(s, 18, row + 16 * (COMPARE_MAX_RUNS + COMPARE_MAX_NOTES - 1),
                          "note " + std::to_string(COMPARE_MAX_NOTES)));
    EXPECT_TRUE(RowIs(s, 474, 10, 779, black));
    EXPECT_TRUE(TextShows(s, 392 - 8 * 8, row, "10000000"));
    EXPECT_TRUE(TextShows(s, 496 - 8 * 6, row, "1.0e10")); // Ti, 9999999990 ms, rounded up
    EXPECT_TRUE(TextShows(s, 552 - 8 * 6, row, "-5.5e8"));
    EXPECT_TRUE(AreaIs(s, 441, row, 448, row + 16, white));
    EXPECT_TRUE(AreaIs(s, 497, row, 504, row + 16, white));
}
