// The thread's key state, as GetKeyState reports it: set from each input
// message as the program takes it from the queue, so that it tells the keys
// and buttons held when that message was made, not now.
#pragma once

#include "user32.h"

#include <string>

namespace user32 {

// What an input message carries besides its parameters: the buttons and
// modifiers held when it was made, and the characters its key typed.
struct InputState {
    WORD mouseKeys = 0; // MK_ flags: buttons, Shift, Ctrl
    bool alt = false;
    std::u16string text; // for TranslateMessage
    // A held button's move or release outside the client area while no
    // window had the capture: it is the window's only if it has taken the
    // capture by the time the message is taken.
    bool outside = false;
};

// The program takes msg from the queue: the key state becomes the message's.
void TakeInputState(const MSG& msg, const InputState& state);

// The MK_ flags of the key state now (the buttons and Shift and Ctrl).
WORD MouseKeysNow();

} // namespace user32
