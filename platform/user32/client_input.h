// Qt's input events on the client area of a top-level window, turned into
// the messages the real system makes for them.
#pragma once

#include "key_state.h"
#include "user32.h"

#include <QtCore/qnamespace.h>

class QEvent;
class QInputEvent;
class QFocusEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QWidget;

namespace user32 {

// Handles a mouse, wheel, key, leave or focus event of the client area of
// the window hwnd; false for what it leaves to Qt (menu mnemonics reach the
// menu bar as shortcuts before the client area sees the key).
bool ClientAreaEvent(HWND hwnd, QWidget* client, QEvent* event);

// The buttons and modifiers an event was made with, as its message's state.
InputState StateOf(const QInputEvent& event, Qt::MouseButtons buttons);

// keyboard.cpp: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP.
bool KeyEvent(HWND hwnd, QKeyEvent* event);

// mouse.cpp: the button messages and moves (to the capture when there is
// one), the wheel, and WM_MOUSELEAVE when the pointer leaves.
bool MouseEvent(HWND hwnd, QWidget* client, QMouseEvent* event);
bool WheelEvent(HWND hwnd, QWheelEvent* event);
void PointerLeft(HWND hwnd);

} // namespace user32
