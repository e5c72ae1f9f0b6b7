// Any bytes as a .PID file: loaded with LoadMeasData and drawn with Disp_Page
// on an 800 x 540 memory context, as the window does, then compared with
// Disp_Compare beside the start run under a name made of its first bytes (and
// again zoomed, with the cursor and the figures' marks). A
// file of at least 416 bytes starting with the mark is taken whole; any other
// is refused and leaves every field as it was. Loading leaves no descriptor
// open; drawing leaves no GDI object behind and the context as it found it;
// the figures of any record are finite, and its sample rows plain decimals.
#include "analysis/samples.h"
#include "analysis/stepfigures.h"
#include "data/measdata.h"
#include "picture/compare.h"
#include "picture/page.h"
#include "tests/pidfile.h"
#include "platform/gdi32/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_load_page: %s\n", what);
        std::abort();
    }
}

int FileInt(const std::uint8_t* p)
{
    return static_cast<int>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
                            | std::uint32_t(p[3]) << 24);
}

// The lowest free descriptor: it moves if a load leaves one open.
int LowestFreeDescriptor()
{
    int fd = dup(0);
    Check(fd >= 0, "dup failed");
    close(fd);
    return fd;
}

// The file the input is written to: a memory file, opened afresh by its
// /proc path on every load as any other file would be.
struct InputFile {
    int fd;
    std::string path;
    InputFile() : fd(memfd_create("fuzz.PID", MFD_CLOEXEC)), path("/proc/self/fd/" + std::to_string(fd))
    {
        Check(fd >= 0, "memfd_create failed");
    }
    void Write(const std::uint8_t* data, std::size_t size)
    {
        Check(ftruncate(fd, 0) == 0, "ftruncate failed");
        std::size_t done = 0;
        while (done < size) {
            ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
            Check(n > 0, "pwrite failed");
            done += static_cast<std::size_t>(n);
        }
    }
};

