// Waiting for the window system, and the modal loops of dialogs and message
// boxes, which go on delivering the program's own messages.
#pragma once

#include "../wintypes.h"

#include <functional>

namespace user32 {

// Lets the window system deliver its events, waiting for at least one.
// Returns false when there is no application to wait in.
bool WaitForEvents();

// Runs until finished() is true or the owner is destroyed: window-system
// events, posted messages and paints are delivered; a quit message is left
// for the main loop. The owner takes no input meanwhile.
void RunModalLoop(HWND owner, const std::function<bool()>& finished);

} // namespace user32
