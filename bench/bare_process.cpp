// The floor for pidpage's whole process: a program that links the same
// shared libraries (the loader maps and relocates them all) and does nothing.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>
#include <zlib.h>

#include <stdexcept>

int main(int argc, char**)
{
    // Referenced, never run: each library stays a needed one.
    if (argc < 0) {
        FcInit();
        FT_Init_FreeType(nullptr);
        png_access_version_number();
        zlibVersion();
        throw std::runtime_error("never");
    }
    return 0;
}
