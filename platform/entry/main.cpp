// The process entry on Linux: reads the command line, starts Qt and hands
// over to the program's WinMain with the file operands as its command tail,
// as the Windows loader would.
#include "command_line.h"
#include "window_system.h"

#include "../resources/resources.h"
#include "../user32/user32.h"

#include <QApplication>

int main(int argc, char** argv)
{
    entry::CommandLine line = entry::ReadCommandLine(argc, argv);
    if (line.answered)
        return *line.answered;
    std::unique_ptr<QApplication> application = entry::StartWindowSystem();
    return WinMain(resources::ProgramInstance(), nullptr, line.tail.data(), SW_SHOWDEFAULT);
}
