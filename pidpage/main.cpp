// pidpage: the viewer's pictures without a window. It draws the page of a
// run as a PNG, or lists the figures of runs as CSV; main parses the command
// line, runs the mode it asks for, and is the one place that reports a
// failure.
#include "failure.h"
#include "figures_command.h"
#include "options.h"
#include "page_command.h"

#include <cstdio>
#include <sstream>

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
        }
    } catch (const Failure& failure) {
        // A line for each reason: --figures gives one per refused file.
        std::istringstream reasons(failure.message);
        for (std::string reason; std::getline(reasons, reason);)
            std::fprintf(stderr, "pidpage: %s\n", reason.c_str());
        return failure.status;
    }
    return 0;
}
