// The thread's message queue: posted messages in order, the quit request,
// and paint and timer messages made up for windows that wait for them.
#pragma once

#include "user32.h"

namespace user32 {

// Takes the next message for any window: a posted one, else the quit message
// (when takeQuit), else a paint, else a timer's. False when there is none.
bool TakeMessage(MSG& msg, bool takeQuit);

// Drops the messages posted to a window that no longer exists.
void ForgetMessagesOf(HWND hwnd);

} // namespace user32
