// Pointer and key events for the layer's in-process tests, sent through a
// shown window's Qt window as the window system sends them (Qt's own
// routing, enter and leave included), so that the tests stay free of Qt.
#pragma once

#include "../wintypes.h"

namespace user32::testing {

enum class Mouse { Move, Press, Release, DoubleClick };
enum Modifiers { kNoModifier = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

// A left-button event at the window's client point (x, y); a move is made
// with the button held when held is true.
void SendMouse(HWND hwnd, Mouse action, int x, int y, bool held = false, int modifiers = kNoModifier);
// The pointer leaves the window.
void SendLeave(HWND hwnd);

// Presses and releases a key sequence such as "Ctrl+W" on the window's client
// area: the modifiers go down first and up last, as on a keyboard. With
// repeats, the key repeats as a held key does. False for an unknown key.
bool TypeKeys(HWND hwnd, const char* sequence, int repeats = 0);

} // namespace user32::testing
