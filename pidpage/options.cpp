// The option table and what is made of it.
#include "options.h"

#include "failure.h"

#include "analysis/tuning.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace pidpage {
namespace {

struct Option {
    const char* name;      // long form
    char shortName;        // 0: none
    const char* operands;  // what follows it, for the usage line
    const char* help;
    Mode mode;             // the mode it chooses, or, for a setting, the mode it goes with
    const char* value = nullptr; // a setting's value: it takes one and leaves the mode alone
};

constexpr Option kOptions[] = {
    {"--figures", 0, "FILE.PID...", "list the step-response figures of each run as CSV", Mode::Figures},
    {"--compare", 0, "OUT.png FILE.PID...", "draw one to eight runs on one chart", Mode::Compare},
    {"--samples", 0, "FILE.PID", "list the run's samples as CSV", Mode::Samples},
    {"--tune", 0, "[--tau-c F] [--output-limit U] FILE.PID...", "suggest PI and PID settings for each run, as CSV",
     Mode::Tune},
    {"--tune-chart", 0, "[--tau-c F] [--output-limit U] OUT.png FILE.PID",
     "draw a run beside its model and the suggestions' predictions", Mode::TuneChart},
    {"--tau-c", 0, nullptr, "set tau_c to F times theta_e, F from 1 to 10 (default 1)", Mode::Tune,
     "F"},
    {"--output-limit", 0, nullptr, "the drive's output limit in the law's units (default: found)",
     Mode::Tune, "U"},
    {"--help", 'h', nullptr, "show this help and exit", Mode::Help},
    {"--version", 0, nullptr, "show the version and exit", Mode::Version},
};

constexpr const char* kPageOperands = "[FILE.PID] OUT.png";

const Option* Find(std::string_view argument)
{
    for (const Option& option : kOptions) {
        if (argument == option.name
            || (option.shortName != 0 && argument.size() == 2 && argument[0] == '-' && argument[1] == option.shortName))
            return &option;
    }
    return nullptr;
}

// Each form of the command line: the page's, then those of the options
// that take operands, then --help and --version.
std::vector<std::string> Forms()
{
    std::vector<std::string> forms{kPageOperands};
    for (const Option& option : kOptions) {
        if (option.operands != nullptr)
            forms.push_back(std::string(option.name) + " " + option.operands);
    }
    forms.push_back("--help | --version");
    return forms;
}

// A setting's value: a plain decimal number that the setting takes, or one
// line and status 2.
double SettingValue(const Option& option, const char* text)
{
    if (text == nullptr)
        Fail(kStatusUsage, std::string(option.name) + " needs a value " + option.value);
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    const bool number = *text != '\0' && *end == '\0' && std::isfinite(value);
    const bool tauC = std::string_view(option.name) == "--tau-c";
    if (tauC && !(number && IsTauCValid(value)))
        Fail(kStatusUsage, std::string(option.name) + ": '" + text + "' is not a number from 1 to 10");
    if (!tauC && !(number && IsOutputLimitValid(value)))
        Fail(kStatusUsage, std::string(option.name) + ": '" + text + "' is not a positive number");
    return value;
}

} // namespace

CommandLine ParseCommandLine(int argc, char** argv)
{
    CommandLine line;
    const Option* setting = nullptr;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (options && argument == "--") {
            options = false;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            const Option* option = Find(argument);
            if (option == nullptr)
                Fail(kStatusUsage, "unknown option " + std::string(argument) + "; " + UsageText());
            if (option->value != nullptr) {
                const double value = SettingValue(*option, i + 1 < argc ? argv[++i] : nullptr);
                (std::string_view(option->name) == "--tau-c" ? line.tune.tauC : line.tune.outputLimit) = value;
                setting = option;
                continue;
            }
            if (line.mode != Mode::Page && line.mode != option->mode)
                Fail(kStatusUsage, std::string(argument) + " goes with no other option; " + UsageText());
            line.mode = option->mode;
        } else {
            line.operands.emplace_back(argument);
        }
    }
    if (setting != nullptr && line.mode != Mode::Tune && line.mode != Mode::TuneChart)
        Fail(kStatusUsage, std::string(setting->name) + " goes with --tune or --tune-chart; " + UsageText());
    return line;
}

