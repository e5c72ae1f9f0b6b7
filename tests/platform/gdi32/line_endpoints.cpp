// Which pixels a cosmetic line covers: GDI leaves out the end pixel, and its
// tie-breaking makes a line and its reverse cover the same pixels.
#include "pixels.h"

#include <set>
#include <utility>

using namespace pixels;

namespace {

struct Page {
    std::shared_ptr<gdi32::PixelBuffer> buffer = std::make_shared<gdi32::PixelBuffer>(64, 64);
    HDC hdc = gdi32::CreateBufferDC(buffer);
    ~Page() { DeleteDC(hdc); }

    std::set<std::pair<int, int>> line(int x0, int y0, int x1, int y1)
    {
        std::fill(buffer->pixels.begin(), buffer->pixels.end(), kWhite);
        MoveToEx(hdc, x0, y0, nullptr);
        LineTo(hdc, x1, y1);
        std::set<std::pair<int, int>> drawn;
        for (int y = 0; y < buffer->height; ++y)
            for (int x = 0; x < buffer->width; ++x)
                if (buffer->at(x, y) == kBlack)
                    drawn.insert({x, y});
        return drawn;
    }
};

} // namespace

TEST(line_endpoints, horizontal_and_vertical_lines_leave_out_the_end_pixel)
{
    Page page;
    MoveToEx(page.hdc, 10, 5, nullptr);
    LineTo(page.hdc, 20, 5);
    EXPECT_TRUE(RowIs(*page.buffer, 5, 10, 19, kBlack));
    EXPECT_TRUE(PixelIs(*page.buffer, 20, 5, kWhite));
    EXPECT_TRUE(PixelIs(*page.buffer, 9, 5, kWhite));

    MoveToEx(page.hdc, 30, 40, nullptr);
    LineTo(page.hdc, 30, 30); // upwards
    EXPECT_TRUE(ColumnIs(*page.buffer, 30, 31, 40, kBlack));
    EXPECT_TRUE(PixelIs(*page.buffer, 30, 30, kWhite));
}

TEST(line_endpoints, the_current_position_becomes_the_end_point)
{
    Page page;
    MoveToEx(page.hdc, 3, 4, nullptr);
    LineTo(page.hdc, 9, 4);
    POINT previous{};
    MoveToEx(page.hdc, 0, 0, &previous);
    EXPECT_EQ(previous.x, 9);
    EXPECT_EQ(previous.y, 4);
}

TEST(line_endpoints, a_line_to_its_own_start_draws_nothing)
{
    Page page;
    EXPECT_TRUE(page.line(7, 7, 7, 7).empty());
}

TEST(line_endpoints, a_shallow_line_rounds_its_ties_like_gdi)
{
    Page page;
    // Half-way steps stay on the row going right and move on going left.
    using P = std::set<std::pair<int, int>>;
    EXPECT_EQ(page.line(0, 0, 4, 2), (P{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(page.line(4, 2, 0, 0), (P{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(page.line(10, 10, 14, 14), (P{{10, 10}, {11, 11}, {12, 12}, {13, 13}}));
}

TEST(line_endpoints, a_line_and_its_reverse_cover_the_same_pixels_between_the_ends)
{
    Page page;
    const int ends[][2] = {{7, 3}, {3, 7}, {-7, 3}, {-3, 7}, {7, -3}, {3, -7}, {-7, -3}, {-3, -7},
                           {6, 3}, {3, 6}, {-6, 3}, {-3, 6}, {6, -3}, {3, -6}, {-6, -3}, {-3, -6},
                           {9, 2}, {2, 9}, {-9, 2}, {-5, 5}, {5, -5}, {10, 5}, {-10, -5}, {1, 2}};
    for (const auto& end : ends) {
        const int x0 = 30, y0 = 30, x1 = 30 + end[0], y1 = 30 + end[1];
        auto forward = page.line(x0, y0, x1, y1);
        auto backward = page.line(x1, y1, x0, y0);
        EXPECT_EQ(forward.size(), static_cast<std::size_t>(std::max(std::abs(end[0]), std::abs(end[1]))));
        EXPECT_TRUE(forward.count({x0, y0}) && !forward.count({x1, y1}));
        forward.erase({x0, y0});
        backward.erase({x1, y1});
        EXPECT_EQ(forward, backward) << "line to offset " << end[0] << ", " << end[1];
    }
}

TEST(line_endpoints, a_closed_polyline_draws_its_start_corner_once_round)
{
    Page page;
    MoveToEx(page.hdc, 10, 10, nullptr);
    const POINT box[] = {{40, 10}, {40, 30}, {10, 30}, {10, 10}};
    EXPECT_TRUE(PolylineTo(page.hdc, box, 4));
    EXPECT_TRUE(RowIs(*page.buffer, 10, 10, 40, kBlack));
    EXPECT_TRUE(RowIs(*page.buffer, 30, 10, 40, kBlack));
    EXPECT_TRUE(ColumnIs(*page.buffer, 10, 10, 30, kBlack));
    EXPECT_TRUE(ColumnIs(*page.buffer, 40, 10, 30, kBlack));
    POINT at{};
    MoveToEx(page.hdc, 0, 0, &at);
    EXPECT_EQ(at.x, 10);
    EXPECT_EQ(at.y, 10);
}

TEST(line_endpoints, an_open_polyline_leaves_out_its_last_point)
{
    Page page;
    MoveToEx(page.hdc, 5, 50, nullptr);
    const POINT path[] = {{5, 20}, {25, 20}};
    PolylineTo(page.hdc, path, 2);
    EXPECT_TRUE(ColumnIs(*page.buffer, 5, 20, 50, kBlack));
    EXPECT_TRUE(RowIs(*page.buffer, 20, 5, 24, kBlack));
    EXPECT_TRUE(PixelIs(*page.buffer, 25, 20, kWhite));
}
