// Lines reaching far off the surface: drawn without overflow or a walk over
// off-surface pixels, with the same pixels and dash phase as if the surface
// were large enough.
#include "pixels.h"

#include <cstdint>

using namespace pixels;

namespace {

struct Page {
    std::shared_ptr<gdi32::PixelBuffer> buffer;
    HDC hdc;
    HPEN pen = nullptr;
    HGDIOBJ previous = nullptr;
    Page(int width, int height, int style = PS_SOLID)
        : buffer(std::make_shared<gdi32::PixelBuffer>(width, height)), hdc(gdi32::CreateBufferDC(buffer))
    {
        if (style != PS_SOLID) {
            pen = CreatePen(style, 1, RGB(0, 0, 0));
            previous = SelectObject(hdc, pen);
        }
    }
    ~Page()
    {
        if (pen) {
            SelectObject(hdc, previous);
            DeleteObject(pen);
        }
        DeleteDC(hdc);
    }
};

// 320 - 3 * v as the page computes it, wrapping in 32 bits.
int ChartY(int v)
{
    return static_cast<int>(320u - 3u * static_cast<std::uint32_t>(v));
}

} // namespace

TEST(clipping_extremes, a_target_line_far_above_the_surface_is_not_drawn)
{
    Page page(800, 540, PS_DASH);
    MoveToEx(page.hdc, 50, ChartY(2000000000), nullptr);
    EXPECT_TRUE(LineTo(page.hdc, 580, ChartY(2000000000)));
    for (std::uint32_t pixel : page.buffer->pixels)
        ASSERT_EQ(pixel, kWhite);
}

TEST(clipping_extremes, a_curve_step_to_a_wrapped_coordinate_crosses_the_surface)
{
    Page page(800, 540);
    const int far = ChartY(2000000000); // 320 - 1705032704
    ASSERT_LT(far, -1000000000);
    MoveToEx(page.hdc, 100, 320, nullptr);
    LineTo(page.hdc, 100, far);
    EXPECT_TRUE(ColumnIs(*page.buffer, 100, 0, 320, kBlack));
    EXPECT_TRUE(ColumnIs(*page.buffer, 100, 321, 539, kWhite));
    // Nearly vertical: the line leaves the surface one column over at most.
    MoveToEx(page.hdc, 300, 320, nullptr);
    LineTo(page.hdc, 302, far);
    EXPECT_TRUE(ColumnIs(*page.buffer, 300, 0, 320, kBlack));
    EXPECT_TRUE(ColumnIs(*page.buffer, 301, 0, 539, kWhite));
}

TEST(clipping_extremes, lines_between_the_ends_of_the_integer_range)
{
    Page page(100, 80);
    MoveToEx(page.hdc, INT32_MIN, 40, nullptr);
    LineTo(page.hdc, INT32_MAX, 40);
    EXPECT_TRUE(RowIs(*page.buffer, 40, 0, 99, kBlack));
    MoveToEx(page.hdc, INT32_MIN, INT32_MIN, nullptr);
    LineTo(page.hdc, INT32_MAX, INT32_MAX);
    // The main diagonal of the whole plane passes through (x, x).
    for (int x = 0; x < 80; ++x)
        EXPECT_TRUE(PixelIs(*page.buffer, x, x, kBlack));
    MoveToEx(page.hdc, INT32_MAX, INT32_MIN, nullptr);
    EXPECT_TRUE(LineTo(page.hdc, INT32_MIN, INT32_MAX));
}

TEST(clipping_extremes, lines_wholly_off_the_surface_draw_nothing)
{
    Page page(50, 50);
    const int lines[][4] = {{-10, -10, -1, 60}, {51, 0, 90, 49}, {0, 50, 49, 50}, {-100, 20, -1, 20},
                            {49, 60, 60, 49}, {0, -1, 60, -1}, {50, 0, 50, 49}, {-30, 10, 10, -30}};
    for (const auto& l : lines) {
        MoveToEx(page.hdc, l[0], l[1], nullptr);
        LineTo(page.hdc, l[2], l[3]);
    }
    for (std::uint32_t pixel : page.buffer->pixels)
        ASSERT_EQ(pixel, kWhite);
}

TEST(clipping_extremes, a_dash_clipped_at_its_start_keeps_its_phase)
{
    Page page(60, 10, PS_DASH);
    MoveToEx(page.hdc, -5, 2, nullptr);
    LineTo(page.hdc, 59, 2);
    EXPECT_TRUE(RowIs(*page.buffer, 2, 0, 12, kBlack));
    EXPECT_TRUE(RowIs(*page.buffer, 2, 13, 18, kWhite));
    EXPECT_TRUE(RowIs(*page.buffer, 2, 19, 36, kBlack));
    // From the far left end of the range: 2^31 pixels are 8 into a dash.
    MoveToEx(page.hdc, INT32_MIN, 5, nullptr);
    LineTo(page.hdc, 59, 5);
    EXPECT_TRUE(RowIs(*page.buffer, 5, 0, 9, kBlack));
    EXPECT_TRUE(RowIs(*page.buffer, 5, 10, 15, kWhite));
    EXPECT_TRUE(RowIs(*page.buffer, 5, 16, 33, kBlack));
}

TEST(clipping_extremes, a_clipped_line_draws_the_pixels_of_the_whole_walk)
{
    // The same lines on a large surface and on a small one showing its
    // lower right quarter, where they start off the surface.
    for (int style : {PS_SOLID, PS_DASH, PS_DOT}) {
        Page large(200, 200, style);
        Page small(100, 100, style);
        const int lines[][4] = {{3, 7, 190, 151}, {190, 151, 3, 7},   {5, 199, 197, 110}, {150, 2, 120, 199},
                                {0, 0, 199, 100}, {199, 100, 0, 0},   {10, 190, 180, 20}, {7, 3, 170, 199},
                                {60, 5, 140, 190}, {199, 3, 101, 198}, {2, 120, 199, 121}, {33, 44, 188, 160}};
        for (const auto& l : lines) {
            MoveToEx(large.hdc, l[0], l[1], nullptr);
            LineTo(large.hdc, l[2], l[3]);
            MoveToEx(small.hdc, l[0] - 100, l[1] - 100, nullptr);
            LineTo(small.hdc, l[2] - 100, l[3] - 100);
        }
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                ASSERT_EQ(small.buffer->at(x, y), large.buffer->at(x + 100, y + 100))
                    << "style " << style << " at (" << x << ", " << y << ")";
    }
}
