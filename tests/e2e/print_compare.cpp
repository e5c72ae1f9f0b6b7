// Compares a printed page with a picture enlarged by pixel repetition.
// Usage: print_compare PRINTED.ppm PICTURE.ppm LEFT TOP FACTOR
// Prints the number of pixels outside the tolerance (see CountMismatches);
// exits 0 when there are none.
#include "platform/winspool/spooler.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: print_compare PRINTED.ppm PICTURE.ppm LEFT TOP FACTOR\n");
        return 2;
    }
    spoolertest::Raster printed = spoolertest::ReadPpm(argv[1]);
    spoolertest::Raster picture = spoolertest::ReadPpm(argv[2]);
    if (printed.width == 0 || picture.width == 0) {
        std::fprintf(stderr, "print_compare: cannot read the pictures\n");
        return 2;
    }
    int mismatches = spoolertest::CountMismatches(printed, std::atoi(argv[3]), std::atoi(argv[4]), picture,
                                                  std::atoi(argv[5]));
    // For the record: how far the round trip strays from an exact enlargement.
    int factor = std::atoi(argv[5]);
    int left = std::atoi(argv[3]);
    int top = std::atoi(argv[4]);
    long inexact = 0;
    int largest = 0;
    for (int y = 0; y < picture.height * factor && top + y < printed.height; ++y)
        for (int x = 0; x < picture.width * factor && left + x < printed.width; ++x) {
            std::uint32_t got = printed.at(left + x, top + y);
            std::uint32_t want = picture.at(x / factor, y / factor);
            int worst = 0;
            for (int shift = 0; shift <= 16; shift += 8)
                worst = std::max(worst, std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)));
            inexact += worst > 0;
            largest = std::max(largest, worst);
        }
    std::fprintf(stderr, "print_compare: %ld of %d pixels not exact, largest channel difference %d\n", inexact,
                 picture.width * factor * picture.height * factor, largest);
    std::printf("%d\n", mismatches);
    return mismatches == 0 ? 0 : 1;
}
