// Writes the example .PID runs: a simulated speed controller driving a DC
// motor, sampled the way the controller records a run. With --edge, writes
// instead the odd files the tests draw: gaps in the curve and extreme values;
// with --tuning, three runs of one motor being tuned, for comparing.
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Run {
    const char* name;
    int target;     // 100 rpm
    int kp;         // percent
    int ti;         // 10 ms, 0 = no integral action
    int td;         // 10 ms
    int samp;       // 10 ms
    int stopAfter;  // samples recorded before the run was stopped
};

struct Result {
    std::vector<std::uint8_t> samples = std::vector<std::uint8_t>(256, 1);
    int measTime = 0;
    int measRotate = 0;
    int opeOut = 0;
};

// Motor: first-order lag from drive output (0..255) to speed, 40 rpm per unit
// at steady state, 1.2 s time constant. Controller: positional PID on the
// speed error in 100 rpm, output clamped to the drive's range.
Result simulate(const Run& run)
{
    Result result;
    const double gainRpmPerUnit = 40.0;
    const double tau = 1.2;
    const double dt = run.samp * 0.01;
    double speed = 0.0; // rpm
    double integral = 0.0;
    double lastError = run.target;
    int output = 0;
    for (int k = 0; k < run.stopAfter; ++k) {
        int sample = static_cast<int>(std::lround(speed / 100.0));
        if (sample > 255)
            sample = 255;
        // The controller keeps 1 for an empty slot, so a reading of exactly
        // 100 rpm is stored as 200 rpm.
        result.samples[k] = static_cast<std::uint8_t>(sample == 1 ? 2 : sample);
        double error = run.target - speed / 100.0;
        if (run.ti > 0)
            integral += error * run.samp / run.ti;
        double derivative = run.td * (error - lastError) / run.samp;
        lastError = error;
        double u = run.kp / 100.0 * (error + integral + derivative) * 8.0;
        output = static_cast<int>(std::lround(std::fmin(255.0, std::fmax(0.0, u))));
        // Integrate the motor over one sampling period in small steps.
        for (int step = 0; step < 10; ++step)
            speed += (gainRpmPerUnit * output - speed) * (dt / 10) / tau;
    }
    result.measTime = run.stopAfter * run.samp;
    result.measRotate = static_cast<int>(std::lround(speed / 100.0));
    result.opeOut = output;
    return result;
}

void putInt(std::vector<std::uint8_t>& image, std::size_t offset, int value)
{
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        image[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

bool writeImage(const std::string& dir, const char* name, const std::vector<std::uint8_t>& image)
{
    std::string path = dir + "/" + name + ".PID";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "pidgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

std::vector<std::uint8_t> makeImage(const char* name, const int params[5], const std::vector<std::uint8_t>& samples,
                                    int measTime, int measRotate, int opeOut)
{
    std::vector<std::uint8_t> image(416, 0);
    std::string header = std::string("M") + "PID speed control run " + name;
    for (std::size_t i = 0; i < header.size() && i < 128; ++i)
        image[i] = static_cast<std::uint8_t>(header[i]);
    for (int i = 0; i < 5; ++i)
        putInt(image, 128 + 4 * static_cast<std::size_t>(i), params[i]);
    for (int i = 0; i < 256; ++i)
        image[148 + i] = samples[i];
    putInt(image, 404, measTime);
    putInt(image, 408, measRotate);
    putInt(image, 412, opeOut);
    return image;
}

bool writeRun(const std::string& dir, const Run& run)
{
    Result result = simulate(run);
    const int params[5] = {run.target, run.kp, run.ti, run.td, run.samp};
    return writeImage(dir, run.name,
                      makeImage(run.name, params, result.samples, result.measTime, result.measRotate, result.opeOut));
}

// Runs no controller writes, but a file may hold: empty slots inside the
// curve and at sample 0, and every value at its limits.
bool writeEdgeFiles(const std::string& dir)
{
    std::vector<std::uint8_t> gaps(256);
    for (int i = 0; i < 256; ++i)
        gaps[i] = static_cast<std::uint8_t>(20 + (i * 7) % 40);
    gaps[0] = 1; // the first segment then starts at y = 317
    for (int i = 60; i < 80; ++i)
        gaps[i] = 1; // a bridged run
    gaps[120] = 1;   // a single empty slot
    for (int i = 200; i < 256; ++i)
        gaps[i] = 1; // the run ends early
    const int gapParams[5] = {40, 100, 20, 5, 10};
    bool ok = writeImage(dir, "GAPS", makeImage("GAPS", gapParams, gaps, 2000, 35, 90));

    std::vector<std::uint8_t> extremes(256);
    for (int i = 0; i < 256; ++i)
        extremes[i] = static_cast<std::uint8_t>(i % 2 ? 255 : 0);
    const int extremeParams[5] = {2000000000, INT32_MIN, INT32_MAX, -214748365, -2};
    ok = writeImage(dir, "EXTREMES", makeImage("EXTREMES", extremeParams, extremes, -1, INT32_MIN, INT32_MAX)) && ok;

    std::vector<std::uint8_t> high(256);
    for (int i = 0; i < 256; ++i)
        high[i] = static_cast<std::uint8_t>(90 + i % 30); // above the grid and the frame
    const int highParams[5] = {-20, 999, 99999, 0, 0};
    ok = writeImage(dir, "HIGH", makeImage("HIGH", highParams, high, 25500, -5, -123)) && ok;
    return ok;
}

} // namespace

// Tuning one motor: Kp 80, then 120 with another sampling period, then PID
// with a higher target, sampled at a third period and stopped early.
bool writeTuningRuns(const std::string& dir)
{
    const Run runs[] = {
        {"KP80", 45, 80, 0, 0, 2, 256},
        {"KP120", 45, 120, 0, 0, 5, 256},
        {"PID_Kp120_Ti600ms_Td50ms_sampled_every_30ms", 50, 120, 60, 5, 3, 200},
    };
    bool ok = true;
    for (const Run& run : runs)
        ok = writeRun(dir, run) && ok;
    return ok;
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--edge")
        return writeEdgeFiles(argv[2]) ? 0 : 1;
    if (argc == 3 && std::string(argv[1]) == "--tuning")
        return writeTuningRuns(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: pidgen [--edge | --tuning] OUTDIR\n");
        return 2;
    }
    const Run runs[] = {
        {"P_ONLY", 45, 80, 0, 0, 5, 256},
        {"PI_STEP", 45, 60, 40, 0, 5, 256},
        {"PID_FAST", 60, 150, 30, 4, 2, 256},
        {"PID_SLOW", 30, 30, 150, 10, 10, 256},
        {"STOPPED", 50, 70, 60, 2, 5, 128},
    };
    bool ok = true;
    for (const Run& run : runs)
        ok = writeRun(argv[1], run) && ok;
    return ok ? 0 : 1;
}
