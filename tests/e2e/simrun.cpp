// Writes the run of a simulated motor under the controller's law as a .PID
// file, for the desktop tests: the tests' own known truth (motor_sim.h).
// Usage: simrun OUT.PID GAIN TAU THETA TARGET KP TI TD SAMP [LIMIT [LATE]]
#include "analysis/motor_sim.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

void Put(unsigned char* image, int offset, int value)
{
    for (int i = 0; i < 4; ++i)
        image[offset + i] = static_cast<unsigned char>(static_cast<unsigned>(value) >> (8 * i));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 10 || argc > 12) {
        std::fprintf(stderr, "usage: simrun OUT.PID GAIN TAU THETA TARGET KP TI TD SAMP [LIMIT [LATE]]\n");
        return 2;
    }
    const motorsim::Motor motor{std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4]), 0,
                                argc > 10 ? std::atof(argv[10]) : 0};
    const motorsim::Settings settings{std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8]),
                                      std::atoi(argv[9])};
    const MEASRECORD rec = motorsim::Simulate(motor, settings, {argc > 11 ? std::atoi(argv[11]) : 0}).rec;
    unsigned char image[PID_FILE_SIZE] = {PID_FORMAT_MARK};
    const int fields[] = {rec.iPramRotate, rec.iPramProp, rec.iPramInt, rec.iPramDiff, rec.iPramSamp};
    for (int i = 0; i < 5; ++i)
        Put(image, 128 + 4 * i, fields[i]);
    for (int k = 0; k < PID_SAMPLE_COUNT; ++k)
        image[148 + k] = rec.cMeasData[k];
    Put(image, 404, rec.iMeasTime);
    Put(image, 408, rec.iMeasRotate);
    Put(image, 412, rec.iOpeOut0);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(image), sizeof image);
    return out ? 0 : 1;
}
