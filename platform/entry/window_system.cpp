// Starting Qt for the viewer's window.
#include "window_system.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace entry {
namespace {

// Qt's messages while it starts are held back: when it cannot start, one line
// of ours says why instead of its lines and its abort.
std::vector<QString> heldMessages;

[[noreturn]] void noWindow()
{
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QByteArray display = qgetenv("DISPLAY");
    std::fputs("pidview: cannot open a window: ", stderr);
    if (!platform.isEmpty())
        std::fprintf(stderr, "Qt's platform \"%s\" does not start\n", platform.constData());
    else if (display.isEmpty())
        std::fputs("no display (DISPLAY is not set)\n", stderr);
    else
        std::fprintf(stderr, "cannot connect to the display \"%s\"\n", display.constData());
    std::fflush(stderr);
    std::_Exit(1); // Qt is half made: nothing of it may run again
}

void holdWhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg)
        noWindow();
    heldMessages.push_back(qFormatLogMessage(type, context, message));
}

// Qt's dialogs and buttons in the user's language; the program's own texts
// stay as they are.
void loadTranslations(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

// The icon the package installs, on every window (_NET_WM_ICON): the hicolor
// images beside the installed program, all their sizes (the theme's lookup
// hands the window only some of them), else the icon theme's. Run from the
// build tree there are none, and the window system's default stays.
void setInstalledIcon(QApplication& application)
{
    QIcon installed;
    QDir icons(QCoreApplication::applicationDirPath() + QStringLiteral("/" PIDVIEW_ICONS_FROM_BIN));
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QString file = icons.filePath(QStringLiteral("%1x%1/apps/pidview.png").arg(size));
        if (QFileInfo::exists(file))
            installed.addFile(file, QSize(size, size));
    }
    QIcon icon = installed.availableSizes().isEmpty() ? QIcon::fromTheme(QStringLiteral("pidview")) : installed;
    if (!icon.availableSizes().isEmpty())
        application.setWindowIcon(icon);
}

} // namespace

std::unique_ptr<QApplication> StartWindowSystem()
{
    // Qt takes no options of its own from the user's command line (a file
    // named like one stays a file): its argv is the program's name, which
    // with the application name makes the window's WM_CLASS "pidview".
    static int argc = 1;
    static char name[] = "pidview";
    static char* argv[] = {name, nullptr};
    QCoreApplication::setApplicationName(QStringLiteral("pidview"));
    // The desktop entry pidview.desktop: its icon in the task bar.
    QGuiApplication::setDesktopFileName(QStringLiteral("pidview"));
    // Whole-number scaling on dense screens, so the page's pixels stay sharp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);

    QtMessageHandler previous = qInstallMessageHandler(holdWhileStarting);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString& message : heldMessages)
        std::fprintf(stderr, "%s\n", qPrintable(message));
    heldMessages.clear();
    loadTranslations(*application);
    setInstalledIcon(*application);
    return application;
}

} // namespace entry
