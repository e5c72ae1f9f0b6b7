// Dashed and dotted cosmetic pens: GDI's lengths, the white gaps of the
// opaque background, and where the pattern starts afresh.
#include "pixels.h"

#include <string>

using namespace pixels;

namespace {

struct Page {
    std::shared_ptr<gdi32::PixelBuffer> buffer = std::make_shared<gdi32::PixelBuffer>(200, 100, kBlack);
    HDC hdc = gdi32::CreateBufferDC(buffer);
    HPEN pen;
    HGDIOBJ previous;
    Page(int style, COLORREF color) : pen(CreatePen(style, 1, color)), previous(SelectObject(hdc, pen)) {}
    ~Page()
    {
        SelectObject(hdc, previous);
        DeleteObject(pen);
        DeleteDC(hdc);
    }
};

// n copies of letter.
std::string Repeat(char letter, int n)
{
    return std::string(static_cast<std::size_t>(n), letter);
}

} // namespace

TEST(pen_patterns, a_dash_is_18_pixels_and_its_gap_6_painted_white)
{
    Page page(PS_DASH, RGB(255, 0, 0));
    MoveToEx(page.hdc, 10, 5, nullptr);
    LineTo(page.hdc, 60, 5);
    EXPECT_EQ(RowText(*page.buffer, 5, 10, 60),
              Repeat('R', 18) + Repeat('W', 6) + Repeat('R', 18) + Repeat('W', 6) + Repeat('R', 2) + "B");
}

TEST(pen_patterns, a_dot_is_3_pixels_and_its_gap_3)
{
    Page page(PS_DOT, RGB(255, 0, 0));
    MoveToEx(page.hdc, 20, 90, nullptr);
    LineTo(page.hdc, 20, 75); // upwards: the pattern starts at the start point
    EXPECT_EQ(ColumnText(*page.buffer, 20, 75, 90), "BRRRWWWRRRWWWRRR");
}

TEST(pen_patterns, a_right_to_left_line_starts_its_pattern_at_its_start)
{
    Page page(PS_DASH, RGB(255, 0, 0));
    MoveToEx(page.hdc, 40, 7, nullptr);
    LineTo(page.hdc, 10, 7);
    EXPECT_EQ(RowText(*page.buffer, 7, 10, 40), Repeat('B', 1) + Repeat('R', 6) + Repeat('W', 6) + Repeat('R', 18));
}

TEST(pen_patterns, each_lineto_starts_the_pattern_afresh)
{
    Page page(PS_DASH, RGB(255, 0, 0));
    MoveToEx(page.hdc, 0, 3, nullptr);
    LineTo(page.hdc, 20, 3);
    LineTo(page.hdc, 40, 3);
    EXPECT_EQ(RowText(*page.buffer, 3, 0, 39), Repeat('R', 18) + "WW" + Repeat('R', 18) + "WW");
}

TEST(pen_patterns, polylineto_carries_the_pattern_across_its_points)
{
    Page page(PS_DASH, RGB(255, 0, 0));
    MoveToEx(page.hdc, 0, 3, nullptr);
    const POINT points[] = {{20, 3}, {40, 3}, {40, 50}};
    PolylineTo(page.hdc, points, 3);
    EXPECT_EQ(RowText(*page.buffer, 3, 0, 39), Repeat('R', 18) + Repeat('W', 6) + Repeat('R', 16));
    // 40 pixels into the pattern at the corner: 2 more red, then a gap.
    EXPECT_EQ(ColumnText(*page.buffer, 40, 3, 12), "RR" + Repeat('W', 6) + "RR");
}

TEST(pen_patterns, a_diagonal_dash_counts_pixels_along_its_longer_axis)
{
    Page page(PS_DOT, RGB(255, 0, 0));
    MoveToEx(page.hdc, 0, 0, nullptr);
    LineTo(page.hdc, 12, 24);
    std::string along;
    for (int y = 0; y < 24; ++y) {
        int x = 0;
        while (x < 200 && page.buffer->at(x, y) == kBlack)
            ++x;
        along += page.buffer->at(x, y) == kRed ? 'R' : 'W';
    }
    EXPECT_EQ(along, "RRRWWWRRRWWWRRRWWWRRRWWW");
}

TEST(pen_patterns, the_print_clear_with_a_white_dashed_pen_whitens_everything)
{
    Page page(PS_DASH, RGB(255, 255, 255));
    Rectangle(page.hdc, 0, 0, 200, 100);
    for (std::uint32_t pixel : page.buffer->pixels)
        ASSERT_EQ(pixel, kWhite);
}

TEST(pen_patterns, a_rectangle_outline_runs_one_pattern_round_its_corners)
{
    Page page(PS_DASH, RGB(255, 0, 0));
    SelectObject(page.hdc, GetStockObject(NULL_BRUSH));
    Rectangle(page.hdc, 10, 10, 31, 60);
    // Anticlockwise from the top right: the top row right to left first.
    EXPECT_EQ(RowText(*page.buffer, 10, 10, 30), Repeat('W', 3) + Repeat('R', 18));
    // The left side goes on 20 pixels into the pattern, in its gap.
    EXPECT_EQ(ColumnText(*page.buffer, 10, 10, 20), Repeat('W', 4) + Repeat('R', 7));
    SelectObject(page.hdc, GetStockObject(WHITE_BRUSH));
}
