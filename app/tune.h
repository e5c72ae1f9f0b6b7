// The tuning command: a suggestion for the run on screen, in a window of its
// own class with the comparison chart of the measured run, the model's
// replay and the predicted runs; or a message that says why there is none.
#pragma once

#include "../platform/win32.h"

void TuneCommand(HWND hwnd);
