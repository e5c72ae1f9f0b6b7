// gdicompare [-c CELLS.txt] OUT.bmp FILE.PID...: draws the comparison chart of
// one to eight runs with the real GDI and writes it as a BMP, with the cells
// of its texts when asked (see gdi_picture.h): pidpage --compare's
// counterpart, for holding our drawing layer against the real GDI.
#include "gdi_picture.h"

#include "picture/compare.h"

#include <cstdio>
#include <cstring>

static void DrawCompare(HDC hdc, const void* data)
{
    Disp_Compare(hdc, static_cast<const COMPARESET*>(data));
}

int main(int argc, char** argv)
{
    static COMPARESET set;
    const char* cells = nullptr;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-c") == 0) {
        cells = argv[2];
        first = 3;
    }
    if (argc - first < 2 || argc - first - 1 > COMPARE_MAX_RUNS) {
        std::fprintf(stderr, "usage: gdicompare [-c CELLS.txt] OUT.bmp FILE.PID... (one to eight)\n");
        return 2;
    }
    for (int i = first + 1; i < argc; ++i) {
        COMPARERUN& run = set.run[set.nRuns++];
        if (ReadMeasFile(argv[i], &run.rec) != LOAD_ACCEPTED) {
            std::fprintf(stderr, "gdicompare: %s: cannot be read as a run\n", argv[i]);
            return 1;
        }
        // The name as pidpage gives it: the part after the last slash.
        const char* name = std::strrchr(argv[i], '/') ? std::strrchr(argv[i], '/') + 1 : argv[i];
        std::strncpy(run.szName, name, COMPARE_NAME_SIZE - 1);
    }
    return WriteGdiPicture("gdicompare", DrawCompare, &set, argv[first], cells);
}
