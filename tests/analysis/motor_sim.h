// A simulated motor under the controller's law, recorded as the controller
// records a run: the tests' known truth for the tuning suggestion. The
// motor is a first-order lag with dead time (or a second-order one),
// integrated in small steps; the drive may clip the law's output to
// [0, limit]; the recording may start some samples after the step; the
// speed the controller sees may carry noise.
#pragma once

#include "data/measdata.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace motorsim {

struct Motor {
    double gain, tau, theta; // 100 rpm per unit of the law's output, s, s
    double zeta = 0;         // > 0: tau^2 y'' + 2 zeta tau y' + y = K u instead
    double limit = 0;        // > 0: the drive gives the output clipped to [0, limit]
};

struct Settings {
    int target, kp, ti, td, samp;
};

struct Recording {
    int late = 0;        // samples the controller ran before the file's first
    int samples = 256;   // samples the file holds
    double noiseRpm = 0; // noise on the speed the controller sees, rpm (uniform, this RMS)
};

struct Loop {
    MEASRECORD rec{};
    std::vector<double> speed; // the exact speed of each recorded sample, 100 rpm
    double peakOutput = 0;     // the law's largest output, from the step on
};

inline Loop Simulate(const Motor& m, const Settings& s, const Recording& r = {})
{
    const int steps = 200, total = r.late + r.samples;
    const double period = s.samp / 100.0, h = period / steps;
    const int delaySteps = static_cast<int>(std::lround(m.theta / h));
    std::vector<double> held(static_cast<std::size_t>(total * steps + delaySteps + 1), 0.0);
    Loop loop;
    MEASRECORD& rec = loop.rec;
    rec.cPIDHeader[0] = PID_FORMAT_MARK;
    rec.iPramRotate = s.target, rec.iPramProp = s.kp, rec.iPramInt = s.ti, rec.iPramDiff = s.td;
    rec.iPramSamp = s.samp;
    std::memset(rec.cMeasData, PID_NO_SAMPLE, sizeof rec.cMeasData);
    double speed = 0, rate = 0, sum = 0, last = s.target, u = 0;
    unsigned noise = 12345;
    std::size_t at = 0;
    for (int k = 0; k < total; ++k) {
        noise = noise * 1103515245u + 12345u;
        const double seen = speed + r.noiseRpm / 100.0 * std::sqrt(12.0) * ((noise >> 8) / 16777216.0 - 0.5);
        if (k >= r.late) {
            const long stored = std::clamp(std::lround(seen), 0L, 255L);
            rec.cMeasData[k - r.late] = static_cast<BYTE>(stored == PID_NO_SAMPLE ? 2 : stored);
            loop.speed.push_back(speed);
        }
        const double e = s.target - seen;
        sum += e;
        u = s.kp / 100.0 * (e + (s.ti ? double(s.samp) / s.ti * sum : 0) + double(s.td) / s.samp * (e - last));
        last = e;
        loop.peakOutput = k == 0 ? u : std::max(loop.peakOutput, u);
        const double drive = m.limit > 0 ? std::clamp(u, 0.0, m.limit) : u;
        for (int i = 0; i < steps; ++i, ++at) {
            held[at + delaySteps] = drive;
            if (m.zeta > 0) {
                rate += h * (m.gain * held[at] - speed - 2 * m.zeta * m.tau * rate) / (m.tau * m.tau);
                speed += h * rate;
            } else {
                speed += h * (m.gain * held[at] - speed) / m.tau;
            }
        }
    }
    rec.iMeasTime = r.samples * s.samp;
    rec.iMeasRotate = static_cast<int>(std::clamp(std::lround(speed), 0L, 255L));
    rec.iOpeOut0 = static_cast<int>(std::lround(u));
    return loop;
}

} // namespace motorsim
