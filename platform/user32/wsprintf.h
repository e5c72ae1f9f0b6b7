// wsprintfA: the USER32 formatter, kept apart from the window layer so that
// the page can be drawn without a window system.
#pragma once

#include "../wintypes.h"

#define WINAPIV

// Writes at most 1024 bytes including the terminator, as USER32 does; returns
// the number of bytes written without the terminator.
int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...);
