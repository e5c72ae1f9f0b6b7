// The tuning suggestion against a grid of simulated motors of known truth:
// each run is made by the tests' simulator, its suggestion is applied to the
// true motor (its true limit, from the step), and every setting given is
// judged as a bench engineer would trust it. Prints, per criterion, how many
// given settings break it and the worst of them, and why the others were
// withheld. Three kinds of break are counted apart, as no fit can avoid them:
// a setting that warned it asks for more output than the run did, where the
// true limit lies between (the run passed it twice at most); a run whose
// recording began before the speed left 0 (its file is that of a run from
// rest of a motor with less dead time, or with another gain, as the law's
// sum before the first sample is taken for the motor's); and a run that the
// true motor, replayed as the fit replays its model, explains no clearly
// better than the fitted model does (the run cannot tell them apart). A
// measuring tool, not a test: deterministic, some seconds.
//   tune_sweep [--worst N] [--list]
#include "analysis/motorfit.h"
#include "analysis/tuning.h"
#include "tests/analysis/motor_sim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace motorsim;

enum Criterion { kOvershoot, kSettles, kIae, kPredicted, kSettings, kPeak, kRunPeak, kUnexplained, kCriteria };
const char* const kCriterionName[kCriteria] = {
    "overshoot on the true motor <= max(25 %, SIMC's + 10 points)",
    "settles on the true motor",
    "IAE <= 1.25 x SIMC's",
    "predicted overshoot within max(5 points, 30 %) of the true one",
    "first order: Kp and Ti within 25 % of SIMC's (PI row)",
    "peak output within 25 % of the true loop's",
    "the run's peak output within 25 % of the true run's",
    "withheld without a reason",
};

const char* OutcomeName(int iOutcome)
{
    static const char* const names[] = {"settings (range, divergence, not settling)", "no period", "no target",
                                        "no Kp", "few samples", "no response", "not driven", "tau short", "tau long",
                                        "delay long", "poor fit", "late start", "replay diverged", "limit unclear"};
    return iOutcome >= 0 && iOutcome < int(sizeof names / sizeof names[0]) ? names[iOutcome] : "other";
}

struct Run {
    Motor motor;
    Settings run;
    Recording recording;
    double tauC;
};

std::string Describe(const Run& r, const MEASRECORD& rec)
{
    char sz[256];
    std::snprintf(sz, sizeof sz,
                  "T %d ms, K %.1f, tau %.3f s%s, theta %.3f s; run Kp %d Ti %d Td %d; late %d (first %d), limit %s%.1f, "
                  "noise %.0f rpm; tau_c %.0f theta_e",
                  r.run.samp * 10, r.motor.gain, r.motor.tau, r.motor.zeta > 0 ? " (2nd order)" : "", r.motor.theta,
                  r.run.kp, r.run.ti * 10, r.run.td * 10, r.recording.late, rec.cMeasData[0], r.motor.limit > 0 ? "" : "none ",
                  r.motor.limit, r.recording.noiseRpm, r.tauC);
    return sz;
}

std::string DescribeFit(const TUNING& t, const char* row, const TUNESETTING& s)
{
    char sz[256];
    const MOTORMODEL& m = t.model;
    std::snprintf(sz, sizeof sz, "%s Kp %d Ti %d Td %d from K %.3f tau %.4f tau2 %.4f theta %.4f%s%.1f start -%d",
                  row, s.iProp, s.iInt * 10, s.iDiff * 10, m.dGain, m.dTauS, m.dTau2S, m.dThetaS,
                  m.bLimit ? (m.bLimitFound ? " U found " : " U given ") : " no U ", m.dLimit, m.nHidden);
    return sz;
}

struct Worst {
    double excess;
    std::string text;
};

// Why a break could not be helped (kPlain: it could).
enum Excuse { kPlain, kWarned, kHidden, kUnseen, kExcuses };

