// A long session in one process: ten thousand rounds of loading a file,
// drawing the window's page and printing it to a device that keeps nothing.
// Whatever the process holds must be back where it was.
#include "app/print.h"
#include "main_window_fixture.h"
#include "pidfile.h"
#include "picture/page.h"
#include "platform/gdi32/surface.h"
#include "platform/user32/resource_report.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A printer that takes every page and keeps none of it.
class NowhereDevice : public gdi32::Device {
public:
    bool stretchFrom(const gdi32::PixelBuffer&, int, int, int, int, int, int, int, int) override { return true; }
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryIsMeaningful = false; // the sanitizer holds freed memory back
#else
constexpr bool kResidentMemoryIsMeaningful = true;
#endif
// Room for the allocator's own bookkeeping to settle.
constexpr long kResidentMarginKiB = 1024;

using LongRun = MainWindowRunning;

TEST_F(LongRun, TenThousandLoadDrawPrintRoundsHoldNothingMore)
{
    pidtest::ScratchDir dir;
    std::vector<std::string> files;
    for (const char* name : {"P_ONLY.PID", "PI_STEP.PID", "PID_FAST.PID", "PID_SLOW.PID", "STOPPED.PID"})
        files.push_back(std::string(PIDVIEW_EXAMPLES) + "/" + name);
    // Refusals must give back what they took as well.
    files.push_back(dir.write("short.PID", std::vector<std::uint8_t>(100, 'M')));
    files.push_back(dir.path("missing.PID"));

    auto round = [&](int i) {
        LoadMeasData(files[static_cast<std::size_t>(i) % files.size()].c_str());
        hDC = GetDC(hWnd);
        Disp_Page(hDC);
        ReleaseDC(hWnd, hDC);
        hDCLPT = gdi32::CreateDeviceDC(std::make_unique<NowhereDevice>());
        PrintPage(hWnd);
        DeleteDC(hDCLPT);
    };

    // The first rounds load the font and fill the allocator's pools.
    for (int i = 0; i < 50; ++i)
        round(i);
    const user32::ProcessResources before = user32::ReadProcessResources();
    for (int i = 0; i < 10000; ++i)
        round(i);
    const user32::ProcessResources after = user32::ReadProcessResources();

    std::printf("objects %d/%d/%d/%d -> %d/%d/%d/%d (pens/brushes/bitmaps/contexts), fds %d -> %d, rss %ld -> %ld KiB\n",
                before.objects.pens, before.objects.brushes, before.objects.bitmaps, before.objects.contexts,
                after.objects.pens, after.objects.brushes, after.objects.bitmaps, after.objects.contexts,
                before.fileDescriptors, after.fileDescriptors, before.residentKiB, after.residentKiB);
    EXPECT_EQ(after.objects, before.objects);
    EXPECT_EQ(after.fileDescriptors, before.fileDescriptors);
    if (kResidentMemoryIsMeaningful) {
        EXPECT_LE(after.residentKiB - before.residentKiB, kResidentMarginKiB);
    }
}

} // namespace
