// Cells partly or wholly off the buffer, down to the ends of the int range.
#include "cells.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// The text drawn whole at (50, 10) on paper, shifted so its corner is at
// (x, y): what a clipped drawing at (x, y) must show where it is visible.
gdi32::PixelBuffer Expected(std::string_view bytes, int x, int y)
{
    gdi32::PixelBuffer whole = Paper(400, 60);
    Draw(whole, 50, 10, bytes);
    gdi32::PixelBuffer shifted = Paper();
    for (int row = 0; row < shifted.height; ++row)
        for (int column = 0; column < shifted.width; ++column) {
            int fromX = column - x + 50;
            int fromY = row - y + 10;
            if (fromX >= 0 && fromX < whole.width && fromY >= 0 && fromY < whole.height)
                shifted.at(column, row) = whole.at(fromX, fromY);
        }
    return shifted;
}

} // namespace

TEST(TextClipping, CellsAcrossEveryEdgeShowTheirVisiblePart)
{
    struct Corner {
        int x;
        int y;
    };
    for (Corner at : {Corner{-5, -7}, Corner{-13, 30}, Corner{225, 3}, Corner{200, 33}}) {
        gdi32::PixelBuffer paper = Paper();
        Draw(paper, at.x, at.y, "目A標g");
        EXPECT_EQ(paper.pixels, Expected("目A標g", at.x, at.y).pixels) << at.x << ", " << at.y;
    }
}

TEST(TextClipping, LongTextFromFarLeftArrivesInPlace)
{
    std::string text(1000, 'A');
    text += "目p";
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, -8000 + 3, 4, text);
    EXPECT_EQ(Touched(paper), (Columns{0, 3 + 16 + 8}));
    EXPECT_EQ(paper.pixels, Expected("A目p", -5, 4).pixels);
}

TEST(TextClipping, ExtremeCoordinatesDrawNothingAndDoNotOverflow)
{
    std::string text(300, 'W');
    for (int x : {INT_MIN, INT_MIN + 7, -2400, 240, INT_MAX - 15, INT_MAX})
        for (int y : {INT_MIN, INT_MIN + 15, -16, 40, INT_MAX - 1, INT_MAX}) {
            gdi32::PixelBuffer paper = Paper();
            Draw(paper, x, y, text);
            EXPECT_EQ(Touched(paper), Columns{}) << x << ", " << y;
        }
}

TEST(TextClipping, TinyAndEmptyBuffersTakeWhatFits)
{
    gdi32::PixelBuffer tiny(3, 2, kPaper);
    Draw(tiny, -1, -13, "目");
    EXPECT_EQ(CountColour(tiny, kPaper, 0, 0, 3, 2), 0);
    gdi32::PixelBuffer empty(0, 0, kPaper);
    Draw(empty, 0, 0, "目");
    EXPECT_TRUE(empty.pixels.empty());
}