struct Tally {
    int runs = 0, given = 0, pid = 0, withheld = 0;
    double slowestMs = 0;
    int settings = 0, settingsPlain = 0, settingsExcused = 0; // given settings, and those that break
    int plain = 0, excused = 0;                              // breaks
    int broken[kCriteria][kExcuses] = {};
    std::vector<Worst> worst[kCriteria];
    std::map<std::string, int> reasons;
    std::string list; // the criteria the run broke, for --list
};

void Break(Tally& tally, Criterion c, Excuse why, double excess, const std::string& text)
{
    tally.broken[c][why]++;
    (why == kPlain ? tally.plain : tally.excused)++;
    static const char* const tags[kExcuses] = {"p", "pw", "h", "u"};
    tally.list += " " + std::to_string(c) + tags[why];
    if (why == kPlain)
        tally.worst[c].push_back({excess, text});
}

// The grid: every period, dead time, lag, run mode, late start and limit;
// order, gain, run gain, noise and tau_c drawn from the index, so that each
// meets each of the others without a full product.
std::vector<Run> MakeGrid()
{
    static const int periods[] = {1, 2, 5, 10};
    static const double delays[] = {0, 0.5, 1, 1.5, 2};        // periods
    static const double lags[] = {4, 15, 50};                  // periods
    static const double gains[] = {0.5, 3.2};
    static const double runGains[] = {0.3, 0.8};               // of SIMC's at tau_c = theta_e
    static const double limitShares[] = {0.3, 0.6};            // of the run's first output
    std::vector<Run> runs;
    unsigned index = 0;
    for (int samp : periods)
        for (double delay : delays)
            for (double lag : lags)
                for (int mode = 0; mode < 3; ++mode)
                    for (int late = 0; late <= 3; ++late)
                        for (int limited = 0; limited < 2; ++limited) {
                            unsigned h = ++index * 2654435761u;
                            h ^= h >> 15;
                            Run r;
                            const double period = samp / 100.0;
                            const bool second = h % 2;
                            r.motor = {gains[h / 2 % 2], lag * period / (second ? 2.8 : 1.0), delay * period,
                                       second ? 1.5 : 0.0};
                            const Settings simc = TrueSimc(r.motor, 45, samp, 1);
                            const int kp = std::max(1, int(std::lround(runGains[h / 4 % 2] * simc.kp)));
                            const int ti = mode == 0 ? 0 : std::max(1, int(std::lround(1.5 * simc.ti)));
                            const int td = mode == 2 ? (samp + 1) / 2 : 0;
                            r.run = {45, kp, ti, td, samp};
                            r.recording = {late, 256, h / 8 % 2 ? 50.0 : 0.0, h};
                            r.tauC = 1 + h / 16 % 3;
                            if (limited) {
                                const double first = kp / 100.0 * 45 * (1 + (ti ? double(samp) / ti : 0));
                                r.motor.limit = std::max(limitShares[h / 48 % 2] * first, 1.3 * 45 / r.motor.gain);
                            }
                            runs.push_back(r);
                        }
    return runs;
}

// Whether the true motor, under the run's own settings from its true start,
// explains the samples clearly better than the fitted model does, each
// replayed as the fit replays its models and weighed as the fit weighs one
// number more: only then could a fit have found it.
bool TruthClearlyBetter(const Run& r, const MEASRECORD& rec, const MOTORMODEL& fitted)
{
    static FITDATA data;
    static PREDICTION pred;
    int outcome;
    if (!PrepareFit(&rec, &data, &outcome))
        return true;
    MOTORMODEL truth{};
    truth.bModel = TRUE;
    truth.dGain = r.motor.gain;
    truth.dThetaS = r.motor.theta;
    truth.dTauS = r.motor.tau;
    if (r.motor.zeta > 0) {
        const double d = std::sqrt(r.motor.zeta * r.motor.zeta - 1);
        truth.dTauS = r.motor.tau * (r.motor.zeta + d);
        truth.dTau2S = r.motor.tau * (r.motor.zeta - d);
    }
    truth.bLimit = r.motor.limit > 0;
    truth.dLimit = r.motor.limit;
    truth.nHidden = r.recording.late;
    const auto cost = [&](const MOTORMODEL& m) {
        return SimulateModel(&m, &rec, rec.iPramProp, rec.iPramInt, rec.iPramDiff, TRUE, &data, HUGE_VAL, &pred);
    };
    const double trueCost = cost(truth), fitCost = cost(fitted);
    return (fitCost - trueCost) / std::max(trueCost, RoundingCost(&data)) * (data.nValid - FIT_DIMS) > 20;
}

