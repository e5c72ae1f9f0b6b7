// Text cells for TextOutA: code page 932 decoded and drawn with the surface's
// default font (Unifont-JP at 16 pixels, monochrome), each cell painted in
// the background colour first.
#pragma once

#include "../surface.h"

#include <span>

namespace gdi32::text {

// Draws text with the top-left corner of its first cell at (x, y), clipped to
// the buffer. Single-byte characters take 8-pixel cells, double-byte ones
// 16-pixel cells, all 16 rows high; a byte that is not code page 932 draws a
// replacement mark in an 8-pixel cell. Colours are 0x00RRGGBB. The first call
// loads the font (some 10 ms); later ones cost well under a microsecond for a
// line of the page. Safe to call from any thread.
void DrawCells(PixelBuffer& target, int x, int y, std::span<const char> text, std::uint32_t textColor,
               std::uint32_t backColor);

} // namespace gdi32::text
