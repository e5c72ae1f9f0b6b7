// The one platform header the program includes. On Windows it is the real API;
// elsewhere it declares the part of the Win32 API the program calls, which the
// libraries under platform/ provide.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <windowsx.h> // GET_X_LPARAM, GET_Y_LPARAM
#else
#include "wintypes.h"
#include "kernel32/kernel32.h"
#include "gdi32/gdi32.h"
#include "user32/wsprintf.h"
#include "user32/user32.h"
#include "comdlg32/comdlg32.h"
#include "shell32/shell32.h"
#include "winspool/winspool.h"
#endif
