// Test input over Qt: mouse and leave events through the window's
// QWindow, key events to the client area, as X11 delivers them.
#include "testing_input.h"

#include "frame.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace user32::testing {
namespace {

Qt::KeyboardModifiers QtModifiers(int modifiers)
{
    Qt::KeyboardModifiers result;
    result.setFlag(Qt::ShiftModifier, (modifiers & kShift) != 0);
    result.setFlag(Qt::ControlModifier, (modifiers & kCtrl) != 0);
    result.setFlag(Qt::AltModifier, (modifiers & kAlt) != 0);
    return result;
}

// The client point in the coordinates of the top-level Qt window, and on the
// screen.
struct Where {
    QWindow* window;
    QPointF local;
    QPointF global;
};
Where At(HWND hwnd, int x, int y)
{
    QWidget* client = ClientWidget(hwnd);
    QWidget* top = client->window();
    return Where{top->windowHandle(), QPointF(client->mapTo(top, QPoint(x, y))),
                 QPointF(client->mapToGlobal(QPoint(x, y)))};
}

// What the key types on a US keyboard: control characters with Ctrl.
QString TextOf(int key, Qt::KeyboardModifiers modifiers)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        if (modifiers & Qt::ControlModifier)
            return QString(QChar(key - Qt::Key_A + 1));
        return QString(QChar(modifiers & Qt::ShiftModifier ? key : key - Qt::Key_A + 'a'));
    }
    if (key == Qt::Key_Escape)
        return QStringLiteral("\x1b");
    return key >= Qt::Key_Space && key < 0x7F ? QString(QChar(key)) : QString();
}

// The press of a second click as the window system makes it: it marks the
// widget pressed without reaching it; the double click that follows does.
class SecondPress : public QMouseEvent {
public:
    SecondPress(QPointF local, QPointF global, Qt::KeyboardModifiers modifiers)
        : QMouseEvent(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, modifiers)
    {
        m_doubleClick = true;
    }
};

void SendKey(QWidget* client, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, bool repeat = false)
{
    QKeyEvent event(type, key, modifiers, type == QEvent::KeyPress ? TextOf(key, modifiers) : QString(), repeat);
    QCoreApplication::sendEvent(client, &event);
}

} // namespace

void SendMouse(HWND hwnd, Mouse action, int x, int y, bool held, int modifiers)
{
    static const QEvent::Type types[] = {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                         QEvent::MouseButtonDblClick};
    Where at = At(hwnd, x, y);
    // The pointer enters before it moves over the window.
    if (action == Mouse::Move && !ClientWidget(hwnd)->underMouse()) {
        QEnterEvent enter(at.local, at.local, at.global);
        QCoreApplication::sendEvent(at.window, &enter);
    }
    if (action == Mouse::DoubleClick) {
        SecondPress press(at.local, at.global, QtModifiers(modifiers));
        QCoreApplication::sendEvent(at.window, &press);
    }
    bool down = action == Mouse::Press || action == Mouse::DoubleClick || (action == Mouse::Move && held);
    QMouseEvent event(types[static_cast<int>(action)], at.local, at.global,
                      action == Mouse::Move ? Qt::NoButton : Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                      QtModifiers(modifiers));
    QCoreApplication::sendEvent(at.window, &event);
}

void SendLeave(HWND hwnd)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(At(hwnd, 0, 0).window, &leave);
}

bool TypeKeys(HWND hwnd, const char* sequence, int repeats)
{
    QKeySequence keys = QKeySequence::fromString(QString::fromLatin1(sequence));
    QWidget* client = ClientWidget(hwnd);
    if (keys.isEmpty() || client == nullptr)
        return false;
    int key = keys[0].key();
    Qt::KeyboardModifiers all = keys[0].keyboardModifiers();
    static const std::pair<Qt::KeyboardModifier, int> modifierKeys[] = {
        {Qt::ControlModifier, Qt::Key_Control}, {Qt::AltModifier, Qt::Key_Alt}, {Qt::ShiftModifier, Qt::Key_Shift}};
    Qt::KeyboardModifiers held;
    for (auto [modifier, modifierKey] : modifierKeys) {
        if (all & modifier) {
            held |= modifier;
            SendKey(client, QEvent::KeyPress, modifierKey, held);
        }
    }
    SendKey(client, QEvent::KeyPress, key, all);
    for (int i = 0; i < repeats; ++i) {
        SendKey(client, QEvent::KeyRelease, key, all, true);
        SendKey(client, QEvent::KeyPress, key, all, true);
    }
    SendKey(client, QEvent::KeyRelease, key, all);
    for (auto [modifier, modifierKey] : modifierKeys) {
        if (all & modifier)
            SendKey(client, QEvent::KeyRelease, modifierKey, held &= ~modifier);
    }
    return true;
}

} // namespace user32::testing
