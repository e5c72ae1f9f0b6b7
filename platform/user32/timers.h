// Window timers: each runs out on a Qt timer and is then due; the message
// queue makes a WM_TIMER of a due timer when nothing else waits.
#pragma once

#include "user32.h"

namespace user32 {

// A WM_TIMER of a due timer that passes the filter (a window, a message
// range), taken off if remove. False when none is due.
bool TakeDueTimer(MSG& msg, HWND hwnd, UINT first, UINT last, bool remove);

// Stops the timers of a window that is being destroyed.
void KillTimersOf(HWND hwnd);

} // namespace user32
