// The tuning command and the tuning windows: the suggestion of
// analysis/tuning for the main window's run, shown through the comparison
// window's code. Each window keeps, in a small table keyed by its handle,
// the run it shows, its tau_c and the last suggestion it showed; the output
// limit the user gives holds for every window while the program runs.
#include "tune.h"

#include "compare.h"
#include "pidview.h"
#include "resource.h"

#include "../picture/tune_chart.h"

#include <string.h>

#define MAX_TUNE_WINDOWS 16

static CHAR szTuneCaption[] = "調整の提案";
static CHAR szNoSuggestion[] = "調整を提案できません。";
static CHAR szNoWindow[] = "これ以上ウィンドウを開けません。";
static CHAR szDocName[] = "PID制御 調整の提案";

typedef struct tagTUNEWINDOW {
    HWND hwnd;
    UINT uTauC;              // IDM_TUNE_FAST, _STANDARD or _GENTLE
    MEASRECORD rec;          // the run it shows
    CHAR szName[MAX_PATH];   // ... under this name
    TUNING tune;             // its suggestion, or the reason there is none
    BOOL bShown;             // shown holds the last suggestion shown
    TUNING shown;
    BOOL bPrevious;          // the run was made with a setting of shown
    TUNESHOWN previous;
} TUNEWINDOW;

static TUNEWINDOW twWindows[MAX_TUNE_WINDOWS];
// The output limit given (0: found from each run), and the tau_c a new
// window starts with: the last one chosen.
static double dOutputLimit;
static UINT uTauCChosen = IDM_TUNE_FAST;

static TUNEWINDOW* FindTuneWindow(HWND hwnd)
{
    for (int i = 0; i < MAX_TUNE_WINDOWS; i++) {
        if (twWindows[i].hwnd == hwnd)
            return &twWindows[i];
    }
    return NULL;
}

static void Calc(const MEASRECORD* pRec, UINT uTauC, TUNING* pTune)
{
    TUNEOPTIONS opt;

    DefaultTuneOptions(&opt);
    opt.dTauC = 1.0 + (uTauC - IDM_TUNE_FAST);
    opt.dOutputLimit = dOutputLimit;
    CalcTuning(pRec, &opt, pTune);
}

// Whether the run was made with one of the settings shown last: then that
// setting's prediction, made again at the run's target and period by the
// model it came from, goes beside it.
static void FindPrevious(TUNEWINDOW* pWindow)
{
    const TUNESETTING* pSet[2] = {&pWindow->shown.pi, &pWindow->shown.pid};
    BOOL bGiven[2] = {pWindow->shown.bSuggestion, pWindow->shown.bPid};
    const MEASRECORD* pRec = &pWindow->rec;
    PREDICTION pred;

    pWindow->bPrevious = FALSE;
    for (int i = 0; i < 2 && pWindow->bShown && !pWindow->bPrevious; i++) {
        if (!bGiven[i] || pSet[i]->iProp != pRec->iPramProp || pSet[i]->iInt != pRec->iPramInt
            || pSet[i]->iDiff != pRec->iPramDiff)
            continue;
        TUNESHOWN* p = &pWindow->previous;
        p->tune = pWindow->shown;
        p->set = *pSet[i];
        PredictRun(&p->tune.model, pRec, p->set.iProp, p->set.iInt, p->set.iDiff, FALSE, &pred, &p->set.recPredicted);
        CalcSpeedFigures(&p->set.recPredicted, pred.dSpeed, &p->set.fig);
        wsprintfA(p->szCurve, "%s (%s)", szTuneCurveNames[TUNE_PREVIOUS], i == 0 ? "PI" : "PID");
        pWindow->bPrevious = TRUE;
    }
}

// The window's set, caption and copy, from what it holds.
static void ShowTuneWindow(TUNEWINDOW* pWindow, BOOL bOpen)
{
    // Some 25 KB in all: kept off the stack.
    static COMPARESET set;
    static CHAR szCopy[COMPARE_COPY_SIZE];
    CHAR szCaption[MAX_PATH + 64];
    const TUNESHOWN* pPrevious = pWindow->bPrevious ? &pWindow->previous : NULL;

    MakeTuneChart(&pWindow->rec, &pWindow->tune, pPrevious != NULL ? &pPrevious->set.recPredicted : NULL, &set);
    MakeTuneCopy(&pWindow->tune, &pWindow->rec, pWindow->szName, pPrevious, szCopy);
    if (pWindow->szName[0] != '\0')
        wsprintfA(szCaption, "%s - %s - PID制御計測データ表示", szTuneCaption, pWindow->szName);
    else
        wsprintfA(szCaption, "%s - PID制御計測データ表示", szTuneCaption);
    if (bOpen)
        pWindow->hwnd = OpenChartWindow(szTuneClass, &set, szCaption, szDocName, szCopy);
    else
        ReplaceChartWindow(pWindow->hwnd, &set, szCaption, szCopy);
    if (pWindow->hwnd == NULL)
        return;
    CheckMenuRadioItem(GetMenu(pWindow->hwnd), IDM_TUNE_FAST, IDM_TUNE_GENTLE, pWindow->uTauC, MF_BYCOMMAND);
    if (pWindow->tune.bSuggestion) {
        pWindow->shown = pWindow->tune;
        pWindow->bShown = TRUE;
    }
}

