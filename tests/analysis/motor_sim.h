// A simulated motor under the controller's law, recorded as the controller
// records a run: the tests' known truth for the tuning suggestion. The
// motor is a first-order lag with dead time (or a second-order one),
// integrated in small steps; the drive may clip the law's output to
// [0, limit]; the recording may start some samples after the step; the
// speed the controller sees may carry noise. Also SIMC applied to the true
// motor and the figures of a simulated run, which the suggestion is judged by.
#pragma once

#include "analysis/stepfigures.h"
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
    unsigned seed = 12345; // ... drawn from this seed
};

struct Loop {
    MEASRECORD rec{};
    std::vector<double> speed; // the exact speed of each recorded sample, 100 rpm
    double peakOutput = 0;     // the law's largest output, from the step on
    int clipped = 0;           // samples whose output the drive's limit cut
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
    unsigned noise = r.seed;
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
        loop.clipped += drive < u ? 1 : 0;
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

// SIMC on the true motor at tau_c = F theta_e, as the controller is set (a
// second-order motor halved into a first-order one).
inline Settings TrueSimc(const Motor& m, int target, int samp, double f)
{
    double tau = m.tau, theta = m.theta;
    if (m.zeta > 0) {
        const double d = std::sqrt(std::max(0.0, m.zeta * m.zeta - 1));
        tau = m.tau * (m.zeta + d) + m.tau * (m.zeta - d) / 2;
        theta += m.tau * (m.zeta - d) / 2;
    }
    const double sum = (f + 1) * (theta + samp / 200.0);
    return {target, int(std::lround(100 * tau / (m.gain * sum))), int(std::lround(100 * std::min(tau, 4 * sum))), 0,
            samp};
}

inline STEPFIGURES Figures(const Loop& loop)
{
    STEPFIGURES fig;
    CalcSpeedFigures(&loop.rec, loop.speed.data(), &fig);
    return fig;
}

} // namespace motorsim
