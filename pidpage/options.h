// pidpage's command line: one table of options, from which the parsing, the
// usage lines and --help all come.
#pragma once

#include <string>
#include <vector>

namespace pidpage {

enum class Mode { Page, Figures, Compare, Samples, Tune, TuneChart, Help, Version };

// How --compare and --tune-chart draw: --time's range in ms (or the whole
// time of the runs) and --marks.
struct ChartOptions {
    bool range = false;
    bool all = false;
    long long startMs = 0;
    long long endMs = 0;
    bool marks = false;
};

// What the tuning modes take besides their runs.
struct TuneSettings {
    double tauC = 1.0;       // tau_c as a multiple of theta_e, 1 to 10
    double outputLimit = 0.; // the drive's limit in the law's units; 0: found from the run
};

struct CommandLine {
    Mode mode = Mode::Page;
    std::vector<std::string> operands; // what follows the options, in order
    ChartOptions chart;
    TuneSettings tune;
};

// The options and operands of argv; a usage error fails with status 2.
CommandLine ParseCommandLine(int argc, char** argv);

// The one-line usage, for standard error after a usage error.
std::string UsageText();
// The whole --help text.
std::string HelpText();

} // namespace pidpage
