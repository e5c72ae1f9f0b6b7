// Test helpers for the page: a white 800 x 540 surface, the record at its
// start values, and pixel checks that read like a description of the page.
#pragma once

#include "data/measdata.h"
#include "picture/page.h"
#include "pixels.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace pagetest {

constexpr std::uint32_t white = pixels::kWhite;
constexpr std::uint32_t black = pixels::kBlack;
constexpr std::uint32_t red = pixels::kRed;

inline void setStartValues()
{
    std::memset(cPIDHeader, 0, sizeof cPIDHeader);
    iPramRotate = 45; iPramProp = 80; iPramInt = 0; iPramDiff = 0; iPramSamp = 5;
    iMeasTime = 0; iMeasRotate = 0;
    InitMeasData();
}

// A white surface of the page's size with a fresh context on it.
struct Surface {
    explicit Surface(int width = 800, int height = 540)
        : buffer(std::make_shared<gdi32::PixelBuffer>(width, height, white)), hdc(gdi32::CreateBufferDC(buffer))
    {
    }
    ~Surface() { DeleteDC(hdc); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    std::uint32_t at(int x, int y) const { return buffer->at(x, y); }
    bool operator==(const Surface& other) const { return buffer->pixels == other.buffer->pixels; }

    std::shared_ptr<gdi32::PixelBuffer> buffer;
    HDC hdc;
};

// Whether every pixel of the rectangle [x0, x1) x [y0, y1) has the colour.
inline ::testing::AssertionResult AreaIs(const Surface& s, int x0, int y0, int x1, int y1, std::uint32_t colour)
{
    for (int y = y0; y < y1; ++y)
        if (auto result = pixels::RowIs(*s.buffer, y, x0, x1 - 1, colour); !result)
            return result;
    return ::testing::AssertionSuccess();
}

// Row y from x0 to x1 and column x from y0 to y1, both ends included.
inline ::testing::AssertionResult RowIs(const Surface& s, int y, int x0, int x1, std::uint32_t colour)
{
    return pixels::RowIs(*s.buffer, y, x0, x1, colour);
}

inline ::testing::AssertionResult ColumnIs(const Surface& s, int x, int y0, int y1, std::uint32_t colour)
{
    return pixels::ColumnIs(*s.buffer, x, y0, y1, colour);
}

inline bool AreaHas(const Surface& s, int x0, int y0, int x1, int y1, std::uint32_t colour)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (s.at(x, y) == colour)
                return true;
    return false;
}

// Whether the page shows text (code page 932) at (x, y): its cells, up to
// width pixels of them, look as the text drawn alone on white.
inline ::testing::AssertionResult TextShows(const Surface& page, int x, int y, const std::string& text, int width = -1)
{
    Surface alone;
    TextOutA(alone.hdc, x, y, text.data(), static_cast<int>(text.size()));
    int x1 = x + (width >= 0 ? width : 8 * static_cast<int>(text.size()));
    for (int row = y; row < y + 16; ++row)
        for (int col = x; col < x1; ++col)
            if (page.at(col, row) != alone.at(col, row))
                return ::testing::AssertionFailure() << "'" << text << "' differs at (" << col << ", " << row << ")";
    return ::testing::AssertionSuccess();
}

// A page fixture: the record at its start values before each test.
class PageTest : public ::testing::Test {
protected:
    void SetUp() override { setStartValues(); }
};

} // namespace pagetest
