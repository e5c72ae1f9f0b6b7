// The step-response figures of a run as the texts that the figures dialog
// shows and its copy button puts on the clipboard.
#pragma once

#include "../analysis/decimals.h"
#include "../analysis/stepfigures.h"

#define FIGURE_COUNT 12
#define FIGURE_TEXT_SIZE DECIMAL_TEXT_SIZE

// Label (with its unit) of each figure, in the order of the dialog's rows.
extern const LPCSTR szFigureLabels[FIGURE_COUNT];

typedef struct tagFIGURETEXTS {
    CHAR szValue[FIGURE_COUNT][FIGURE_TEXT_SIZE]; // "" where the run has none
} FIGURETEXTS;

// Plain decimals with a dot: seconds to the millisecond, percent and rpm s
// to one decimal, the rest whole numbers.
void MakeFigureTexts(const STEPFIGURES* pFig, FIGURETEXTS* pTexts);

// Appends a cell and the tab after it, or the line end after the last one,
// to the text of iLen bytes (iSize at most) and returns its new length; what
// does not fit is left out. A control character in the cell (a file name may
// hold a tab or a line end) becomes '?', so that it stays one cell.
int AppendCopyCell(LPSTR pszText, int iLen, int iSize, LPCSTR pszCell, BOOL bLast);
// The copy's header line ("ファイル" and each label) and a run's line (its
// name and values, an empty cell for a figure it does not have).
int AppendFigureHeader(LPSTR pszText, int iLen, int iSize);
int AppendFigureLine(LPSTR pszText, int iLen, int iSize, LPCSTR lpszName, const FIGURETEXTS* pTexts);
