// Finding the default font (at its packaged place, else through fontconfig)
// and rendering its glyphs with FreeType, monochrome as a bitmap font would
// draw them.
#include "face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace gdi32::text {

namespace {

constexpr const char* kFamily = "Unifont-JP";
constexpr double kPixelSize = 16.0;
// Where the system's font package (Debian's fonts-unifont, a dependency of
// ours) puts the face, as the build was told. Opening it there spares
// fontconfig's start-up, which reads its whole configuration to find this
// one file and takes longer than drawing a page.
constexpr const char* kPackagedFile = PIDVIEW_FONT_FILE;

struct FontFile {
    std::string path;
    int index;
    std::string family;
};

bool HasFamily(FcPattern* font, const char* family)
{
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &value) == FcResultMatch; ++i)
        if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(family)) == 0)
            return true;
    return false;
}

// fontconfig's best match for pattern, which it takes over; when family is
// given, only a face of that family counts (a match is always some face).
std::optional<FontFile> Match(FcConfig* config, FcPattern* pattern, const char* family)
{
    std::optional<FontFile> found;
    if (!pattern)
        return found;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!font)
        return found;
    FcChar8* path = nullptr;
    FcChar8* name = nullptr;
    int index = 0;
    if ((!family || HasFamily(font, family)) && FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch) {
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        FcPatternGetString(font, FC_FAMILY, 0, &name);
        found = FontFile{reinterpret_cast<const char*>(path), index,
                         name ? reinterpret_cast<const char*>(name) : ""};
    }
    FcPatternDestroy(font);
    return found;
}

// The family asked for by name through the API: on a command line the
// hyphen in "Unifont-JP" would be read as a size. Failing that, the best
// Japanese fixed-pitch face there is. A configuration of our own, dropped
// once the file is known: the shared one leaves blocks the leak check flags.
std::optional<FontFile> FindFont()
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return std::nullopt;
    std::optional<FontFile> font =
        Match(config,
              FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, kFamily, FC_PIXEL_SIZE, FcTypeDouble, kPixelSize,
                             nullptr),
              kFamily);
    if (!font) {
        font = Match(config,
                     FcPatternBuild(nullptr, FC_LANG, FcTypeString, "ja", FC_SPACING, FcTypeInteger, FC_MONO,
                                    FC_PIXEL_SIZE, FcTypeDouble, kPixelSize, nullptr),
                     nullptr);
        std::fprintf(stderr, "pidview: font %s not found; drawing text with %s\n", kFamily,
                     font ? font->family.c_str() : "no font at all");
    }
    FcConfigDestroy(config);
    return font;
}

} // namespace

struct Face::FreeType {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeType()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

namespace {

// The face at its packaged place, if it is there and of the family asked
// for. A font configuration the user chose (FONTCONFIG_FILE or _PATH) is
// asked instead, as any program using fontconfig would.
FT_Face OpenPackagedFace(FT_Library library)
{
    FT_Face face = nullptr;
    if (std::getenv("FONTCONFIG_FILE") || std::getenv("FONTCONFIG_PATH")
        || FT_New_Face(library, kPackagedFile, 0, &face) != 0)
        return nullptr;
    if (face->family_name
        && FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(face->family_name),
                              reinterpret_cast<const FcChar8*>(kFamily)) == 0)
        return face;
    FT_Done_Face(face);
    return nullptr;
}

} // namespace

Face::Face()
{
    auto freeType = std::make_unique<FreeType>();
    std::string path = kPackagedFile;
    bool opened = FT_Init_FreeType(&freeType->library) == 0;
    if (opened)
        freeType->face = OpenPackagedFace(freeType->library);
    if (opened && !freeType->face) {
        std::optional<FontFile> file = FindFont();
        if (!file)
            return;
        path = file->path;
        opened = FT_New_Face(freeType->library, path.c_str(), file->index, &freeType->face) == 0;
    }
    if (!opened || FT_Set_Pixel_Sizes(freeType->face, 0, kCellHeight) != 0) {
        std::fprintf(stderr, "pidview: cannot open font %s; text is drawn without glyphs\n", path.c_str());
        return;
    }
    ascent_ = static_cast<int>(std::clamp<FT_Pos>((freeType->face->size->metrics.ascender + 32) / 64, 0, kCellHeight));
    freeType_ = std::move(freeType);
}

Face::~Face() = default;

GlyphBits Face::render(char32_t codePoint)
{
    GlyphBits bits;
    if (!freeType_)
        return bits;
    FT_Face face = freeType_->face;
    FT_GlyphSlot slot = face->glyph;
    // The face's outlines are whole pixels at this size: unhinted and drawn
    // by the anti-aliasing rasterizer, every glyph has the pixels the
    // monochrome path gives it (all 57,390 compared), for a quarter less time.
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, codePoint), FT_LOAD_NO_HINTING) != 0)
        return bits;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return bits;
    const FT_Bitmap& bitmap = slot->bitmap;
    bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return bits;
    unsigned stride = static_cast<unsigned>(bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        int cellRow = ascent_ - slot->bitmap_top + static_cast<int>(row);
        if (cellRow < 0 || cellRow >= kCellHeight)
            continue;
        // A negative pitch stores the rows bottom up.
        const unsigned char* line = bitmap.buffer + (bitmap.pitch < 0 ? bitmap.rows - 1 - row : row) * stride;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            int cellColumn = slot->bitmap_left + static_cast<int>(column);
            if (cellColumn < 0 || cellColumn >= kFullCellWidth)
                continue;
            bool ink = mono ? (line[column / 8] & (0x80u >> (column % 8))) != 0 : line[column] >= 128;
            if (ink)
                bits.rows[static_cast<std::size_t>(cellRow)] |= static_cast<std::uint16_t>(0x8000u >> cellColumn);
        }
    }
    return bits;
}

} // namespace gdi32::text
