// The process entry on Linux: starts Qt and hands over to the program's
// WinMain, as the Windows loader would.
#include "../resources/resources.h"
#include "../user32/user32.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Whole-number scaling on dense screens, so the page's pixels stay sharp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication application(argc, argv);
    // The program takes nothing from its command line.
    char commandTail[] = "";
    return WinMain(resources::ProgramInstance(), nullptr, commandTail, SW_SHOWDEFAULT);
}
