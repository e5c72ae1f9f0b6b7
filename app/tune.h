// The tuning command: a suggestion for the run on screen, in a window of its
// own class with the comparison chart of the measured run, the model's
// replay and the predicted runs; or a message that says why there is none.
// An open tuning window follows the run on screen, keeping its choice of
// tau_c, the output limit the user gave (one for the program's life) and
// the last suggestion it showed, whose prediction it sets beside a run
// made with it.
#pragma once

#include "../platform/win32.h"
#include "../analysis/tuning.h"

void TuneCommand(HWND hwnd);
// The tuning window's own menu commands (調整), from its window procedure.
void TuneWindowCommand(HWND hwnd, UINT uCommand);
// The tuning window hwnd is going.
void TuneWindowClosed(HWND hwnd);
// The run on screen may have changed (a file opened, dropped, reloaded or
// followed): each open tuning window fits it if it did.
void TuneFollowRun(void);

// 出力上限: the dialog PIDLIMIT that asks for the output limit, in the
// law's units, starting from *pdLimit; TRUE where the user gave one (0 for
// "find it from the run"). Its procedure takes the double as its parameter.
BOOL AskOutputLimit(HWND hwnd, double* pdLimit);
INT_PTR CALLBACK HLimitDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// A suggestion a tuning window showed, predicted again for a run made with
// it: its curve's name ("前回の予測 (PI)"), the setting and its predicted
// run, and the suggestion it came from (its model).
typedef struct tagTUNESHOWN {
    CHAR szCurve[32];
    TUNESETTING set;
    TUNING tune;
} TUNESHOWN;

// The copy of a tuning window for the run *pRec named lpszName: a header
// and a row for each curve it names (the measured run and *pPrevious where
// it is not NULL, then the suggestions), tab-separated, within
// COMPARE_COPY_SIZE bytes.
void MakeTuneCopy(const TUNING* pTune, const MEASRECORD* pRec, LPCSTR lpszName, const TUNESHOWN* pPrevious,
                  LPSTR pszCopy);
