// SHELL32: files dropped on a window from a file manager.
#pragma once

#include "../wintypes.h"

DECLARE_HANDLE(HDROP);

#define WM_DROPFILES 0x0233

// A window that accepts files gets WM_DROPFILES with an HDROP in wParam for
// each drop; the procedure reads the names and frees it with DragFinish.
void WINAPI DragAcceptFiles(HWND hWnd, BOOL fAccept);
// iFile 0xFFFFFFFF: the number of files. lpszFile NULL: the length of name
// iFile without its terminator. Else copies the name, cut to cch - 1 bytes,
// and returns the bytes copied.
UINT WINAPI DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);
void WINAPI DragFinish(HDROP hDrop);
