// Helpers for the text cell tests: byte strings drawn on grey paper, and
// the cells read back from it.
#pragma once

#include "platform/gdi32/text/text.h"

#include <algorithm>
#include <string_view>
#include <vector>

constexpr std::uint32_t kPaper = 0x808080; // a cell never leaves this colour
constexpr std::uint32_t kInk = 0x000000;
constexpr std::uint32_t kCellBack = 0xFFFFFF;

inline gdi32::PixelBuffer Paper(int width = 240, int height = 40)
{
    return gdi32::PixelBuffer(width, height, kPaper);
}

inline void Draw(gdi32::PixelBuffer& paper, int x, int y, std::string_view bytes)
{
    gdi32::text::DrawCells(paper, x, y, bytes, kInk, kCellBack);
}

// Columns [first, end) in which any pixel left the paper colour.
struct Columns {
    int first = 0;
    int end = 0;
    bool operator==(const Columns&) const = default;
};

inline Columns Touched(const gdi32::PixelBuffer& paper)
{
    Columns touched{paper.width, 0};
    for (int y = 0; y < paper.height; ++y)
        for (int x = 0; x < paper.width; ++x)
            if (paper.at(x, y) != kPaper) {
                touched.first = std::min(touched.first, x);
                touched.end = std::max(touched.end, x + 1);
            }
    return touched.end == 0 ? Columns{} : touched;
}

inline int CountColour(const gdi32::PixelBuffer& paper, std::uint32_t colour, int left, int top, int right,
                       int bottom)
{
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += paper.at(x, y) == colour;
    return count;
}

// The pixels of a cell, width x 16 from (x, y), for comparing cells.
inline std::vector<std::uint32_t> Cell(const gdi32::PixelBuffer& paper, int x, int y, int width)
{
    std::vector<std::uint32_t> pixels;
    for (int row = y; row < y + 16; ++row)
        for (int column = x; column < x + width; ++column)
            pixels.push_back(paper.at(column, row));
    return pixels;
}
