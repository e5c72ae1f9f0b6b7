// Any bytes as a run (in the file's layout, zeros past the end) given to the
// tuning suggestion: it makes a suggestion or gives a reason, never both;
// every number is finite; the settings are ones the controller takes; the
// predicted runs are whole runs with no empty slot; and its chart draws with
// no GDI object left behind. fuzz.sh bounds the time of each input.
#include "analysis/tuning.h"
#include "picture/tune_chart.h"
#include "platform/gdi32/surface.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_tuning: %s\n", what);
        std::abort();
    }
}

int FileInt(const std::uint8_t* p)
{
    return static_cast<int>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
                            | std::uint32_t(p[3]) << 24);
}

bool Terminated(const char* text, std::size_t size)
{
    return std::memchr(text, '\0', size) != nullptr;
}

void CheckSetting(const TUNESETTING& s, const MEASRECORD& rec)
{
    Check(s.iProp >= 1 && s.iInt >= 1 && s.iDiff >= 0, "a setting the controller cannot take");
    Check(std::isfinite(s.dStartFactor) && s.bWarning == (s.szWarning[0] != '\0'), "a wrong warning");
    Check(Terminated(s.szWarning, sizeof s.szWarning), "an unterminated warning");
    Check(s.recPredicted.iPramSamp == rec.iPramSamp && s.recPredicted.iPramRotate == rec.iPramRotate,
          "a prediction at another period or target");
    Check(std::memchr(s.recPredicted.cMeasData, PID_NO_SAMPLE, PID_SAMPLE_COUNT) == nullptr,
          "an empty slot in a prediction");
    for (double d : {s.fig.dRiseS, s.fig.dPeakS, s.fig.dOvershootPct, s.fig.dSettlingS, s.fig.dIaeRpmS})
        Check(std::isfinite(d) && d >= 0, "a predicted figure is not a finite, non-negative number");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint8_t image[PID_FILE_SIZE] = {};
    std::memcpy(image, data, size < sizeof image ? size : sizeof image);
    static MEASRECORD rec;
    std::memcpy(rec.cPIDHeader, image, PID_HEADER_SIZE);
    rec.iPramRotate = FileInt(image + 128);
    rec.iPramProp = FileInt(image + 132);
    rec.iPramInt = FileInt(image + 136);
    rec.iPramDiff = FileInt(image + 140);
    rec.iPramSamp = FileInt(image + 144);
    std::memcpy(rec.cMeasData, image + 148, PID_SAMPLE_COUNT);

    static TUNING tune;
    CalcTuning(&rec, &tune);
    Check(tune.bSuggestion != (tune.szReason[0] != '\0'), "not exactly one of a suggestion and a reason");
    Check(Terminated(tune.szReason, sizeof tune.szReason), "an unterminated reason");
    Check(!tune.bSuggestion || tune.iFitOutcome == FIT_OK, "a suggestion from an untrusted fit");
    const MOTORMODEL& m = tune.model;
    for (double d : {m.dGain, m.dTauS, m.dThetaS, m.dRmsRpm})
        Check(std::isfinite(d) && d >= 0, "a model number is not finite and non-negative");
    Check(!m.bModel || (m.dGain > 0 && m.dTauS > 0), "a model without gain or lag");
    if (!tune.bSuggestion)
        return 0;
    CheckSetting(tune.pi, rec);
    CheckSetting(tune.pid, rec);

    static COMPARESET set;
    MakeTuneChart(&rec, &tune, &set);
    static HDC hdcMem = CreateCompatibleDC(NULL);
    static HBITMAP hBitmap = CreateCompatibleBitmap(hdcMem, 800, 540);
    static HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    Check(hdcMem != NULL && hBitmap != NULL && hOld != NULL, "no memory context");
    const gdi32::LiveObjects objectsBefore = gdi32::LiveObjectCounts();
    Disp_Compare(hdcMem, &set);
    Check(gdi32::LiveObjectCounts() == objectsBefore, "the tuning chart left a GDI object behind");
    return 0;
}