void TuneCommand(HWND hwnd)
{
    TUNEWINDOW* pWindow = FindTuneWindow(NULL);
    static TUNING tune;
    MEASRECORD rec;
    CHAR szText[MAX_PATH + TUNE_TEXT_SIZE];

    GetMeasRecord(&rec);
    Calc(&rec, uTauCChosen, &tune);
    if (!tune.bSuggestion) {
        wsprintfA(szText, "%s\n%s", szNoSuggestion, tune.szReason);
        MessageBoxA(hwnd, szText, szTuneCaption, MB_ICONINFORMATION | MB_OK);
        return;
    }
    if (pWindow != NULL) {
        memset(pWindow, 0, sizeof(*pWindow));
        pWindow->uTauC = uTauCChosen;
        pWindow->rec = rec;
        pWindow->tune = tune;
        GetShownName(pWindow->szName, sizeof(pWindow->szName));
        ShowTuneWindow(pWindow, TRUE);
    }
    if (pWindow == NULL || pWindow->hwnd == NULL)
        MessageBoxA(hwnd, szNoWindow, szTuneCaption, MB_ICONSTOP | MB_OK);
}

// Fits the window's run again, with its tau_c and the limit as they are now.
static void Refit(TUNEWINDOW* pWindow)
{
    Calc(&pWindow->rec, pWindow->uTauC, &pWindow->tune);
    ShowTuneWindow(pWindow, FALSE);
}

void TuneWindowCommand(HWND hwnd, UINT uCommand)
{
    TUNEWINDOW* pWindow = FindTuneWindow(hwnd);
    double dLimit;

    if (pWindow == NULL)
        return;
    switch (uCommand) {
    case IDM_TUNE_FAST:
    case IDM_TUNE_STANDARD:
    case IDM_TUNE_GENTLE:
        pWindow->uTauC = uTauCChosen = uCommand;
        Refit(pWindow);
        return;
    case IDM_TUNE_LIMIT:
        dLimit = dOutputLimit;
        if (!AskOutputLimit(hwnd, &dLimit))
            return;
        dOutputLimit = dLimit;
        for (int i = 0; i < MAX_TUNE_WINDOWS; i++) {
            if (twWindows[i].hwnd != NULL)
                Refit(&twWindows[i]);
        }
        return;
    }
}

void TuneWindowClosed(HWND hwnd)
{
    TUNEWINDOW* pWindow = hwnd != NULL ? FindTuneWindow(hwnd) : NULL;

    if (pWindow != NULL)
        pWindow->hwnd = NULL;
}

// The same run: its settings, samples and final values (a refused file
// leaves its header in the record and nothing else).
static BOOL SameRun(const MEASRECORD* pA, const MEASRECORD* pB)
{
    return pA->iPramRotate == pB->iPramRotate && pA->iPramProp == pB->iPramProp && pA->iPramInt == pB->iPramInt
        && pA->iPramDiff == pB->iPramDiff && pA->iPramSamp == pB->iPramSamp
        && memcmp(pA->cMeasData, pB->cMeasData, sizeof(pA->cMeasData)) == 0 && pA->iMeasTime == pB->iMeasTime
        && pA->iMeasRotate == pB->iMeasRotate && pA->iOpeOut0 == pB->iOpeOut0;
}

void TuneFollowRun(void)
{
    MEASRECORD rec;
    CHAR szName[MAX_PATH];

    GetMeasRecord(&rec);
    GetShownName(szName, sizeof(szName));
    for (int i = 0; i < MAX_TUNE_WINDOWS; i++) {
        TUNEWINDOW* pWindow = &twWindows[i];
        if (pWindow->hwnd == NULL || (SameRun(&pWindow->rec, &rec) && strcmp(pWindow->szName, szName) == 0))
            continue;
        pWindow->rec = rec;
        memcpy(pWindow->szName, szName, sizeof(szName));
        Calc(&rec, pWindow->uTauC, &pWindow->tune);
        FindPrevious(pWindow);
        ShowTuneWindow(pWindow, FALSE);
    }
}
