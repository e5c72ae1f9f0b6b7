// gdipage [-c CELLS.txt] [FILE.PID] OUT.bmp: draws the measurement page of a run
// (or of the start values) with the real GDI and writes it as a BMP, with the
// cells of its texts when asked (see gdi_picture.h).
#include "gdi_picture.h"

#include "data/measdata.h"
#include "picture/page.h"

#include <cstdio>
#include <cstring>

static void DrawPage(HDC hdc, const void*)
{
    Disp_Page(hdc);
}

int main(int argc, char** argv)
{
    // -c CELLS.txt in front asks for the text cells too.
    const char* cells = nullptr;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-c") == 0) {
        cells = argv[2];
        first = 3;
    }
    if (argc - first < 1 || argc - first > 2) {
        std::fprintf(stderr, "usage: gdipage [-c CELLS.txt] [FILE.PID] OUT.bmp\n");
        return 2;
    }
    const char* input = argc - first == 2 ? argv[first] : nullptr;

    InitMeasData();
    if (input != nullptr) {
        switch (LoadMeasData(input)) {
        case LOAD_ACCEPTED: break;
        case LOAD_BADFORMAT:
            std::fprintf(stderr, "gdipage: %s: not a measurement file (wrong format or too short)\n", input);
            return 1;
        default:
            std::fprintf(stderr, "gdipage: %s: cannot open\n", input);
            return 1;
        }
    }
    return WriteGdiPicture("gdipage", DrawPage, nullptr, argv[argc - 1], cells);
}