// A short run with a header and samples that no start value has.
std::vector<std::uint8_t> StartRun()
{
    std::vector<std::uint8_t> run(PID_FILE_SIZE, PID_NO_SAMPLE);
    for (std::size_t i = 0; i < PID_HEADER_SIZE; ++i)
        run[i] = static_cast<std::uint8_t>(i * 7 + 1);
    run[0] = PID_FORMAT_MARK;
    const std::uint8_t values[] = {45, 0, 0, 0, 80, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0};
    std::memcpy(&run[128], values, sizeof values);
    for (std::size_t i = 0; i < 40; ++i)
        run[148 + i] = static_cast<std::uint8_t>(i);
    const std::uint8_t finals[] = {200, 0, 0, 0, 44, 0, 0, 0, 0x10, 0x27, 0, 0};
    std::memcpy(&run[404], finals, sizeof finals);
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static InputFile file;
    // Each input starts from the same loaded run, so a finding replays alone.
    static const std::vector<std::uint8_t> start = StartRun();
    file.Write(start.data(), start.size());
    InitMeasData();
    Check(LoadMeasData(file.path.c_str()) == LOAD_ACCEPTED, "the start run was refused");
    static COMPARESET set;
    GetMeasRecord(&set.run[1].rec);

    const pidtest::RecordSnapshot before = pidtest::snapshotRecord();
    const int descriptors = LowestFreeDescriptor();
    file.Write(data, size);
    const int outcome = LoadMeasData(file.path.c_str());
    Check(LowestFreeDescriptor() == descriptors, "a descriptor was left open");

    const bool wellFormed = size >= PID_FILE_SIZE && data[0] == PID_FORMAT_MARK;
    if (!wellFormed) {
        Check(outcome == LOAD_BADFORMAT, "a malformed file was not refused as such");
        Check(pidtest::snapshotRecord() == before, "a refused file changed the record");
    } else {
        Check(outcome == LOAD_ACCEPTED, "a well-formed file was refused");
        Check(std::memcmp(cPIDHeader, data, PID_HEADER_SIZE) == 0, "header differs from the file");
        Check(iPramRotate == FileInt(data + 128) && iPramProp == FileInt(data + 132) && iPramInt == FileInt(data + 136)
                  && iPramDiff == FileInt(data + 140) && iPramSamp == FileInt(data + 144),
              "a parameter differs from the file");
        Check(std::memcmp(cMeasData, data + 148, PID_SAMPLE_COUNT) == 0, "a sample differs from the file");
        Check(iMeasTime == FileInt(data + 404) && iMeasRotate == FileInt(data + 408) && iOpeOut0 == FileInt(data + 412),
              "a final value differs from the file");
    }

    // Whatever the record holds, its figures are numbers or none.
    MEASRECORD rec;
    STEPFIGURES fig;
    GetMeasRecord(&rec);
    CalcStepFigures(&rec, &fig);
    for (double value : {fig.dRiseS, fig.dPeakS, fig.dOvershootPct, fig.dSettlingS, fig.dIaeRpmS})
        Check(std::isfinite(value) && value >= 0, "a figure is not a finite, non-negative number");
    for (int i = 0; i < PID_SAMPLE_COUNT; ++i) {
        SAMPLEROW row;
        MakeSampleRow(&rec, i, &row);
        for (const CHAR* text : {row.szTime, row.szSpeed, row.szTarget}) {
            std::size_t length = strnlen(text, DECIMAL_TEXT_SIZE);
            Check(length < DECIMAL_TEXT_SIZE && std::strspn(text, "-.0123456789") == length,
                  "a sample row's text is not a plain decimal");
        }
    }

    // One memory context for all inputs, as the window keeps one: making an
    // 800 x 540 bitmap costs more than drawing the page.
    static HDC hdcMem = CreateCompatibleDC(NULL);
    static HBITMAP hBitmap = CreateCompatibleBitmap(hdcMem, 800, 540);
    static HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    Check(hdcMem != NULL && hBitmap != NULL && hOld != NULL, "no memory context");
    const gdi32::LiveObjects objectsBefore = gdi32::LiveObjectCounts();
    Disp_Page(hdcMem);
    Check(gdi32::LiveObjectCounts() == objectsBefore, "the page left a GDI object behind");
    Check(SelectObject(hdcMem, GetStockObject(BLACK_PEN)) == GetStockObject(BLACK_PEN),
          "the page left its own pen selected");
    Check(SelectObject(hdcMem, hBitmap) == hBitmap, "the page selected another bitmap");

    set.nRuns = 2;
    GetMeasRecord(&set.run[0].rec);
    const std::size_t nameLength = std::min<std::size_t>(size, COMPARE_NAME_SIZE - 1);
    std::memcpy(set.run[0].szName, data, nameLength);
    set.run[0].szName[nameLength] = '\0';
    Disp_Compare(hdcMem, &set);
    Check(gdi32::LiveObjectCounts() == objectsBefore, "the comparison left a GDI object behind");
    Check(SelectObject(hdcMem, GetStockObject(BLACK_PEN)) == GetStockObject(BLACK_PEN),
          "the comparison left its own pen selected");

    // Again zoomed in (or out) by the file's third byte around the cursor at
    // a column of its fourth, its response for the default range, its figures
    // marked: the cursor stays within the range and on the plot.
    static CHARTVIEW view;
    set.bResponseRange = size > 4 && (data[4] & 1) != 0;
    view.bMarks = TRUE;
    ResetChartView(&view, &set);
    view.llCursorMs = CursorAtX(&view.axes, CMP_LEFT + (size > 3 ? data[3] : 0) * (CMP_RIGHT - CMP_LEFT) / 255);
    view.bCursor = TRUE;
    ZoomTime(&view.axes, view.llCursorMs, size > 2 ? static_cast<signed char>(data[2]) % 16 : 1);
    view.llCursorMs = CursorAtX(&view.axes, TimeToX(&view.axes, view.llCursorMs));
    Check(view.axes.llStartMs >= 0 && view.axes.llEndMs > view.axes.llStartMs
              && view.axes.llEndMs <= view.axes.llWholeEndMs && IsOnPlot(&view.axes, TimeToX(&view.axes, view.llCursorMs), CMP_TOP),
          "zoom left the runs, or the cursor the plot");
    Disp_CompareView(hdcMem, &set, &view);
    Check(gdi32::LiveObjectCounts() == objectsBefore, "the zoomed comparison left a GDI object behind");
    Check(SelectObject(hdcMem, GetStockObject(BLACK_PEN)) == GetStockObject(BLACK_PEN),
          "the zoomed comparison left its own pen selected");
    return 0;
}
