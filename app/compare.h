// The Compare command: several runs chosen together, each shown in a window
// of its own class with the comparison chart, which it can print.
#pragma once

#include "../platform/win32.h"
#include "../picture/compare.h"

#define COMPARE_DOCNAME_SIZE 64
#define COMPARE_COPY_SIZE 4096 // the figures of eight runs, their names and a readout

extern CHAR szCompareClass[];
extern CHAR szTuneClass[];

void CompareCommand(HWND hwnd);

// A comparison window for the runs of *pSet (copied); NULL when no more
// windows can be opened or the window cannot be made.
HWND OpenCompareWindow(const COMPARESET* pSet);
// A window of class lpszClass (szCompareClass, or szTuneClass with its copy
// command) showing the comparison chart of *pSet; its print job is named
// lpszDocName, its copy command puts lpszCopy on the clipboard.
HWND OpenChartWindow(LPCSTR lpszClass, const COMPARESET* pSet, LPCSTR lpszCaption, LPCSTR lpszDocName,
                     LPCSTR lpszCopy);
// What an open chart window shows (its range, cursor and marks); NULL for
// any other window.
const CHARTVIEW* FindChartView(HWND hwnd);
LRESULT CALLBACK CompareWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Prints the chart as the view shows it, enlarged and centred on one page of
// the default printer.
void PrintCompare(HWND hwnd, const COMPARESET* pSet, const CHARTVIEW* pView, LPCSTR lpszDocName);
// Shows *pSet (copied) in the open chart window hwnd instead, under a new
// caption and copy text, from its default range; FALSE where hwnd is no open
// chart window.
BOOL ReplaceChartWindow(HWND hwnd, const COMPARESET* pSet, LPCSTR lpszCaption, LPCSTR lpszCopy);
