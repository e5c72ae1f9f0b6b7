// Writes the example .PID runs: a simulated speed controller driving a DC
// motor, sampled the way the controller records a run.
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
// at steady state, 0.4 s time constant. Controller: positional PID on the
// speed error in 100 rpm, output clamped to the drive's range.
Result simulate(const Run& run)
{
    Result result;
    const double gainRpmPerUnit = 40.0;
    const double tau = 0.4;
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

bool writeRun(const std::string& dir, const Run& run)
{
    Result result = simulate(run);
    std::vector<std::uint8_t> image(416, 0);
    std::string header = std::string("M") + "PID speed control run " + run.name;
    for (std::size_t i = 0; i < header.size() && i < 128; ++i)
        image[i] = static_cast<std::uint8_t>(header[i]);
    putInt(image, 128, run.target);
    putInt(image, 132, run.kp);
    putInt(image, 136, run.ti);
    putInt(image, 140, run.td);
    putInt(image, 144, run.samp);
    for (int i = 0; i < 256; ++i)
        image[148 + i] = result.samples[i];
    putInt(image, 404, result.measTime);
    putInt(image, 408, result.measRotate);
    putInt(image, 412, result.opeOut);

    std::string path = dir + "/" + run.name + ".PID";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "pidgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pidgen OUTDIR\n");
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
