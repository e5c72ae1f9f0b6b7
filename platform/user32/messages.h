// The thread's message queue: posted messages in order, then keyboard and
// mouse input in order, the quit request, and paint and timer messages made
// up for windows that wait for them.
#pragma once

#include "key_state.h"
#include "user32.h"

namespace user32 {

// Takes the next message for any window: a posted one, else an input
// message, else the quit message (when takeQuit), else a paint, else a
// timer's. False when there is none.
bool TakeMessage(MSG& msg, bool takeQuit);

// Drops the messages posted to a window that no longer exists.
void ForgetMessagesOf(HWND hwnd);

// Keyboard and mouse messages (WM_KEYFIRST..WM_KEYLAST, WM_MOUSEFIRST..
// WM_MOUSELAST), which a window disabled by a modal dialog never gets.
bool IsUserInput(UINT message);

// Queues an input message (or WM_MOUSELEAVE, which must not overtake the
// moves before it) with the state of the keys and buttons at its making;
// pt is the pointer in screen coordinates.
void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, POINT pt, InputState state = {});

// mouse.cpp: a message made outside the client area is taken while its
// window has not captured the pointer: it is dropped, and the pointer has
// left that window.
void OutsideMessageDropped(const MSG& msg);

} // namespace user32
