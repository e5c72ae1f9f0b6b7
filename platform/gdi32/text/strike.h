// Glyphs rendered when the programs were built, from the face at its packaged
// place: every character the pictures' own texts use, ASCII and half-width
// katakana. A page then needs no font opened at all, which costs a short-lived
// process (pidpage) more than drawing the page.
#pragma once

#include "face.h"

#include <cstdint>
#include <span>

namespace gdi32::text {

struct StrikeGlyph {
    char32_t codePoint;
    GlyphBits bits;
};

// What the build found: the face file's size and modification time (0 and 0
// when there was none to render from) and the glyphs, by code point.
struct Strike {
    std::int64_t fontSize;
    std::int64_t fontTime;
    std::span<const StrikeGlyph> glyphs;
};
const Strike& BuiltStrike();

// The strike's glyph of codePoint, or nullptr when it has none or the face on
// disk is no longer the one it was made from (a font configuration of the
// user's own, another version of the face).
const GlyphBits* StrikeGlyphOf(char32_t codePoint);

} // namespace gdi32::text
