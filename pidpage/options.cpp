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

// An option either chooses the mode or is a setting of the modes that draw a
// chart (--time, --marks) or tune (--tau-c, --output-limit).
enum class Setting { None, Time, Marks, TauC, OutputLimit };

struct Option {
    const char* name;      // long form
    char shortName;        // 0: none
    const char* operands;  // what follows it, for the usage line
    const char* help;
    Mode mode;             // the mode it chooses (Page for a setting, which leaves the mode alone)
    Setting setting = Setting::None;
    const char* value = nullptr; // the argument a setting takes
};

constexpr Option kOptions[] = {
    {"--figures", 0, "FILE.PID...", "list the step-response figures of each run as CSV", Mode::Figures},
    {"--compare", 0, "[--time START:END] [--marks] OUT.png FILE.PID...", "draw one to eight runs on one chart", Mode::Compare},
    {"--samples", 0, "FILE.PID", "list the run's samples as CSV", Mode::Samples},
    {"--tune", 0, "[--tau-c F] [--output-limit U] FILE.PID...", "suggest PI and PID settings for each run, as CSV",
     Mode::Tune},
    {"--tune-chart", 0, "[--tau-c F] [--output-limit U] [--time START:END] [--marks] OUT.png FILE.PID",
     "draw a run beside its model and the suggestions' predictions", Mode::TuneChart},
    {"--time", 0, nullptr, "chart from START to END s (all: the whole run)", Mode::Page, Setting::Time,
     "START:END"},
    {"--marks", 0, nullptr, "mark each run's settling band, rise, settling and peak", Mode::Page, Setting::Marks},
    {"--tau-c", 0, nullptr, "set tau_c to F times theta_e, F from 1 to 10 (default 1)", Mode::Page,
     Setting::TauC, "F"},
    {"--output-limit", 0, nullptr, "the drive's output limit in the law's units (default: found)", Mode::Page,
     Setting::OutputLimit, "U"},
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

// Seconds with up to 12 whole digits and any decimals, rounded to the
// millisecond (halves up); -1 for anything else.
long long Milliseconds(std::string_view text)
{
    long long ms = 0;
    std::size_t point = text.find('.'), whole = point == std::string_view::npos ? text.size() : point;
    if (whole == 0 || whole > 12 || (point != std::string_view::npos && point + 1 == text.size()))
        return -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i == point)
            continue;
        if (c < '0' || c > '9')
            return -1;
        if (i < whole)
            ms = ms * 10 + (c - '0') * 1000;
        else if (i - whole <= 3)
            ms += (c - '0') * (i - whole == 1 ? 100 : i - whole == 2 ? 10 : 1);
        else if (i - whole == 4 && c >= '5')
            ++ms;
    }
    return ms;
}

// --time START:END (or all): a usage error when empty, reversed or not numbers.
void ParseTime(std::string_view value, ChartOptions& chart)
{
    const std::string shown = "--time " + std::string(value);
    if (chart.range)
        Fail(kStatusUsage, "--time is given twice");
    chart.range = true;
    if (value == "all") {
        chart.all = true;
        return;
    }
    const std::size_t colon = value.find(':');
    chart.startMs = colon == std::string_view::npos ? -1 : Milliseconds(value.substr(0, colon));
    chart.endMs = colon == std::string_view::npos ? -1 : Milliseconds(value.substr(colon + 1));
    if (chart.startMs < 0 || chart.endMs < 0)
        Fail(kStatusUsage, shown + ": START and END are seconds, as in --time 0.5:2 (or --time all)");
    if (chart.endMs <= chart.startMs)
        Fail(kStatusUsage, shown + ": END must come after START");
}

// A tuning setting's value: a plain decimal number that the setting takes,
// or one line and status 2.
double TuningValue(const Option& option, const char* text)
{
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    const bool number = *text != '\0' && *end == '\0' && std::isfinite(value);
    const bool tauC = option.setting == Setting::TauC;
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
    const Option* tuning = nullptr; // the last tuning setting given
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (options && argument == "--") {
            options = false;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            const Option* option = Find(argument);
            if (option == nullptr)
                Fail(kStatusUsage, "unknown option " + std::string(argument) + "; " + UsageText());
            if (option->value != nullptr && i + 1 == argc)
                Fail(kStatusUsage, std::string(option->name) + " needs " + option->value);
            switch (option->setting) {
            case Setting::None:
                break;
            case Setting::Time:
                ParseTime(argv[++i], line.chart);
                continue;
            case Setting::Marks:
                line.chart.marks = true;
                continue;
            case Setting::TauC:
                line.tune.tauC = TuningValue(*option, argv[++i]);
                tuning = option;
                continue;
            case Setting::OutputLimit:
                line.tune.outputLimit = TuningValue(*option, argv[++i]);
                tuning = option;
                continue;
            }
            if (line.mode != Mode::Page && line.mode != option->mode)
                Fail(kStatusUsage, std::string(argument) + " goes with no other option; " + UsageText());
            line.mode = option->mode;
        } else {
            line.operands.emplace_back(argument);
        }
    }
    if ((line.mode == Mode::Help || line.mode == Mode::Version) && !line.operands.empty())
        Fail(kStatusUsage, std::string(line.mode == Mode::Help ? "--help" : "--version") + " takes nothing else ("
                               + line.operands.front() + "); " + UsageText());
    if ((line.chart.range || line.chart.marks) && line.mode != Mode::Compare && line.mode != Mode::TuneChart)
        Fail(kStatusUsage, std::string(line.chart.range ? "--time" : "--marks") + " goes with --compare or --tune-chart");
    if (tuning != nullptr && line.mode != Mode::Tune && line.mode != Mode::TuneChart)
        Fail(kStatusUsage, std::string(tuning->name) + " goes with --tune or --tune-chart");
    return line;
}

std::string UsageText()
{
    return std::string("usage: pidpage ") + kPageOperands + ", or pidpage --help for the other forms";
}

// The options and what each does; the manual page pidpage(1) has the rest
// (the CSV columns, the controller's law and the tuning rule).
std::string HelpText()
{
    std::string text;
    for (const std::string& form : Forms())
        text += (text.empty() ? "usage: pidpage " : "       pidpage ") + form + "\n";
    text += "\n"
        "Draws the page that pidview shows for a measurement file of the PID motor\n"
        "speed controller (without FILE.PID, the page of the start values) as an\n"
        "800 x 540 PNG into OUT.png, or with - to standard output. An existing\n"
        "OUT.png is replaced only when it is a PNG picture or empty. An option\n"
        "draws or lists something else instead:\n\n";
    std::vector<std::string> names;
    std::size_t column = 0;
    for (const Option& option : kOptions) {
        names.push_back((option.shortName != 0 ? std::string("-") + option.shortName + ", " : "    ") + option.name
                        + (option.value != nullptr ? std::string(" ") + option.value : std::string()));
        column = std::max(column, names.back().size() + 2);
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        text += "  " + names[i] + std::string(column - names[i].size(), ' ') + kOptions[i].help + "\n";
    text += "      --" + std::string(column - 6, ' ') + "end of options (for a file name starting with '-')\n\n";
    text += "Exit status: 0 done; 1 a file could not be read or written, or a file was\n"
        "left out of --figures, --compare or --tune (one line each on standard\n"
        "error); 2 a wrong command line or a refused output. pidpage(1) tells more.\n";
    return text;
}

} // namespace pidpage
