// The pointer's messages from Qt's mouse and wheel events: client
// coordinates and MK_ flags, double clicks by class style, the wheel's
// screen coordinates and delta, capture, leave tracking, and points between
// screen and client coordinates.
#include "client_input.h"

#include "../fixme.h"
#include "frame.h"
#include "messages.h"
#include "window.h"

#include <QCursor>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace user32 {
namespace {

HWND capture = nullptr;

// Each button's WM_xBUTTONDOWN (its up and double click follow it), and its
// MK_ flag.
struct ButtonMessages {
    Qt::MouseButton button;
    UINT down;
    WORD xbutton;
    WORD flag;
};
constexpr ButtonMessages kButtons[] = {{Qt::LeftButton, WM_LBUTTONDOWN, 0, MK_LBUTTON},
                                       {Qt::RightButton, WM_RBUTTONDOWN, 0, MK_RBUTTON},
                                       {Qt::MiddleButton, WM_MBUTTONDOWN, 0, MK_MBUTTON},
                                       {Qt::BackButton, WM_XBUTTONDOWN, XBUTTON1, MK_XBUTTON1},
                                       {Qt::ForwardButton, WM_XBUTTONDOWN, XBUTTON2, MK_XBUTTON2}};

} // namespace

InputState StateOf(const QInputEvent& event, Qt::MouseButtons buttons)
{
    WORD keys = 0;
    for (const ButtonMessages& each : kButtons) {
        if (buttons & each.button)
            keys |= each.flag;
    }
    Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        keys |= MK_CONTROL;
    return InputState{keys, (modifiers & Qt::AltModifier) != 0, {}};
}

namespace {

// The pixel a position falls in (a scaled screen may give fractions).
QPoint PixelOf(QPointF position)
{
    return QPoint(static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y())));
}

POINT ScreenPoint(QPointF global)
{
    QPoint pixel = PixelOf(global);
    return POINT{pixel.x(), pixel.y()};
}

// A signed 16-bit half of a parameter: a coordinate or a wheel's delta.
WORD SignedWord(int value)
{
    return static_cast<WORD>(static_cast<short>(std::clamp(value, -32768, 32767)));
}

LPARAM PointParameter(int x, int y)
{
    return MAKELPARAM(SignedWord(x), SignedWord(y));
}

// The one WM_MOUSELEAVE a window asked for.
void PostLeave(Window& window)
{
    if (!(window.mouseTracking & TME_LEAVE))
        return;
    window.mouseTracking = 0;
    PostInput(window.handle(), WM_MOUSELEAVE, 0, 0, ScreenPoint(QCursor::pos()));
}

bool PointerOver(HWND hwnd)
{
    QWidget* client = ClientWidget(hwnd);
    return client != nullptr && client->isVisible() && client->underMouse();
}

UINT MessageOf(const QMouseEvent& event, UINT classStyle, WORD& xbutton)
{
    if (event.type() == QEvent::MouseMove)
        return WM_MOUSEMOVE;
    for (const ButtonMessages& each : kButtons) {
        if (each.button != event.button())
            continue;
        xbutton = each.xbutton;
        switch (event.type()) {
        case QEvent::MouseButtonPress: return each.down;
        case QEvent::MouseButtonRelease: return each.down + 1;
        // Without CS_DBLCLKS the second click is a click like the first.
        default: return (classStyle & CS_DBLCLKS) ? each.down + 2 : each.down;
        }
    }
    layer::Fixme("mouse button 0x%x has no messages", static_cast<unsigned>(event.button()));
    return 0;
}

} // namespace

bool MouseEvent(HWND hwnd, QWidget* client, QMouseEvent* event)
{
    HWND target = FindWindowObject(capture) != nullptr ? capture : hwnd;
    Window* window = FindWindowObject(target);
    QWidget* targetClient = ClientWidget(target);
    if (window == nullptr || targetClient == nullptr)
        return false;
    QPoint at = target == hwnd ? PixelOf(event->position())
                               : targetClient->mapFromGlobal(PixelOf(event->globalPosition()));
    if (event->type() == QEvent::MouseButtonPress && !client->isActiveWindow())
        client->activateWindow(); // a click activates, with or without a window manager
    WORD xbutton = 0;
    UINT message = MessageOf(*event, window->classStyle, xbutton);
    if (message == 0)
        return true;
    InputState state = StateOf(*event, event->buttons());
    // Qt keeps sending a held button's moves outside; on Windows they go to
    // the window under the pointer unless this one has captured it, as it
    // may yet do when it handles the press before them.
    state.outside = target != capture && !client->rect().contains(at);
    PostInput(target, message, MAKEWPARAM(state.mouseKeys, xbutton), PointParameter(at.x(), at.y()),
              ScreenPoint(event->globalPosition()), state);
    return true;
}

