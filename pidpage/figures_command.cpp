// The figures of each run as one CSV row. Times in seconds to the
// microsecond, percent and rpm s to a thousandth; as-set values, the peak
// and the error are whole numbers. A figure the run does not have is an
// empty field.
#include "figures_command.h"

#include "csv.h"
#include "failure.h"
#include "options.h"
#include "run_table.h"

#include "analysis/stepfigures.h"


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

} // namespace

void RunFigures(const std::vector<std::string>& operands)
{
    if (operands.empty())
        Fail(kStatusUsage, "no measurement file; " + UsageText());
    WriteRunTable(operands, kColumns, "figures", [](const std::string& path, const MEASRECORD& rec) {
        STEPFIGURES fig;
        CalcStepFigures(&rec, &fig);
        return FigureFields(path, fig);
    });
}

} // namespace pidpage
