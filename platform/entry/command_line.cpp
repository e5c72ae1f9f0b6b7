// Reading the viewer's options, and quoting its operands for WinMain.
#include "command_line.h"

#include <cstdio>

namespace entry {
namespace {

constexpr const char* usageLine = "usage: pidview [--] [FILE.PID...] | -h | --help | --version\n";

constexpr const char* helpText =
    "usage: pidview [--] [FILE.PID...]\n"
    "       pidview -h | --help | --version\n"
    "\n"
    "Shows the page of a measurement file of the PID motor speed controller\n"
    "(or, without FILE.PID, the page of the start values) in a window, from\n"
    "which other files can be opened, the page printed, the step-response\n"
    "figures of the run listed and several runs compared on one chart. Of\n"
    "several files, the first is opened and the others are named on standard\n"
    "error as not used.\n"
    "Analysis > 調整の提案 suggests PI and PID settings from the run on screen,\n"
    "with the response a model fitted to it predicts (pidview(1) gives the\n"
    "controller's law and the tuning rule it assumes).\n"
    "On the comparison and tuning charts the pointer (or the arrows) shows a\n"
    "cursor reading each curve's speed; the wheel, + and - zoom the time axis\n"
    "around it, a drag pans, a double click or Ctrl+Home restores the range,\n"
    "and View > 特性の目印 marks the figures (pidpage --time and --marks draw\n"
    "the same). A click on the page's chart reads a sample until Esc.\n"
    "\n"
    "File > 再読み込み (F5) reads the file on screen again; with File > 自動更新\n"
    "on, the run written last into its folder is shown once its writer has closed\n"
    "it and it is a whole run. Edit > ページをコピー and データのコピー\n"
    "put the page on the clipboard as a picture and the run's samples as\n"
    "tab-separated text (pidpage --samples writes them as CSV).\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "      --         end of options (for a file name starting with '-')\n"
    "\n"
    "Exit status: 0 the window was closed; 1 no window could be made (no usable\n"
    "display; one line on standard error); 2 a wrong command line.\n";

} // namespace

CommandLine ReadCommandLine(int argc, char** argv)
{
    CommandLine line;
    bool options = true;
    std::string_view answer;     // --help, -h or --version, once met
    std::string_view otherWord;  // the first argument beside it
    std::string unused;          // the operands after the first
    int operands = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (options && argument == "--") {
            options = false;
        } else if (options && (argument == "--help" || argument == "-h" || argument == "--version")) {
            if (answer.empty())
                answer = argument;
            else if (otherWord.empty())
                otherWord = argument;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "pidview: unknown option %s; %s", argv[i], usageLine);
            line.answered = 2;
            return line;
        } else {
            if (otherWord.empty())
                otherWord = argument;
            if (operands++ > 0)
                unused += " " + std::string(argument);
            if (!line.tail.empty())
                line.tail.push_back(' ');
            line.tail += QuoteArgument(argument);
        }
    }
    if (!answer.empty() && !otherWord.empty()) {
        std::fprintf(stderr, "pidview: %.*s takes nothing else (%.*s); %s", static_cast<int>(answer.size()),
                     answer.data(), static_cast<int>(otherWord.size()), otherWord.data(), usageLine);
        line.answered = 2;
    } else if (answer == "--version") {
        std::printf("pidview %s\n", PIDVIEW_VERSION);
        line.answered = 0;
    } else if (!answer.empty()) {
        std::fputs(helpText, stdout);
        line.answered = 0;
    } else if (!unused.empty()) {
        // One window shows one run: the others would be dropped in silence.
        std::fprintf(stderr, "pidview: only the first file is opened; not used:%s\n", unused.c_str());
    }
    return line;
}

std::string QuoteArgument(std::string_view argument)
{
    // Backslashes stand for themselves unless a quote follows: then each is
    // doubled and the quote escaped. The closing quote follows the last ones.
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted.push_back(c);
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');
    quoted.push_back('"');
    return quoted;
}

} // namespace entry
