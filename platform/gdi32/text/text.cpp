// TextOutA's cells: each character decoded from code page 932, its cell
// painted in the background colour and its glyph set over it, all clipped to
// the buffer. Decoded pairs and rendered glyphs are kept for the process's
// life, so a page of texts costs table look-ups and pixel stores; the glyphs
// the pictures use come ready from the build (strike.h).
#include "text.h"

#include "cp932.h"
#include "face.h"
#include "strike.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace gdi32::text {

namespace {

constexpr int kHalfCellWidth = 8;
constexpr char32_t kReplacement = 0xFFFD;

// Rendered glyphs by code point, in pages of 256 made on first use.
class GlyphCache {
public:
    // The face is opened on the first glyph that the built strike lacks.
    const GlyphBits& get(std::unique_ptr<Face>& face, char32_t codePoint)
    {
        if (codePoint > 0x10FFFF)
            codePoint = kReplacement;
        if (const GlyphBits* built = StrikeGlyphOf(codePoint))
            return *built;
        std::unique_ptr<Page>& page = pages_[codePoint >> 8];
        if (!page)
            page = std::make_unique<Page>();
        Slot& slot = page->slots[codePoint & 0xFF];
        if (!slot.rendered) {
            if (!face)
                face = std::make_unique<Face>();
            slot.bits = face->render(codePoint);
            slot.rendered = true;
        }
        return slot.bits;
    }

private:
    struct Slot {
        GlyphBits bits;
        bool rendered = false;
    };
    struct Page {
        std::array<Slot, 256> slots;
    };
    std::array<std::unique_ptr<Page>, 0x1100> pages_;
};

// Everything the cells need, made on the first text drawn and freed at exit.
// One lock covers it: neither the decoder nor FreeType may be used by two
// threads at once.
struct Renderer {
    std::mutex mutex;
    Cp932Decoder decoder;
    std::unique_ptr<Face> face;
    GlyphCache glyphs;
};

Renderer& TheRenderer()
{
    static Renderer renderer;
    return renderer;
}

// The rows of the buffer that the cells cover. Positions are 64-bit from here
// on, so a cell near the ends of the int range cannot overflow.
struct Rows {
    std::int64_t cellTop;
    std::int64_t first;
    std::int64_t end;
};

// For each pattern of 8 pixels, a word per pixel: all ones where the glyph
// has ink. Selecting colours through it needs no branch and vectorizes.
struct InkMasks {
    std::array<std::array<std::uint32_t, 8>, 256> of;
    constexpr InkMasks() : of{}
    {
        for (unsigned pattern = 0; pattern < 256; ++pattern)
            for (unsigned column = 0; column < 8; ++column)
                of[pattern][column] = (pattern & (0x80u >> column)) ? 0xFFFFFFFFu : 0u;
    }
};
constexpr InkMasks kInkMasks;

void PaintEight(std::uint32_t* pixels, unsigned pattern, std::uint32_t backColor, std::uint32_t difference)
{
    // Built apart from the buffer, so the compiler need not fear aliasing.
    const std::array<std::uint32_t, 8>& masks = kInkMasks.of[pattern];
    std::array<std::uint32_t, 8> eight;
    for (std::size_t column = 0; column < 8; ++column)
        eight[column] = backColor ^ (difference & masks[column]);
    std::memcpy(pixels, eight.data(), sizeof eight);
}

// A cell wholly on the buffer, the common case, without per-pixel clipping.
void PaintWholeCell(PixelBuffer& target, std::int64_t top, std::int64_t left, int width, const GlyphBits& glyph,
                    std::uint32_t textColor, std::uint32_t backColor)
{
    std::uint32_t difference = textColor ^ backColor;
    std::uint32_t* line = target.pixels.data() + top * target.width + left;
    for (std::size_t row = 0; row < kCellHeight; ++row, line += target.width) {
        PaintEight(line, glyph.rows[row] >> 8, backColor, difference);
        if (width == kFullCellWidth)
            PaintEight(line + 8, glyph.rows[row] & 0xFF, backColor, difference);
    }
}

void PaintCell(PixelBuffer& target, const Rows& rows, std::int64_t left, int width, const GlyphBits& glyph,
               std::uint32_t textColor, std::uint32_t backColor)
{
    std::int64_t from = std::max<std::int64_t>(left, 0);
    std::int64_t to = std::min<std::int64_t>(left + width, target.width);
    if (from == left && to == left + width && rows.end - rows.first == kCellHeight) {
        PaintWholeCell(target, rows.first, left, width, glyph, textColor, backColor);
        return;
    }
    for (std::int64_t row = rows.first; row < rows.end; ++row) {
        unsigned bits = glyph.rows[static_cast<std::size_t>(row - rows.cellTop)];
        std::uint32_t* line = target.pixels.data() + row * target.width;
        for (std::int64_t column = from; column < to; ++column)
            line[column] = (bits & (0x8000u >> (column - left))) ? textColor : backColor;
    }
}

} // namespace

void DrawCells(PixelBuffer& target, int x, int y, std::span<const char> text, std::uint32_t textColor,
               std::uint32_t backColor)
{
    Rows rows{y, std::max<std::int64_t>(y, 0), std::min<std::int64_t>(std::int64_t(y) + kCellHeight, target.height)};
    if (text.empty() || rows.first >= rows.end || x >= target.width)
        return;

    Renderer& renderer = TheRenderer();
    std::lock_guard lock(renderer.mutex);
    std::int64_t left = x;
    for (std::size_t at = 0; at < text.size() && left < target.width;) {
        Cp932Char next = renderer.decoder.next(text, at);
        at += next.bytes;
        if (!next.valid) {
            // One half-width mark per byte that is not code page 932.
            for (std::size_t i = 0; i < next.bytes; ++i, left += kHalfCellWidth)
                if (left + kHalfCellWidth > 0)
                    PaintCell(target, rows, left, kHalfCellWidth, renderer.glyphs.get(renderer.face, kReplacement),
                              textColor, backColor);
            continue;
        }
        int width = next.bytes == 1 ? kHalfCellWidth : kFullCellWidth;
        if (left + width > 0)
            PaintCell(target, rows, left, width, renderer.glyphs.get(renderer.face, next.codePoint), textColor,
                      backColor);
        left += width;
    }
}

} // namespace gdi32::text
