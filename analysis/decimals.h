// Figures as plain decimal texts, made in integer arithmetic: wsprintfA has
// no %f (nor, everywhere, a 64-bit field), and the C library's %f follows
// the locale, which prints a comma in some.
#pragma once

#include "../platform/win32.h"

// What a text shows for a figure a run does not have: "―" (U+2015), which
// code page 932 has as 0x815C, where it has no U+2014. Spelled in bytes: a
// header's literals are not converted to code page 932 in every build.
#define NO_FIGURE_TEXT "\x81\x5C"

// The longest text: the IAE of stored extremes, 22 digits and a decimal.
#define DECIMAL_TEXT_SIZE 32

// llValue in whole digits, a minus sign first when negative; returns the
// text's length.
int FormatInteger(LPSTR psz, LONGLONG llValue);
// d (not negative, below 10^24) rounded to iDecimals decimals (0 to 4);
// anything else gives an empty text. Returns the text's length.
int FormatFixed(LPSTR psz, double d, int iDecimals);
