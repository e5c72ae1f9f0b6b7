// Renders the built strike: make_strike OUT.cpp SOURCE... writes, as C++, the
// glyphs of ASCII, half-width katakana, the replacement mark and every other
// character of the UTF-8 sources given (the pictures' texts), from the face
// at its packaged place; without that face, an empty strike.
#include "face.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>

namespace {

// The characters of a UTF-8 text beyond ASCII (a malformed sequence is skipped).
void AddCharacters(const std::string& text, std::set<char32_t>& points)
{
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length > 1 && at + static_cast<std::size_t>(length) <= text.size()) {
            char32_t point = lead & (0x7F >> length);
            for (int i = 1; i < length; ++i)
                point = point << 6 | (static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]) & 0x3F);
            points.insert(point);
        }
        at += static_cast<std::size_t>(length);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_strike OUT.cpp SOURCE...\n");
        return 2;
    }
    std::set<char32_t> points{0xFFFD};
    for (char32_t point = 0x20; point < 0x7F; ++point)
        points.insert(point);
    for (char32_t point = 0xFF61; point <= 0xFF9F; ++point)
        points.insert(point);
    for (int i = 2; i < argc; ++i) {
        std::ifstream source(argv[i], std::ios::binary);
        AddCharacters(std::string(std::istreambuf_iterator<char>(source), {}), points);
    }

    gdi32::text::Face face;
    struct stat info {};
    const bool packaged = face.packaged() && ::stat(PIDVIEW_FONT_FILE, &info) == 0;
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "// Made by make_strike from %s: do not edit.\n#include \"platform/gdi32/text/strike.h\"\n\n"
                      "namespace gdi32::text {\n\nnamespace {\n\nconst StrikeGlyph kGlyphs[] = {\n",
                 PIDVIEW_FONT_FILE);
    int count = 0;
    for (char32_t point : packaged ? points : std::set<char32_t>{}) {
        gdi32::text::GlyphBits bits = face.render(point);
        std::fprintf(out, "    {0x%X, {{", static_cast<unsigned>(point));
        for (std::size_t row = 0; row < bits.rows.size(); ++row)
            std::fprintf(out, "%s0x%X", row == 0 ? "" : ", ", bits.rows[row]);
        std::fprintf(out, "}}},\n");
        ++count;
    }
    if (count == 0)
        std::fprintf(out, "    {0, {}},\n");
    std::fprintf(out, "};\n\n} // namespace\n\nconst Strike& BuiltStrike()\n{\n"
                      "    static const Strike strike{%lld, %lld, std::span<const StrikeGlyph>(kGlyphs, %d)};\n"
                      "    return strike;\n}\n\n} // namespace gdi32::text\n",
                 packaged ? static_cast<long long>(info.st_size) : 0LL,
                 packaged ? static_cast<long long>(info.st_mtime) : 0LL, count);
    return std::fclose(out) == 0 ? 0 : 1;
}
