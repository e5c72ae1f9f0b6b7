// The rasterizer under the GDI calls: cosmetic lines and solid rectangles on
// a PixelBuffer, clipped to it, for any 32-bit coordinates.
#pragma once

#include "surface.h"

#include <cstdint>

namespace gdi32 {

// Alternating drawn and left lengths of a styled cosmetic pen, in pixels
// along the line's major axis, starting with a drawn one. A user style of
// up to 16 lengths takes up to 32: an odd count is written out twice.
struct DashPattern {
    int count;
    std::uint32_t lengths[32];
    std::uint64_t total; // more than 0
};

extern const DashPattern kDash;
extern const DashPattern kDot;
extern const DashPattern kDashDot;
extern const DashPattern kDashDotDot;

struct LineStyle {
    std::uint32_t color;
    const DashPattern* pattern; // nullptr: solid
    std::uint32_t gapColor;
    bool paintGaps; // opaque background mode
};

// Draws from (x0, y0) towards (x1, y1) leaving out the end pixel, with the
// pixels GDI's Bresenham walk gives. dashPhase is the position in the
// pattern at the first pixel; on return it is the position after the last
// one, whether or not the line was visible.
void DrawLine(PixelBuffer& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
              const LineStyle& style, std::uint64_t& dashPhase);

// Fills columns left..right-1 and rows top..bottom-1, clipped.
void FillRect(PixelBuffer& target, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
              std::uint32_t color);

} // namespace gdi32
