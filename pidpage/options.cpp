// The option table and what is made of it.
#include "options.h"

#include "failure.h"

#include <algorithm>
#include <string_view>

namespace pidpage {
namespace {

struct Option {
    const char* name;      // long form
    char shortName;        // 0: none
    const char* operands;  // what follows it, for the usage line
    const char* help;
    Mode mode;
};

constexpr Option kOptions[] = {
    {"--figures", 0, "FILE.PID...", "list the step-response figures of each run as CSV", Mode::Figures},
    {"--compare", 0, "OUT.png FILE.PID...", "draw one to eight runs on one chart", Mode::Compare},
    {"--samples", 0, "FILE.PID", "list the run's samples as CSV", Mode::Samples},
    {"--tune", 0, "FILE.PID...", "suggest PI and PID settings for each run, as CSV", Mode::Tune},
    {"--tune-chart", 0, "OUT.png FILE.PID", "draw a run beside its model and the suggestions' predictions",
     Mode::TuneChart},
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

} // namespace

CommandLine ParseCommandLine(int argc, char** argv)
{
    CommandLine line;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (options && argument == "--") {
            options = false;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            const Option* option = Find(argument);
            if (option == nullptr)
                Fail(kStatusUsage, "unknown option " + std::string(argument) + "; " + UsageText());
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
    for (const Option& option : kOptions) {
        std::string names = option.shortName != 0 ? std::string("-") + option.shortName + ", " : "    ";
        names += option.name;
        names.resize(std::max<std::size_t>(names.size() + 2, 18), ' ');
        text += "  " + names + option.help + "\n";
    }
    text += "      --            end of options (for a file name starting with '-')\n\n"
        "Exit status: 0 done; 1 a file could not be read or written, or a file was\n"
        "left out of --figures, --compare or --tune (one line each on standard\n"
        "error); 2 a wrong command line or a refused output. pidpage(1) tells more.\n";
    return text;
}

} // namespace pidpage
