// Rectangle: the outline on columns left and right-1 and rows top and
// bottom-1, the inside filled with the brush, the right column and bottom
// row untouched.
#include "pixels.h"

using namespace pixels;

namespace {

struct Page {
    std::shared_ptr<gdi32::PixelBuffer> buffer = std::make_shared<gdi32::PixelBuffer>(60, 40, kRed);
    HDC hdc = gdi32::CreateBufferDC(buffer);
    ~Page() { DeleteDC(hdc); }
};

} // namespace

TEST(rectangle_fill, default_pen_and_brush_outline_black_and_fill_white)
{
    Page page;
    EXPECT_TRUE(Rectangle(page.hdc, 10, 5, 30, 20));
    EXPECT_TRUE(ColumnIs(*page.buffer, 10, 5, 19, kBlack));
    EXPECT_TRUE(ColumnIs(*page.buffer, 29, 5, 19, kBlack));
    EXPECT_TRUE(RowIs(*page.buffer, 5, 10, 29, kBlack));
    EXPECT_TRUE(RowIs(*page.buffer, 19, 10, 29, kBlack));
    for (int y = 6; y <= 18; ++y)
        EXPECT_TRUE(RowIs(*page.buffer, y, 11, 28, kWhite));
    EXPECT_TRUE(ColumnIs(*page.buffer, 30, 4, 20, kRed));
    EXPECT_TRUE(RowIs(*page.buffer, 20, 9, 30, kRed));
    EXPECT_TRUE(RowIs(*page.buffer, 4, 9, 30, kRed));
    EXPECT_TRUE(ColumnIs(*page.buffer, 9, 4, 20, kRed));
}

TEST(rectangle_fill, swapped_corners_draw_the_same_rectangle)
{
    Page straight, swapped;
    Rectangle(straight.hdc, 10, 5, 30, 20);
    Rectangle(swapped.hdc, 30, 20, 10, 5);
    EXPECT_EQ(straight.buffer->pixels, swapped.buffer->pixels);
}

TEST(rectangle_fill, the_null_brush_leaves_the_inside_alone)
{
    Page page;
    SelectObject(page.hdc, GetStockObject(NULL_BRUSH));
    Rectangle(page.hdc, 10, 5, 30, 20);
    EXPECT_TRUE(RowIs(*page.buffer, 10, 11, 28, kRed));
    EXPECT_TRUE(RowIs(*page.buffer, 5, 10, 29, kBlack));
}

TEST(rectangle_fill, with_the_null_pen_the_fill_is_a_pixel_narrower_and_shorter)
{
    Page page;
    SelectObject(page.hdc, GetStockObject(NULL_PEN));
    SelectObject(page.hdc, GetStockObject(BLACK_BRUSH));
    Rectangle(page.hdc, 10, 5, 30, 20);
    for (int y = 5; y <= 18; ++y)
        EXPECT_TRUE(RowIs(*page.buffer, y, 10, 28, kBlack));
    EXPECT_TRUE(ColumnIs(*page.buffer, 29, 5, 19, kRed));
    EXPECT_TRUE(RowIs(*page.buffer, 19, 10, 29, kRed));
}

TEST(rectangle_fill, an_empty_rectangle_draws_nothing)
{
    Page page;
    EXPECT_TRUE(Rectangle(page.hdc, 10, 5, 10, 20));
    EXPECT_TRUE(Rectangle(page.hdc, 10, 5, 30, 5));
    for (std::uint32_t pixel : page.buffer->pixels)
        ASSERT_EQ(pixel, kRed);
}

TEST(rectangle_fill, a_rectangle_larger_than_the_surface_is_clipped)
{
    Page page;
    EXPECT_TRUE(Rectangle(page.hdc, -5, 2, 1000000, 35));
    EXPECT_TRUE(RowIs(*page.buffer, 2, 0, 59, kBlack));
    EXPECT_TRUE(RowIs(*page.buffer, 34, 0, 59, kBlack));
    EXPECT_TRUE(RowIs(*page.buffer, 20, 0, 59, kWhite));
    EXPECT_TRUE(RowIs(*page.buffer, 1, 0, 59, kRed));
}

TEST(rectangle_fill, corners_at_the_ends_of_the_integer_range_are_safe)
{
    Page page;
    EXPECT_TRUE(Rectangle(page.hdc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    for (std::uint32_t pixel : page.buffer->pixels)
        ASSERT_EQ(pixel, kWhite);
    EXPECT_TRUE(Rectangle(page.hdc, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN));
}
