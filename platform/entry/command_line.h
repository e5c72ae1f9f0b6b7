// The viewer's command line: its options, and its file operands handed on to
// WinMain as a command tail quoted the Windows way.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace entry {

struct CommandLine {
    std::string tail; // the operands, each quoted, one space apart
    std::optional<int> answered; // the exit status once --help, --version or a wrong option has been answered
};

// --help and --version write to standard output, a wrong option one line to
// standard error.
CommandLine ReadCommandLine(int argc, char** argv);

// The argument quoted so that the Windows rules read it back unchanged.
std::string QuoteArgument(std::string_view argument);

} // namespace entry
