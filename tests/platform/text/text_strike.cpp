// The glyphs rendered at build time are the face's own: drawn from the strike
// or by FreeType, a text looks the same.
#include "platform/gdi32/text/strike.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(TextStrike, EveryGlyphIsTheFacesRendering)
{
    if (!std::filesystem::exists(PIDVIEW_FONT_FILE))
        GTEST_SKIP() << "no packaged face to compare with";
    const gdi32::text::Strike& strike = gdi32::text::BuiltStrike();
    ASSERT_GT(strike.glyphs.size(), 95u); // ASCII at least
    gdi32::text::Face face;
    ASSERT_TRUE(face.packaged());
    for (const gdi32::text::StrikeGlyph& glyph : strike.glyphs) {
        EXPECT_EQ(glyph.bits.rows, face.render(glyph.codePoint).rows) << std::hex << static_cast<unsigned>(glyph.codePoint);
        EXPECT_EQ(gdi32::text::StrikeGlyphOf(glyph.codePoint), &glyph.bits);
    }
    EXPECT_EQ(gdi32::text::StrikeGlyphOf(U'\x3042' + 0x10000), nullptr); // none beyond what was built
}
