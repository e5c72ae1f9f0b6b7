// Any bytes as a run (in the file's layout, zeros past the end) given to the
// tuning suggestion, with a tau_c and an output limit taken from header
// bytes the file leaves alone: a suggestion comes with no reason or a PID
// reason, none with its reason; every number is finite; the settings are
// ones the controller takes; every record it makes (the replay, each
// prediction) holds stored speeds only, empty slots only after a replay
// that diverged; and its chart, in the window's every form, draws with no
// GDI object left behind. fuzz.sh bounds the time of each input.
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

std::uint32_t FileWord(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

bool Terminated(const char* text, std::size_t size)
{
    return std::memchr(text, '\0', size) != nullptr;
}

bool Finite(double d)
{
    return std::isfinite(d);
}

// A record the suggestion made: its settings at the run's target and
// period, speeds 0 to 255 in its first nSpeeds slots and none after.
void CheckRecord(const MEASRECORD& r, const MEASRECORD& rec, int nSpeeds, const char* what)
{
    Check(r.iPramSamp == rec.iPramSamp && r.iPramRotate == rec.iPramRotate, what);
    for (int k = 0; k < PID_SAMPLE_COUNT; ++k)
        Check((r.cMeasData[k] == PID_NO_SAMPLE) == (k >= nSpeeds), what);
    Check(r.iMeasRotate >= 0 && r.iMeasRotate <= 255, what);
}

void CheckFigures(const STEPFIGURES& fig)
{
    for (double d : {fig.dRiseS, fig.dPeakS, fig.dOvershootPct, fig.dSettlingS, fig.dIaeRpmS})
        Check(Finite(d) && d >= 0, "a figure is not a finite, non-negative number");
}

void CheckSetting(const TUNESETTING& s, const MEASRECORD& rec, bool given)
{
    Check(Terminated(s.szWarning, sizeof s.szWarning), "an unterminated warning");
    Check(s.bWarning == (s.szWarning[0] != '\0'), "a warning without its text, or a text without a warning");
    for (double d : {s.dPeakOut, s.dPeakFactor})
        Check(Finite(d), "a peak output is not finite");
    CheckFigures(s.fig);
    if (!given) {
        Check(!s.bWarning, "a warning for a setting not given");
        CheckRecord(s.recPredicted, rec, 0, "a record for a setting not given");
        return;
    }
    Check(s.iProp >= 1 && s.iInt >= 1 && s.iDiff >= 0, "a setting the controller cannot take");
    Check(s.dPeakFactor >= 0, "a negative peak factor");
    CheckRecord(s.recPredicted, rec, PID_SAMPLE_COUNT, "a prediction that is not a whole stored run");
}

void CheckTuning(const TUNING& tune, const MEASRECORD& rec)
{
    Check(Terminated(tune.szReason, sizeof tune.szReason) && Terminated(tune.szNote, sizeof tune.szNote),
          "an unterminated reason or note");
    Check(!tune.bPid || tune.bSuggestion, "a PID row without a PI one");
    Check(tune.bSuggestion ? (tune.bPid == (tune.szReason[0] == '\0'))
                           : tune.szReason[0] != '\0',
          "a reason where all is given, or none where something is not");
    Check(!tune.bSuggestion || tune.iFitOutcome == FIT_OK, "a suggestion from an untrusted fit");
    const MOTORMODEL& m = tune.model;
    for (double d : {m.dGain, m.dTauS, m.dThetaS, m.dRmsRpm, m.dLimit, tune.dThetaES, tune.dTauCS})
        Check(Finite(d) && d >= 0, "a model number is not finite and non-negative");
    Check(Finite(m.dRunPeakOut), "the run's peak output is not finite");
    Check(!m.bModel || (m.dGain > 0 && m.dTauS > 0), "a model without gain or lag");
    Check(!m.bLimit || m.dLimit > 0, "a limit that is none");
    // The replay: the run's own settings, stopped where it diverged.
    int nReplay = PID_SAMPLE_COUNT;
    while (tune.bReplayDiverged && nReplay > 0 && tune.recReplay.cMeasData[nReplay - 1] == PID_NO_SAMPLE)
        nReplay--;
    CheckRecord(tune.recReplay, rec, m.bModel ? nReplay : 0, "a replay that is not a stored run");
    Check(!tune.bSuggestion || !tune.bReplayDiverged, "a suggestion beside a replay that diverged");
    CheckSetting(tune.pi, rec, tune.bSuggestion);
    CheckSetting(tune.pid, rec, tune.bPid);
}

void CheckChart(const MEASRECORD& rec, const TUNING& tune, const MEASRECORD* pPrevious)
{
    static COMPARESET set;
    static HDC hdcMem = CreateCompatibleDC(NULL);
    static HBITMAP hBitmap = CreateCompatibleBitmap(hdcMem, 800, 540);
    static HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    Check(hdcMem != NULL && hBitmap != NULL && hOld != NULL, "no memory context");
    MakeTuneChart(&rec, &tune, pPrevious, &set);
    for (int i = 0; i < set.nNotes; ++i)
        Check(Terminated(set.szNote[i], COMPARE_NOTE_SIZE), "an unterminated note");
    const gdi32::LiveObjects objectsBefore = gdi32::LiveObjectCounts();
    Disp_Compare(hdcMem, &set);
    Check(gdi32::LiveObjectCounts() == objectsBefore, "the tuning chart left a GDI object behind");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint8_t image[PID_FILE_SIZE] = {};
    std::memcpy(image, data, size < sizeof image ? size : sizeof image);
    static MEASRECORD rec;
    std::memcpy(rec.cPIDHeader, image, PID_HEADER_SIZE);
    rec.iPramRotate = static_cast<int>(FileWord(image + 128));
    rec.iPramProp = static_cast<int>(FileWord(image + 132));
    rec.iPramInt = static_cast<int>(FileWord(image + 136));
    rec.iPramDiff = static_cast<int>(FileWord(image + 140));
    rec.iPramSamp = static_cast<int>(FileWord(image + 144));
    std::memcpy(rec.cMeasData, image + 148, PID_SAMPLE_COUNT);

    // Header bytes 1 to 8: tau_c (a byte from 1 to 10, anything else out
    // of range) and a limit (a float's bits, any of them).
    TUNEOPTIONS opt;
    opt.dTauC = image[1] / 25.0;
    float limit;
    std::memcpy(&limit, image + 4, sizeof limit);
    opt.dOutputLimit = limit;
    static TUNING tune;
    for (const TUNEOPTIONS* pOpt : {static_cast<const TUNEOPTIONS*>(nullptr), static_cast<const TUNEOPTIONS*>(&opt)}) {
        CalcTuning(&rec, pOpt, &tune);
        CheckTuning(tune, rec);
        CheckChart(rec, tune, nullptr);
        CheckChart(rec, tune, &tune.pi.recPredicted); // as a window shows the run made with a suggestion
    }
    return 0;
}
