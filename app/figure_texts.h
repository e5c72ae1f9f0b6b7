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
