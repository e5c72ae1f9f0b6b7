// The figures of each run as one CSV row. Times in seconds to the
// microsecond, percent and rpm s to a thousandth; as-set values, the peak
// and the error are whole numbers. A figure the run does not have is an
// empty field.
#include "figures_command.h"

#include "csv.h"
#include "failure.h"
#include "options.h"
#include "run_file.h"

#include "analysis/stepfigures.h"

#include <cstdio>

namespace pidpage {
namespace {

const std::vector<std::string> kColumns = {
    "file", "target_rpm", "kp_pct", "ti_ms", "td_ms", "sampling_ms", "rise_s", "peak_rpm", "peak_s",
    "overshoot_pct", "settling_s", "steady_error_rpm", "iae_rpm_s"};

std::string Optional(BOOL present, double value, int decimals)
{
    return present ? csv::Fixed(value, decimals) : std::string();
}

std::vector<std::string> FigureFields(const std::string& path, const STEPFIGURES& fig)
{
    return {csv::Field(path),
            csv::Integer(fig.llTargetRpm),
            csv::Integer(fig.llKpPct),
            csv::Integer(fig.llTiMs),
            csv::Integer(fig.llTdMs),
            csv::Integer(fig.llSampMs),
            Optional(fig.bRise, fig.dRiseS, 6),
            fig.bPeak ? csv::Integer(fig.llPeakRpm) : std::string(),
            Optional(fig.bPeakTime, fig.dPeakS, 6),
            Optional(fig.bOvershoot, fig.dOvershootPct, 3),
            Optional(fig.bSettling, fig.dSettlingS, 6),
            csv::Integer(fig.llSteadyErrRpm),
            Optional(fig.bIae, fig.dIaeRpmS, 3)};
}

void Write(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
        Fail(kStatusFailed, "cannot write the figures to standard output");
}

} // namespace

void RunFigures(const std::vector<std::string>& operands)
{
    if (operands.empty())
        Fail(kStatusUsage, "no measurement file; " + UsageText());
    Write(csv::Record(kColumns));
    std::string reasons;
    for (const std::string& path : operands) {
        MEASRECORD rec{};
        int outcome = ReadMeasFile(path.c_str(), &rec);
        if (outcome != LOAD_ACCEPTED) {
            std::vector<std::string> fields(kColumns.size());
            fields[0] = csv::Field(path);
            Write(csv::Record(fields));
            reasons += (reasons.empty() ? "" : "\n") + RefusalReason(path, outcome);
            continue;
        }
        STEPFIGURES fig;
        CalcStepFigures(&rec, &fig);
        Write(csv::Record(FigureFields(path, fig)));
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        Fail(kStatusFailed, "cannot write the figures to standard output");
    if (!reasons.empty())
        Fail(kStatusFailed, reasons);
}

} // namespace pidpage
