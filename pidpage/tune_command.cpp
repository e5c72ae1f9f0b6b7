// The tuning suggestion of each run as one CSV row, and its chart. The model
// and the settings are numbers; the reason and the warning are the viewer's
// texts in UTF-8.
#include "tune_command.h"

#include "compare_command.h"

#include "csv.h"
#include "failure.h"
#include "options.h"
#include "png_file.h"
#include "run_file.h"
#include "run_table.h"

#include "analysis/tuning.h"
#include "picture/tune_chart.h"
#include "platform/codepage/codepage.h"

#include <memory>

namespace pidpage {
namespace {

const std::vector<std::string> kColumns = {
    "file", "gain", "tau_s", "theta_s", "fit_rms_rpm", "kp_pi_pct", "ti_pi_ms", "pi_overshoot_pct", "pi_settling_s",
    "kp_pid_pct", "ti_pid_ms", "td_pid_ms", "pid_overshoot_pct", "pid_settling_s", "reason", "warning"};

// The figures a predicted run has: overshoot to a thousandth of a percent,
// settling time to the microsecond, as --figures writes them.
void AddPrediction(std::vector<std::string>& fields, const STEPFIGURES& fig)
{
    fields.push_back(fig.bOvershoot ? csv::Fixed(fig.dOvershootPct, 3) : std::string());
    fields.push_back(fig.bSettling ? csv::Fixed(fig.dSettlingS, 6) : std::string());
}

// The warnings as the chart's notes give them, one after the other.
std::string Warnings(const TUNING& tune)
{
    std::string text;
    const TUNESETTING* settings[] = {&tune.pi, &tune.pid};
    for (int i = 0; i < 2; ++i) {
        if (settings[i]->bWarning)
            text += (text.empty() ? "" : " ") + codepage::ToUtf8(szTuneCurveNames[2 + i]) + ": "
                + codepage::ToUtf8(settings[i]->szWarning);
    }
    return text;
}

std::vector<std::string> TuneFields(const std::string& path, const TUNING& tune)
{
    std::vector<std::string> fields{csv::Field(path)};
    const MOTORMODEL& model = tune.model;
    for (const std::string& value : {csv::Significant(model.dGain, 6), csv::Fixed(model.dTauS, 6),
                                     csv::Fixed(model.dThetaS, 6), csv::Fixed(model.dRmsRpm, 3)})
        fields.push_back(model.bModel ? value : std::string());
    if (tune.bSuggestion) {
        fields.push_back(csv::Integer(tune.pi.iProp));
        fields.push_back(csv::Integer(10LL * tune.pi.iInt));
        AddPrediction(fields, tune.pi.fig);
        fields.push_back(csv::Integer(tune.pid.iProp));
        fields.push_back(csv::Integer(10LL * tune.pid.iInt));
        fields.push_back(csv::Integer(10LL * tune.pid.iDiff));
        AddPrediction(fields, tune.pid.fig);
    } else {
        fields.resize(fields.size() + 9);
    }
    fields.push_back(csv::Field(codepage::ToUtf8(tune.szReason)));
    fields.push_back(csv::Field(Warnings(tune)));
    return fields;
}

} // namespace

void RunTune(const std::vector<std::string>& operands)
{
    if (operands.empty())
        Fail(kStatusUsage, "--tune: no measurement file; " + UsageText());
    auto tune = std::make_unique<TUNING>();
    WriteRunTable(operands, kColumns, "suggestions", [&](const std::string& path, const MEASRECORD& rec) {
        CalcTuning(&rec, tune.get());
        return TuneFields(path, *tune);
    });
}

void RunTuneChart(const std::vector<std::string>& operands, const ChartOptions& chart)
{
    if (operands.size() != 2 || operands[0].empty())
        Fail(kStatusUsage, "--tune-chart takes an output name and one run; " + UsageText());
    const std::string &output = operands[0], &path = operands[1];
    CheckOutputName(output, {path});
    MEASRECORD rec{};
    const int outcome = ReadMeasFile(path.c_str(), &rec);
    if (outcome != LOAD_ACCEPTED)
        Fail(kStatusFailed, RefusalReason(path, outcome));
    auto tune = std::make_unique<TUNING>();
    CalcTuning(&rec, tune.get());
    if (!tune->bSuggestion)
        Fail(kStatusFailed, path + ": no suggestion (" + codepage::ToUtf8(tune->szReason) + "); nothing written");

    auto set = std::make_unique<COMPARESET>();
    MakeTuneChart(&rec, tune.get(), set.get());
    WriteChart(*set, chart, output);
}

} // namespace pidpage
