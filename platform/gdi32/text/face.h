// The surface's default font: found through fontconfig, rendered by FreeType
// at 16 pixels into 1-bit glyph bitmaps the size of a full-width cell.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace gdi32::text {

constexpr int kCellHeight = 16;
constexpr int kFullCellWidth = 16;

// A glyph as drawn in its cell: one word per row from the cell's top, bit 15
// the cell's leftmost column. Ink outside a full-width cell is cut off.
struct GlyphBits {
    std::array<std::uint16_t, kCellHeight> rows{};
};

class Face {
public:
    // Finds and opens the font; says once on standard error when it has to
    // make do with another one. Without any font, every glyph is blank.
    Face();
    ~Face();
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;

    // Not safe to call from two threads at once.
    GlyphBits render(char32_t codePoint);
    // Whether the face is the one at its packaged place (PIDVIEW_FONT_FILE),
    // the one the built strike was rendered from.
    bool packaged() const { return packaged_; }

private:
    struct FreeType;
    std::unique_ptr<FreeType> freeType_;
    int ascent_ = 0; // baseline, in rows from the cell's top
    bool packaged_ = false;
};

} // namespace gdi32::text
