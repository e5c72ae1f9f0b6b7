// Cell widths, the painted cell and where the glyph sits in it.
#include "cells.h"

#include <gtest/gtest.h>

TEST(TextCells, MixedTextTakesEightPixelsPerByte)
{
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 10, 10, "目標回転数 4500[rpm] ");
    EXPECT_EQ(Touched(paper), (Columns{10, 178}));
    // The whole 16-row cell is painted, every pixel either ink or background,
    // and nothing above or below it is touched.
    int white = CountColour(paper, kCellBack, 10, 10, 178, 26);
    int black = CountColour(paper, kInk, 10, 10, 178, 26);
    EXPECT_EQ(white + black, 168 * 16);
    EXPECT_GT(black, 300);
    EXPECT_EQ(CountColour(paper, kPaper, 0, 0, 240, 10), 240 * 10);
    EXPECT_EQ(CountColour(paper, kPaper, 0, 26, 240, 40), 240 * 14);
}

TEST(TextCells, EachKindOfCharacterHasItsWidthAndInk)
{
    struct Case {
        const char* bytes;
        int width;
    };
    for (Case c : {Case{"A", 8}, Case{"ｱ", 8}, Case{"目", 16}, Case{"ア", 16}, Case{"Ｋ", 16}}) {
        gdi32::PixelBuffer paper = Paper();
        Draw(paper, 20, 5, c.bytes);
        EXPECT_EQ(Touched(paper), (Columns{20, 20 + c.width})) << c.bytes;
        EXPECT_GT(CountColour(paper, kInk, 20, 5, 20 + c.width, 21), 5) << c.bytes;
    }
}

TEST(TextCells, GlyphsStandOnTheBaseline)
{
    // Only descenders reach the two rows under the baseline at row 14.
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 0, 0, "rp");
    EXPECT_EQ(CountColour(paper, kInk, 0, 14, 8, 16), 0);
    EXPECT_GT(CountColour(paper, kInk, 8, 14, 16, 16), 0);
    EXPECT_GT(CountColour(paper, kInk, 0, 0, 8, 14), 0);
}

TEST(TextCells, SameCharacterLooksTheSameEachTime)
{
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 0, 0, "数数");
    Draw(paper, 40, 0, "数");
    EXPECT_EQ(Cell(paper, 0, 0, 16), Cell(paper, 16, 0, 16));
    EXPECT_EQ(Cell(paper, 0, 0, 16), Cell(paper, 40, 0, 16));
    EXPECT_NE(Cell(paper, 0, 0, 16), (Draw(paper, 60, 0, "標"), Cell(paper, 60, 0, 16)));
}

TEST(TextCells, ColoursAreTheOnesGiven)
{
    gdi32::PixelBuffer paper = Paper();
    gdi32::text::DrawCells(paper, 0, 0, std::string_view("Kp"), 0xFF0000, 0x0000FF);
    EXPECT_EQ(CountColour(paper, 0xFF0000, 0, 0, 16, 16) + CountColour(paper, 0x0000FF, 0, 0, 16, 16), 256);
    EXPECT_GT(CountColour(paper, 0xFF0000, 0, 0, 16, 16), 0);
}
