// The page against its floor: drawing the whole page on an 800 x 540 memory
// context, loading a run, one plain fill of the same bitmap, the
// step-response figures of a run (which the figures dialog and pidpage
// --figures compute on every call), the comparison chart of eight runs
// on the same context (and redrawn at a zoomed range with the cursor and the
// marks), and the tuning suggestion for one run (the model with its limit
// searched, both settings and their predicted runs with their figures; goal:
// under 2 ms).
#include "analysis/stepfigures.h"
#include "analysis/tuning.h"
#include "data/measdata.h"
#include "picture/compare.h"
#include "picture/page.h"
#include "platform/gdi32/surface.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const examplePath = PIDVIEW_EXAMPLES "/PI_STEP.PID";

void BM_DispPage(benchmark::State& state)
{
    InitMeasData();
    LoadMeasData(examplePath);
    HDC hdcMem = CreateCompatibleDC(NULL);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcMem, 800, 540);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    for (auto _ : state) {
        Disp_Page(hdcMem);
        benchmark::ClobberMemory();
    }
    SelectObject(hdcMem, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hdcMem);
}
BENCHMARK(BM_DispPage);

// The eight example runs of the comparison benchmarks.
const COMPARESET& EightRuns(benchmark::State& state)
{
    static const char* const names[COMPARE_MAX_RUNS] = {"P_ONLY", "PI_STEP", "PID_FAST", "PID_SLOW",
                                                         "STOPPED", "PI_STEP", "PID_FAST", "P_ONLY"};
    static COMPARESET set;
    set.nRuns = COMPARE_MAX_RUNS;
    for (int r = 0; r < COMPARE_MAX_RUNS; ++r) {
        const std::string path = std::string(PIDVIEW_EXAMPLES "/") + names[r] + ".PID";
        if (ReadMeasFile(path.c_str(), &set.run[r].rec) != LOAD_ACCEPTED)
            state.SkipWithError("cannot read the examples");
        std::snprintf(set.run[r].szName, COMPARE_NAME_SIZE, "%s.PID", names[r]);
    }
    return set;
}

void BM_DispCompare(benchmark::State& state)
{
    const COMPARESET& set = EightRuns(state);
    HDC hdcMem = CreateCompatibleDC(NULL);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcMem, 800, 540);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    for (auto _ : state) {
        Disp_Compare(hdcMem, &set);
        benchmark::ClobberMemory();
    }
    SelectObject(hdcMem, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hdcMem);
}
BENCHMARK(BM_DispCompare);

// The same runs redrawn at a range zoomed in by the argument's steps (0: the
// whole run), around 2 s, with the cursor and every mark shown: the window's
// worst redraw, against BM_DispCompare's (goal: at most twice as long).
void BM_DispCompareRange(benchmark::State& state)
{
    const COMPARESET& set = EightRuns(state);
    static CHARTVIEW view;
    ResetChartView(&view, &set);
    view.bMarks = TRUE;
    view.bCursor = TRUE;
    view.llCursorMs = 2000;
    ZoomTime(&view.axes, view.llCursorMs, static_cast<int>(state.range(0)));
    HDC hdcMem = CreateCompatibleDC(NULL);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcMem, 800, 540);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    for (auto _ : state) {
        Disp_CompareView(hdcMem, &set, &view);
        benchmark::ClobberMemory();
    }
    SelectObject(hdcMem, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hdcMem);
}
BENCHMARK(BM_DispCompareRange)->Arg(0)->Arg(2)->Arg(5)->Arg(10);

void BM_LoadMeasData(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadMeasData(examplePath));
}
BENCHMARK(BM_LoadMeasData);

void BM_CalcStepFigures(benchmark::State& state)
{
    MEASRECORD rec{};
    ReadMeasFile(examplePath, &rec);
    STEPFIGURES fig;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&rec);
        CalcStepFigures(&rec, &fig);
        benchmark::DoNotOptimize(fig);
    }
}
BENCHMARK(BM_CalcStepFigures);

// The whole suggestion, the limit searched: for a run within the drive's
// range, and for one held at its limit (both fits refined).
void BM_CalcTuning(benchmark::State& state, const char* path)
{
    MEASRECORD rec{};
    ReadMeasFile(path, &rec);
    static TUNING tune;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&rec);
        CalcTuning(&rec, NULL, &tune);
        benchmark::DoNotOptimize(tune);
    }
    // Every fit is made in full; a suggestion withheld after it (STOPPED:
    // its run cannot tell whether the drive saturated) costs the same.
    if (!tune.model.bModel)
        state.SkipWithError("no model for the example");
}
BENCHMARK_CAPTURE(BM_CalcTuning, PI_STEP, examplePath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CalcTuning, PID_FAST, PIDVIEW_EXAMPLES "/PID_FAST.PID")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CalcTuning, PID_SLOW, PIDVIEW_EXAMPLES "/PID_SLOW.PID")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CalcTuning, P_ONLY, PIDVIEW_EXAMPLES "/P_ONLY.PID")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CalcTuning, STOPPED, PIDVIEW_EXAMPLES "/STOPPED.PID")->Unit(benchmark::kMillisecond);

// A run recorded from a few samples after the step: every start before its
// first sample is fitted, with and without a limit, where the free fit
// cannot tell its start at once (PI_STEP's is withheld, PID_FAST's given).
void BM_CalcTuningLate(benchmark::State& state, const char* path, int nLate)
{
    MEASRECORD rec{};
    ReadMeasFile(path, &rec);
    std::memmove(rec.cMeasData, rec.cMeasData + nLate, PID_SAMPLE_COUNT - nLate);
    std::memset(rec.cMeasData + PID_SAMPLE_COUNT - nLate, PID_NO_SAMPLE, nLate);
    static TUNING tune;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&rec);
        CalcTuning(&rec, NULL, &tune);
        benchmark::DoNotOptimize(tune);
    }
}
BENCHMARK_CAPTURE(BM_CalcTuningLate, PI_STEP_from_2, examplePath, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CalcTuningLate, PID_FAST_from_2, PIDVIEW_EXAMPLES "/PID_FAST.PID", 2)
    ->Unit(benchmark::kMillisecond);

void BM_FillPageBitmap(benchmark::State& state)
{
    gdi32::PixelBuffer page(800, 540);
    std::uint32_t colour = 0xFFFFFF;
    for (auto _ : state) {
        std::fill(page.pixels.begin(), page.pixels.end(), colour);
        benchmark::DoNotOptimize(page.pixels.data());
        benchmark::ClobberMemory();
        colour ^= 1; // a different fill each time, so none is skipped
    }
}
BENCHMARK(BM_FillPageBitmap);

} // namespace
