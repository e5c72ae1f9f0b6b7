// The tuning suggestion of each run as one CSV row, and its chart. The model
// and the settings are numbers; the reason and the warning are the viewer's
// texts in UTF-8. A withheld PID row leaves its columns empty and its
// reason in reason.
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

// The first sixteen as they have always been; what recomputes the rule after them.
const std::vector<std::string> kColumns = {
    "file", "gain", "tau_s", "theta_s", "fit_rms_rpm", "kp_pi_pct", "ti_pi_ms", "pi_overshoot_pct", "pi_settling_s",
    "kp_pid_pct", "ti_pid_ms", "td_pid_ms", "pid_overshoot_pct", "pid_settling_s", "reason", "warning",
    "period_ms", "theta_e_s", "tau_c_s", "output_limit", "run_peak_output", "pi_peak_output", "pid_peak_output", "tau2_s"};

// An output of the law, as --figures writes its numbers.
std::string Output(double value)
{
    return csv::Fixed(value, 3);
}

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
            text += (text.empty() ? "" : " ") + codepage::ToUtf8(szTuneCurveNames[TUNE_PI + i]) + ": "
                + codepage::ToUtf8(settings[i]->szWarning);
    }
    return text;
}

std::vector<std::string> TuneFields(const std::string& path, const MEASRECORD& rec, const TUNING& tune)
{
    std::vector<std::string> fields{csv::Field(path)};
    const MOTORMODEL& model = tune.model;
    for (const std::string& value : {csv::Significant(model.dGain, 6), csv::Fixed(model.dTauS, 6),
                                     csv::Fixed(model.dThetaS, 6), csv::Fixed(model.dRmsRpm, 3)})
        fields.push_back(model.bModel ? value : std::string());
    fields.push_back(tune.bSuggestion ? csv::Integer(tune.pi.iProp) : std::string());
    fields.push_back(tune.bSuggestion ? csv::Integer(10LL * tune.pi.iInt) : std::string());
    if (tune.bSuggestion)
        AddPrediction(fields, tune.pi.fig);
    else
        fields.resize(fields.size() + 2);
    if (tune.bPid) {
        fields.push_back(csv::Integer(tune.pid.iProp));
        fields.push_back(csv::Integer(10LL * tune.pid.iInt));
        fields.push_back(csv::Integer(10LL * tune.pid.iDiff));
        AddPrediction(fields, tune.pid.fig);
    } else {
        fields.resize(fields.size() + 5);
    }
    fields.push_back(csv::Field(codepage::ToUtf8(tune.szReason)));
    fields.push_back(csv::Field(Warnings(tune)));
    fields.push_back(csv::Integer(10LL * rec.iPramSamp));
    fields.push_back(model.bModel ? csv::Fixed(tune.dThetaES, 6) : std::string());
    fields.push_back(model.bModel ? csv::Fixed(tune.dTauCS, 6) : std::string());
    const bool limit = model.bLimit || tune.opt.dOutputLimit > 0.0;
    fields.push_back(limit ? Output(model.bLimit ? model.dLimit : tune.opt.dOutputLimit) : std::string());
    fields.push_back(model.bModel ? Output(model.dRunPeakOut) : std::string());
    fields.push_back(tune.bSuggestion ? Output(tune.pi.dPeakOut) : std::string());
    fields.push_back(tune.bPid ? Output(tune.pid.dPeakOut) : std::string());
    fields.push_back(model.bModel ? csv::Fixed(model.dTau2S, 6) : std::string());
    return fields;
}

TUNEOPTIONS Options(const TuneSettings& settings)
{
    TUNEOPTIONS options;
    DefaultTuneOptions(&options);
    options.dTauC = settings.tauC;
    options.dOutputLimit = settings.outputLimit;
    return options;
}

} // namespace

void RunTune(const std::vector<std::string>& operands, const TuneSettings& settings)
{
    if (operands.empty())
        Fail(kStatusUsage, "--tune: no measurement file; " + UsageText());
    auto tune = std::make_unique<TUNING>();
    const TUNEOPTIONS options = Options(settings);
    WriteRunTable(operands, kColumns, "suggestions", [&](const std::string& path, const MEASRECORD& rec) {
        CalcTuning(&rec, &options, tune.get());
        return TuneFields(path, rec, *tune);
    });
}

void RunTuneChart(const std::vector<std::string>& operands, const TuneSettings& settings, const ChartOptions& chart)
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
    const TUNEOPTIONS options = Options(settings);
    CalcTuning(&rec, &options, tune.get());
    if (!tune->bSuggestion)
        Fail(kStatusFailed, path + ": no suggestion (" + codepage::ToUtf8(tune->szReason) + "); nothing written");

    auto set = std::make_unique<COMPARESET>();
    MakeTuneChart(&rec, tune.get(), nullptr, set.get());
    WriteChart(*set, chart, output);
}

} // namespace pidpage
