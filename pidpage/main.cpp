// pidpage: the viewer's pictures without a window. It draws the page of a
// run as a PNG, lists the figures of runs or the samples of one as CSV, or
// draws several runs compared on one chart; main parses the command line,
// runs the mode it asks for, and is the one place that reports a failure.
#include "compare_command.h"
#include "failure.h"
#include "figures_command.h"
#include "options.h"
#include "page_command.h"
#include "samples_command.h"
#include "tune_command.h"

#include <cstdio>

namespace {

// Each line of a report on standard error, after the program's name.
void Report(const std::string& message)
{
    std::size_t start = 0;
    for (std::size_t end; (end = message.find('\n', start)) != std::string::npos; start = end + 1)
        std::fprintf(stderr, "pidpage: %s\n", message.substr(start, end - start).c_str());
    std::fprintf(stderr, "pidpage: %s\n", message.substr(start).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    using namespace pidpage;
    try {
        CommandLine line = ParseCommandLine(argc, argv);
        switch (line.mode) {
        case Mode::Help:
            std::fputs(HelpText().c_str(), stdout);
            return 0;
        case Mode::Version:
            std::printf("pidpage %s\n", PIDVIEW_VERSION);
            return 0;
        case Mode::Page:
            RunPage(line.operands);
            return 0;
        case Mode::Figures:
            RunFigures(line.operands);
            return 0;
        case Mode::Samples:
            RunSamples(line.operands);
            return 0;
        case Mode::Tune:
            RunTune(line.operands, line.tune);
            return 0;
        case Mode::TuneChart:
            RunTuneChart(line.operands, line.tune, line.chart);
            return 0;
        case Mode::Compare: {
            // Files left out are named; the chart of the rest is written.
            const std::vector<std::string> refused = RunCompare(line.operands, line.chart);
            for (const std::string& reason : refused)
                Report(reason);
            return refused.empty() ? 0 : kStatusFailed;
        }
        }
    } catch (const Failure& failure) {
        Report(failure.message);
        return failure.status;
    }
    return 0;
}
