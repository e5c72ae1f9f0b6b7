// Bytes that are not code page 932: one half-width replacement mark per bad
// byte, and never a byte past the given length. Bytes are written as escapes
// (0x82 0xA0 is a hiragana, 0x85 0x40 an undefined pair).
#include "cells.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The replacement mark as drawn for a byte that is bad on its own.
std::vector<std::uint32_t> ReplacementMark()
{
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 0, 0, "\xFF");
    return Cell(paper, 0, 0, 8);
}

std::vector<std::uint32_t> CellOf(std::string_view bytes, int width)
{
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 0, 0, bytes);
    return Cell(paper, 0, 0, width);
}

} // namespace

TEST(TextBadBytes, EveryUndefinedSingleByteIsOneMark)
{
    for (std::string bytes : {"\x80", "\xA0", "\xFD", "\xFE"}) {
        gdi32::PixelBuffer paper = Paper();
        Draw(paper, 0, 0, bytes + "A");
        EXPECT_EQ(Cell(paper, 0, 0, 8), ReplacementMark());
        EXPECT_EQ(Cell(paper, 8, 0, 8), CellOf("A", 8));
    }
    // A mark that shows: ink in its cell, unlike a blank.
    EXPECT_NE(ReplacementMark(), CellOf(" ", 8));
}

TEST(TextBadBytes, LeadByteAtTheEndIsNotCompletedFromBeyondTheLength)
{
    // The byte after the length would make the pair a hiragana.
    const char bytes[] = "A\x82\xA0";
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 0, 0, std::string_view(bytes, 2));
    EXPECT_EQ(Touched(paper), (Columns{0, 16}));
    EXPECT_EQ(Cell(paper, 8, 0, 8), ReplacementMark());
}

TEST(TextBadBytes, LeadByteBeforeANonTrailByteStandsAlone)
{
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 0, 0, "\x82 B");
    EXPECT_EQ(Touched(paper), (Columns{0, 24}));
    EXPECT_EQ(Cell(paper, 0, 0, 8), ReplacementMark());
    EXPECT_EQ(Cell(paper, 8, 0, 8), CellOf(" ", 8));
    EXPECT_EQ(Cell(paper, 16, 0, 8), CellOf("B", 8));
}

TEST(TextBadBytes, UndefinedPairIsTwoMarks)
{
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 0, 0, "\x85\x40\x82\xA0");
    EXPECT_EQ(Touched(paper), (Columns{0, 32}));
    EXPECT_EQ(Cell(paper, 0, 0, 8), ReplacementMark());
    EXPECT_EQ(Cell(paper, 8, 0, 8), ReplacementMark());
    EXPECT_EQ(Cell(paper, 16, 0, 16), CellOf("\x82\xA0", 16));
}
