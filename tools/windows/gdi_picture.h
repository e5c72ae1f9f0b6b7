// The real GDI's drawing of one of the program's pictures (the page, the
// comparison chart) into an 800 x 540 white 32-bit DIB section, written as a
// BMP: the Windows counterpart of pidpage. The cells file lists the opaque
// cell of every text the picture drew, as the real GDI's default font makes
// it and as an 8/16-pixel-wide, 16-row cell makes it, so that two pictures
// drawn with different fonts can be compared outside their texts.
#pragma once

#include <windows.h>

// Draws the picture on a context from the caller's data.
typedef void (*DrawPicture)(HDC hdc, const void* data);

// Draws into the DIB section and writes output (and cells, when not null);
// returns the exit status, having told standard error why when it is 1.
int WriteGdiPicture(const char* program, DrawPicture draw, const void* data, const char* output, const char* cells);