std::string UsageText()
{
    std::vector<std::string> forms = Forms();
    std::string text = "usage: pidpage " + forms.front();
    for (std::size_t i = 1; i < forms.size(); ++i)
        text += " | " + forms[i];
    return text;
}

std::string HelpText()
{
    std::string text;
    for (const std::string& form : Forms())
        text += (text.empty() ? "usage: pidpage " : "       pidpage ") + form + "\n";
    text += "\n"
        "Draws the page that pidview shows for a measurement file of the PID motor\n"
        "speed controller (or, without FILE.PID, the page of the start values) on an\n"
        "800 x 540 white page and writes it to OUT.png, or with OUT.png - to standard\n"
        "output (not a terminal). OUT.png ends in .png or has no extension, and is\n"
        "never a run: an existing file is replaced only when it is a PNG or empty.\n\n"
        "With --figures it writes, for each FILE.PID in turn, one CSV row (RFC 4180,\n"
        "CR LF, a header line first) to standard output: the set values and the\n"
        "figures of the step response (rise time 10-90 %, peak and its time,\n"
        "overshoot, settling time in a 5 % band, steady-state error, IAE), in rpm,\n"
        "percent, ms and seconds; a figure the run does not have is an empty field,\n"
        "and a file that is not a run gets a row of its name alone.\n\n"
        "With --compare, draws one to eight runs on one 800 x 540 chart instead: one\n"
        "time axis to the last measured sample of the longest run, each run placed by\n"
        "its own sampling period (labels in whole seconds, or in ms when the axis is\n"
        "shorter than two seconds); a speed axis from 0 to at least 8000 rpm; each\n"
        "run's curve and dashed target line in its own colour and pattern; and a\n"
        "legend with each file's name, target, Kp, Ti, Td, sampling period, overshoot\n"
        "and settling time. A run whose sampling period is not positive is listed\n"
        "without a curve. A file that is not a run is named on standard error and\n"
        "left out; the chart of the rest is still written.\n\n"
        "With --samples, writes the run's samples as CSV (RFC 4180, CR LF) to standard\n"
        "output: a header line time_s,speed_rpm,target_rpm and one row per sample\n"
        "slot, 256 in all: the slot's time in seconds, its speed and the target in\n"
        "rpm. An empty slot has an empty speed; a run whose sampling period is zero\n"
        "or negative has no time axis, and its times are empty. Status 1 when the\n"
        "file is refused (nothing is written), 2 when not exactly one file is named.\n\n"
        "With --tune, suggests PI and PID settings for each FILE.PID in turn, one CSV\n"
        "row (as --figures writes them): the motor's model fitted under an assumed PID\n"
        "law (with the drive's output limit and a late start where the run shows\n"
        "them), the SIMC settings at tau_c = F theta_e, their predicted figures and\n"
        "peak outputs, and the reason where a suggestion or its PID row is withheld;\n"
        "pidpage(1) describes the law and every column. With --tune-chart, draws the\n"
        "run as the viewer's tuning window does; status 1, and nothing written, when\n"
        "no suggestion is made.\n\n";
    for (const Option& option : kOptions) {
        std::string names = option.shortName != 0 ? std::string("-") + option.shortName + ", " : "    ";
        names += option.name;
        if (option.value != nullptr)
            names += std::string(" ") + option.value;
        names.resize(std::max<std::size_t>(names.size() + 2, 22), ' ');
        text += "  " + names + option.help + "\n";
    }
    text += "      --                end of options (for a file name starting with '-')\n\n"
        "Exit status: 0 the picture (or every row of figures) is written; 1 the file\n"
        "cannot be read or is not a measurement file, or the picture cannot be\n"
        "written (one line on standard error, no file left behind); with --figures,\n"
        "1 when a file is refused (one line for each); with --compare, 1 when any\n"
        "file was left out (one line each; no picture when none is left); 2 a wrong\n"
        "command line (with --compare: no output name, no run or more than eight;\n"
        "a value of --tau-c or --output-limit out of range),\n"
        "or an output that is refused (a .pid name, a run, an existing file that is\n"
        "not a PNG, standard output at a terminal).\n";
    return text;
}

} // namespace pidpage