void Judge(const Run& r, Tally& tally, bool list)
{
    static TUNING t;
    TUNEOPTIONS opt;
    DefaultTuneOptions(&opt);
    opt.dTauC = r.tauC;
    const Loop measured = Simulate(r.motor, r.run, r.recording);
    const auto start = std::chrono::steady_clock::now();
    CalcTuning(&measured.rec, &opt, &t);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    tally.slowestMs = std::max(tally.slowestMs, ms);
    tally.runs++;
    const std::string what = Describe(r, measured.rec);
    if (!t.bSuggestion) {
        tally.withheld++;
        tally.reasons[OutcomeName(t.iFitOutcome)]++;
        if (t.szReason[0] == '\0')
            Break(tally, kUnexplained, kPlain, 1, what);
        if (list)
            std::printf("withheld (%s): %s\n", OutcomeName(t.iFitOutcome), what.c_str());
        return;
    }
    tally.given++;
    tally.pid += t.bPid ? 1 : 0;
    const bool hidden = r.recording.late > 0 && measured.rec.cMeasData[0] == 0;
    const Excuse runExcuse = hidden ? kHidden : TruthClearlyBetter(r, measured.rec, t.model) ? kPlain : kUnseen;
    const Settings simc = TrueSimc(r.motor, r.run.target, r.run.samp, r.tauC);
    const STEPFIGURES own = Figures(Simulate(r.motor, simc));
    for (const TUNESETTING* s : {&t.pi, &t.pid}) {
        if (s == &t.pid && !t.bPid)
            continue;
        tally.list.clear();
        const int plainBefore = tally.plain, excusedBefore = tally.excused;
        // The run's own numbers go with its PI row.
        const double runPeak = std::fabs(t.model.dRunPeakOut / measured.peakOutput - 1);
        if (s == &t.pi && runPeak > 0.25)
            Break(tally, kRunPeak, runExcuse, runPeak, what + "\n      " + DescribeFit(t, "run's peak", t.pi));
        if (s == &t.pi && r.motor.zeta == 0) {
            const double kp = std::fabs(double(t.pi.iProp) / simc.kp - 1);
            const double ti = std::fabs(double(t.pi.iInt) / simc.ti - 1);
            if (kp > 0.25 || ti > 0.25) {
                char sz[96];
                std::snprintf(sz, sizeof sz, " (SIMC Kp %d Ti %d)", simc.kp, simc.ti * 10);
                Break(tally, kSettings, runExcuse, std::max(kp, ti), what + "\n      " + DescribeFit(t, "PI", t.pi) + sz);
            }
        }
        const Loop real = Simulate(r.motor, {r.run.target, s->iProp, s->iInt, s->iDiff, r.run.samp});
        const STEPFIGURES fig = Figures(real);
        char sz[160];
        std::snprintf(sz, sizeof sz, ": overshoot %.1f %% (predicted %.1f, SIMC's %.1f), IAE %.1f (SIMC's %.1f)",
                      fig.dOvershootPct, s->fig.dOvershootPct, own.dOvershootPct, fig.dIaeRpmS, own.dIaeRpmS);
        const std::string text = what + "\n      " + DescribeFit(t, s == &t.pi ? "PI" : "PID", *s) + sz;
        // The setting passes a limit that the run did not show (it passed it
        // twice at most, too little to be found), and said so.
        const bool unseen = measured.clipped <= 2 && real.clipped > 0 && s->bWarning && !t.model.bLimit;
        const Excuse why = unseen ? kWarned : runExcuse;
        const double bound = std::max(25.0, own.dOvershootPct + 10);
        if (fig.dOvershootPct > bound)
            Break(tally, kOvershoot, why, fig.dOvershootPct - bound, text);
        if (!fig.bSettling)
            Break(tally, kSettles, why, 1, text);
        if (fig.dIaeRpmS > 1.25 * own.dIaeRpmS)
            Break(tally, kIae, why, fig.dIaeRpmS / own.dIaeRpmS, text);
        const double off = std::fabs(s->fig.dOvershootPct - fig.dOvershootPct);
        if (off > std::max(5.0, 0.3 * fig.dOvershootPct))
            Break(tally, kPredicted, why, off - std::max(5.0, 0.3 * fig.dOvershootPct), text);
        const double peak = std::fabs(s->dPeakOut / real.peakOutput - 1);
        if (peak > 0.25)
            Break(tally, kPeak, why, peak, text);
        tally.settings++;
        tally.settingsPlain += tally.plain > plainBefore ? 1 : 0;
        tally.settingsExcused += tally.plain == plainBefore && tally.excused > excusedBefore ? 1 : 0;
        if (list)
            std::printf("given [%s]: %s\n", tally.list.c_str(), text.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    int nWorst = 3;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--worst") == 0 && i + 1 < argc) {
            nWorst = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--list") == 0) {
            list = true;
        } else {
            std::fprintf(stderr, "usage: tune_sweep [--worst N] [--list]\n");
            return 2;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    Tally tally;
    for (const Run& r : MakeGrid())
        Judge(r, tally, list);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("Grid: periods 10, 20, 50, 100 ms x dead time 0-2 periods (by 0.5) x lag 4, 15, 50 periods\n"
                "  x P, PI, PID runs x late start 0-3 samples x no limit or one; drawn from the index: first or\n"
                "  second order (zeta 1.5), K 0.5 or 3.2, run Kp 0.3 or 0.8 of SIMC's, noise 0 or 50 rpm,\n"
                "  tau_c 1-3 theta_e, limit 0.3 or 0.6 of the run's first output (at least 1.3 x the steady one)\n");
    std::printf("%d runs in %.1f s (the slowest suggestion %.2f ms): %d suggestions given (%d with a PID row), "
                "%d withheld\n",
                tally.runs, seconds, tally.slowestMs, tally.given, tally.pid, tally.withheld);
    for (const auto& [name, n] : tally.reasons)
        std::printf("  withheld, %s: %d\n", name.c_str(), n);
    std::printf("\n%d settings given: %d break a criterion where a fit could help, %d only where none could\n",
                tally.settings, tally.settingsPlain, tally.settingsExcused);
    std::printf("\nSettings given that break (a: could be helped; w: warned, a limit the run did not show;\n"
                "h: recorded from after the step but before the speed left 0; u: the true motor explains the\n"
                "run no clearly better than the fitted model):\n    a    w    h    u\n");
    for (int c = 0; c < kCriteria; ++c)
        std::printf("%5d%5d%5d%5d  %s\n", tally.broken[c][kPlain], tally.broken[c][kWarned], tally.broken[c][kHidden],
                    tally.broken[c][kUnseen], kCriterionName[c]);
    for (int c = 0; c < kCriteria; ++c) {
        std::vector<Worst>& w = tally.worst[c];
        if (w.empty() || nWorst <= 0)
            continue;
        std::stable_sort(w.begin(), w.end(), [](const Worst& a, const Worst& b) { return a.excess > b.excess; });
        std::printf("\nWorst, %s:\n", kCriterionName[c]);
        for (int i = 0; i < nWorst && i < int(w.size()); ++i)
            std::printf("  %s\n", w[i].text.c_str());
    }
    return 0;
}
