// The Compare command: several runs chosen together, each shown in a window
// of its own class with the comparison chart, which it can print.
#pragma once

#include "../platform/win32.h"
#include "../picture/compare.h"

extern CHAR szCompareClass[];

void CompareCommand(HWND hwnd);

// A comparison window for the runs of *pSet (copied); NULL when no more
// windows can be opened or the window cannot be made.
HWND OpenCompareWindow(const COMPARESET* pSet);
LRESULT CALLBACK CompareWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Prints the chart enlarged and centred on one page of the default printer.
void PrintCompare(HWND hwnd, const COMPARESET* pSet);
