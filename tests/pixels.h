// Pixel checks that read like a description of the page: "column 770 is
// white from y = 90 to 105". Colours are 0x00RRGGBB as in gdi32::PixelBuffer.
#pragma once

#include "platform/gdi32/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace pixels {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;

// The buffer a context draws into; fails the test (and returns an empty
// buffer) when the context has none.
inline std::shared_ptr<gdi32::PixelBuffer> Capture(HDC hdc)
{
    auto buffer = gdi32::BufferOf(hdc);
    EXPECT_NE(buffer, nullptr) << "the context draws into no buffer";
    return buffer ? buffer : std::make_shared<gdi32::PixelBuffer>(0, 0);
}

inline std::string Hex(std::uint32_t color)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06X", color);
    return text;
}

// Pixel (x, y) is color.
inline testing::AssertionResult PixelIs(const gdi32::PixelBuffer& buffer, int x, int y, std::uint32_t color)
{
    if (x < 0 || y < 0 || x >= buffer.width || y >= buffer.height)
        return testing::AssertionFailure() << "(" << x << ", " << y << ") is off the surface";
    if (buffer.at(x, y) != color)
        return testing::AssertionFailure() << "(" << x << ", " << y << ") is " << Hex(buffer.at(x, y)) << ", not "
                                           << Hex(color);
    return testing::AssertionSuccess();
}

// Row y is color from x = from to x = to, both included.
inline testing::AssertionResult RowIs(const gdi32::PixelBuffer& buffer, int y, int from, int to, std::uint32_t color)
{
    for (int x = from; x <= to; ++x)
        if (auto result = PixelIs(buffer, x, y, color); !result)
            return result << " (row " << y << " from x = " << from << " to " << to << ")";
    return testing::AssertionSuccess();
}

// Column x is color from y = from to y = to, both included.
inline testing::AssertionResult ColumnIs(const gdi32::PixelBuffer& buffer, int x, int from, int to,
                                         std::uint32_t color)
{
    for (int y = from; y <= to; ++y)
        if (auto result = PixelIs(buffer, x, y, color); !result)
            return result << " (column " << x << " from y = " << from << " to " << to << ")";
    return testing::AssertionSuccess();
}

// Row y from x = from to x = to as letters, for patterns: 'B' black,
// 'W' white, 'R' red, '?' anything else.
inline std::string RowText(const gdi32::PixelBuffer& buffer, int y, int from, int to)
{
    std::string text;
    for (int x = from; x <= to; ++x) {
        const std::uint32_t c = buffer.at(x, y);
        text += c == kBlack ? 'B' : c == kWhite ? 'W' : c == kRed ? 'R' : '?';
    }
    return text;
}

// The same for column x from y = from to y = to.
inline std::string ColumnText(const gdi32::PixelBuffer& buffer, int x, int from, int to)
{
    std::string text;
    for (int y = from; y <= to; ++y) {
        const std::uint32_t c = buffer.at(x, y);
        text += c == kBlack ? 'B' : c == kWhite ? 'W' : c == kRed ? 'R' : '?';
    }
    return text;
}

} // namespace pixels
