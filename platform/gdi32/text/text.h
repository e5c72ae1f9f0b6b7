// Text cells for TextOutA: code page 932 decoded and drawn with the surface's
// default font, each cell painted in the background colour first.
#pragma once

#include "../surface.h"

#include <span>

namespace gdi32::text {

// Draws text with the top-left corner of its first cell at (x, y), clipped to
// the buffer. Single-byte characters take 8-pixel cells, double-byte ones
// 16-pixel cells, all 16 rows high. Colours are 0x00RRGGBB.
void DrawCells(PixelBuffer& target, int x, int y, std::span<const char> text, std::uint32_t textColor,
               std::uint32_t backColor);

} // namespace gdi32::text