// The wheel goes to the window under the pointer, as Windows does by default
// ("scroll inactive windows") and Qt does, in steps of WHEEL_DELTA a notch or
// finer; horizontal deltas count to the right.
bool WheelEvent(HWND hwnd, QWheelEvent* event)
{
    QPoint delta = event->angleDelta();
    POINT screen = ScreenPoint(event->globalPosition());
    InputState state = StateOf(*event, event->buttons());
    LPARAM where = PointParameter(screen.x, screen.y);
    if (delta.y() != 0)
        PostInput(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(state.mouseKeys, SignedWord(delta.y())), where, screen, state);
    if (delta.x() != 0)
        PostInput(hwnd, WM_MOUSEHWHEEL, MAKEWPARAM(state.mouseKeys, SignedWord(-delta.x())), where, screen, state);
    return true;
}

void OutsideMessageDropped(const MSG& msg)
{
    if (Window* window = FindWindowObject(msg.hwnd))
        PostLeave(*window);
}

// A window holding the capture keeps the pointer: its leave waits for the
// release.
void PointerLeft(HWND hwnd)
{
    Window* window = FindWindowObject(hwnd);
    if (window != nullptr && hwnd != capture)
        PostLeave(*window);
}

} // namespace user32

using namespace user32;

BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack)
{
    if (lpEventTrack == nullptr || lpEventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (lpEventTrack->dwFlags & TME_QUERY) {
        *lpEventTrack = TRACKMOUSEEVENT{sizeof(TRACKMOUSEEVENT), 0, nullptr, 0};
        for (Window* window : LiveWindows()) {
            if (window->mouseTracking != 0)
                *lpEventTrack = TRACKMOUSEEVENT{sizeof(TRACKMOUSEEVENT), window->mouseTracking, window->handle(), 0};
        }
        return TRUE;
    }
    Window* window = FindTopLevel(lpEventTrack->hwndTrack);
    if (window == nullptr)
        return FALSE;
    if (DWORD missing = lpEventTrack->dwFlags & (TME_HOVER | TME_NONCLIENT))
        layer::Fixme("TrackMouseEvent: TME_HOVER and TME_NONCLIENT (0x%x) are not provided", missing);
    if (!(lpEventTrack->dwFlags & TME_LEAVE))
        return TRUE;
    if (lpEventTrack->dwFlags & TME_CANCEL) {
        window->mouseTracking = 0;
        return TRUE;
    }
    window->mouseTracking = TME_LEAVE;
    // Asked for while the pointer is elsewhere: the leave comes at once.
    if (window->handle() != capture && !PointerOver(window->handle()))
        PostLeave(*window);
    return TRUE;
}

HWND WINAPI GetCapture()
{
    return FindWindowObject(capture) != nullptr ? capture : nullptr;
}

HWND WINAPI SetCapture(HWND hWnd)
{
    HWND previous = GetCapture();
    if (FindTopLevel(hWnd) == nullptr)
        return nullptr;
    capture = hWnd;
    if (previous != nullptr && previous != hWnd)
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return previous;
}

BOOL WINAPI ReleaseCapture()
{
    HWND previous = GetCapture();
    capture = nullptr;
    if (previous == nullptr)
        return TRUE;
    SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    // The pointer that left while captured has left now.
    Window* window = FindWindowObject(previous);
    if (window != nullptr && !PointerOver(previous))
        PostLeave(*window);
    return TRUE;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint)
{
    if (lpPoint == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    QPoint at = QCursor::pos();
    *lpPoint = POINT{at.x(), at.y()};
    return TRUE;
}

namespace {

// A point from screen to client coordinates or back, in place.
BOOL MapPoint(HWND hwnd, LPPOINT point, bool toScreen)
{
    QWidget* client = ClientWidget(hwnd);
    if (client == nullptr || point == nullptr) {
        SetLastError(client == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    QPoint at = toScreen ? client->mapToGlobal(QPoint(point->x, point->y))
                         : client->mapFromGlobal(QPoint(point->x, point->y));
    *point = POINT{at.x(), at.y()};
    return TRUE;
}

} // namespace

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    return MapPoint(hWnd, lpPoint, false);
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    return MapPoint(hWnd, lpPoint, true);
}
