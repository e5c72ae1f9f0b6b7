// The client area's Qt events sorted into the keyboard's, the pointer's and
// the focus's messages, and the window that has the focus.
#include "client_input.h"

#include "frame.h"
#include "window.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace user32 {
namespace {

// The window that had the keys last.
HWND focusWindow = nullptr;

// The window, dialog or control whose widget takes the keys.
HWND WindowOfWidget(const QWidget* widget)
{
    if (widget == nullptr)
        return nullptr;
    for (Window* window : LiveWindows()) {
        if (ClientWidget(window->handle()) == widget)
            return window->handle();
    }
    return nullptr;
}

// WM_KILLFOCUS to the window that loses the keys (wParam the one that takes
// them), WM_SETFOCUS to the one that takes them (wParam the one that had
// them). A menu taking the keys while it is open changes nothing.
void FocusChanged(HWND hwnd, const QFocusEvent& event)
{
    if (event.reason() == Qt::PopupFocusReason)
        return;
    if (event.gotFocus()) {
        HWND previous = focusWindow != hwnd && FindWindowObject(focusWindow) != nullptr ? focusWindow : nullptr;
        focusWindow = hwnd;
        SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    } else {
        HWND next = WindowOfWidget(QApplication::focusWidget());
        SendMessageA(hwnd, WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
    }
}

} // namespace

bool ClientAreaEvent(HWND hwnd, QWidget* client, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return MouseEvent(hwnd, client, static_cast<QMouseEvent*>(event));
    case QEvent::Wheel:
        return WheelEvent(hwnd, static_cast<QWheelEvent*>(event));
    case QEvent::Leave:
        PointerLeft(hwnd);
        return false;
    // Tab and Shift+Tab too: there is nothing to move the focus to.
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return KeyEvent(hwnd, static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        FocusChanged(hwnd, *static_cast<QFocusEvent*>(event));
        return false;
    default:
        return false;
    }
}

} // namespace user32

using namespace user32;

HWND WINAPI GetFocus()
{
    return WindowOfWidget(QApplication::focusWidget());
}

BOOL WINAPI IsIconic(HWND hWnd)
{
    Window* window = FindWindowObject(hWnd);
    return window != nullptr && window->kind == Window::Kind::TopLevel && OwnerWidget(hWnd)->isMinimized();
}
