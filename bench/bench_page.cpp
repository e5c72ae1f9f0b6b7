// The page against its floor: drawing the whole page on an 800 x 540 memory
// context, loading a run, one plain fill of the same bitmap, and the
// step-response figures of a run (which the figures dialog and pidpage
// --figures compute on every call).
#include "analysis/stepfigures.h"
#include "data/measdata.h"
#include "picture/page.h"
#include "platform/gdi32/surface.h"

#include <algorithm>
#include <benchmark/benchmark.h>

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
