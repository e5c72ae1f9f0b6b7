// Looking glyphs up in the built strike, once it is known to be current.
#include "strike.h"

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>

namespace gdi32::text {

namespace {

bool StrikeIsCurrent()
{
    const Strike& strike = BuiltStrike();
    struct stat info {};
    return strike.fontSize > 0 && !std::getenv("FONTCONFIG_FILE") && !std::getenv("FONTCONFIG_PATH")
           && ::stat(PIDVIEW_FONT_FILE, &info) == 0 && info.st_size == strike.fontSize
           && info.st_mtime == strike.fontTime;
}

} // namespace

const GlyphBits* StrikeGlyphOf(char32_t codePoint)
{
    static const bool current = StrikeIsCurrent();
    if (!current)
        return nullptr;
    std::span<const StrikeGlyph> glyphs = BuiltStrike().glyphs;
    auto found = std::lower_bound(glyphs.begin(), glyphs.end(), codePoint,
                                  [](const StrikeGlyph& glyph, char32_t wanted) { return glyph.codePoint < wanted; });
    return found != glyphs.end() && found->codePoint == codePoint ? &found->bits : nullptr;
}

} // namespace gdi32::text
