// The yardstick for the viewer's start-up: a bare Qt 6 window of the same
// size with a menu bar and a white client area, reporting its first paint as
// the viewer does (PIDVIEW_REPORT_FIRST_PAINT).
#include <QApplication>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

class Client : public QWidget {
public:
    Client() { setFixedSize(794, 496); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Qt::white);
        if (!reported_ && qEnvironmentVariableIsSet("PIDVIEW_REPORT_FIRST_PAINT")) {
            reported_ = true;
            timespec now;
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stderr);
        }
    }

private:
    bool reported_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt window"));
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* bar = new QMenuBar(&window);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open"));
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), &application, &QApplication::quit);
    bar->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));
    layout->setMenuBar(bar);
    layout->addWidget(new Client);
    window.show();
    return application.exec();
}
