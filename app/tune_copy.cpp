// The tuning window's copy for a spreadsheet: a header, then a row for each
// curve the window names (the measured run and the prediction made before
// it, where there is one; each suggestion, or why there is none), with what
// recomputes the rule: the model, the sampling period, theta_e, tau_c, the
// limit and the peak outputs.
#include "tune.h"

#include "compare.h"
#include "figure_texts.h"
#include "pidview.h"

#include "../analysis/decimals.h"
#include "../picture/tune_chart.h"

static CHAR szCopyHeader[][24] = {"ファイル", "曲線", "Kp[%]", "Ti[ms]", "Td[ms]", "行過ぎ[%]", "整定[s]",
                                  "K[100rpm/制御則の出力]", "τ[s]", "θ[s]", "誤差RMS[rpm]", "注意", "周期[ms]",
                                  "θe[s]", "τc[s]", "出力上限", "ピーク出力", "今回ピーク出力", "τ2[s]"};
#define COPY_COLUMNS (int)(sizeof(szCopyHeader) / sizeof(szCopyHeader[0]))

// One row being written: the text and its length.
typedef struct tagCOPYROW {
    LPSTR psz;
    int iLen;
} COPYROW;

static void Cell(COPYROW* pRow, LPCSTR lpszCell)
{
    pRow->iLen = AppendCopyCell(pRow->psz, pRow->iLen, COMPARE_COPY_SIZE, lpszCell, FALSE);
}

static void LastCell(COPYROW* pRow, LPCSTR lpszCell)
{
    pRow->iLen = AppendCopyCell(pRow->psz, pRow->iLen, COMPARE_COPY_SIZE, lpszCell, TRUE);
}

// A number with its sign, or "" where there is none.
static void SignedText(LPSTR psz, BOOL bHas, double d, int iDecimals)
{
    psz[0] = '\0';
    if (!bHas)
        return;
    psz[0] = '-';
    FormatFixed(psz + (d < 0.0 ? 1 : 0), d < 0.0 ? -d : d, iDecimals);
}

static void NumberCell(COPYROW* pRow, BOOL bHas, double d, int iDecimals)
{
    CHAR szNumber[DECIMAL_TEXT_SIZE + 1];

    SignedText(szNumber, bHas, d, iDecimals);
    Cell(pRow, szNumber);
}

static void IntegerCell(COPYROW* pRow, BOOL bHas, LONGLONG ll)
{
    CHAR szNumber[DECIMAL_TEXT_SIZE];

    szNumber[0] = '\0';
    if (bHas)
        FormatInteger(szNumber, ll);
    Cell(pRow, szNumber);
}

// The settings of a curve and its figures.
static void SettingCells(COPYROW* pRow, BOOL bHas, int iProp, int iInt, int iDiff, const STEPFIGURES* pFig)
{
    IntegerCell(pRow, bHas, iProp);
    IntegerCell(pRow, bHas, 10LL * iInt);
    IntegerCell(pRow, bHas, 10LL * iDiff);
    NumberCell(pRow, bHas && pFig->bOvershoot, pFig->dOvershootPct, 1);
    NumberCell(pRow, bHas && pFig->bSettling, pFig->dSettlingS, 3);
}

// The model a prediction rests on, the note, and what recomputes the rule.
static void ModelCells(COPYROW* pRow, const TUNING* pTune, LPCSTR lpszNote, BOOL bPeak, double dPeakOut)
{
    const MOTORMODEL* pModel = &pTune->model;
    CHAR szTau2[DECIMAL_TEXT_SIZE + 1];

    NumberCell(pRow, pModel->bModel, pModel->dGain, 3);
    NumberCell(pRow, pModel->bModel, pModel->dTauS, 4);
    NumberCell(pRow, pModel->bModel, pModel->dThetaS, 4);
    NumberCell(pRow, pModel->bModel, pModel->dRmsRpm, 0);
    Cell(pRow, lpszNote);
    IntegerCell(pRow, TRUE, 10LL * pTune->recReplay.iPramSamp);
    NumberCell(pRow, pModel->bModel, pTune->dThetaES, 4);
    NumberCell(pRow, pModel->bModel, pTune->dTauCS, 4);
    NumberCell(pRow, pModel->bLimit, pModel->dLimit, 3);
    NumberCell(pRow, bPeak, dPeakOut, 3);
    NumberCell(pRow, pModel->bModel, pModel->dRunPeakOut, 3);
    SignedText(szTau2, pModel->bModel, pModel->dTau2S, 4);
    LastCell(pRow, szTau2);
}

static void StartRow(COPYROW* pRow, LPCSTR lpszName, LPCSTR lpszCurve)
{
    Cell(pRow, lpszName);
    Cell(pRow, lpszCurve);
}

void MakeTuneCopy(const TUNING* pTune, const MEASRECORD* pRec, LPCSTR lpszName, const TUNESHOWN* pPrevious,
                  LPSTR pszCopy)
{
    COPYROW row = {pszCopy, 0};
    STEPFIGURES fig;

    pszCopy[0] = '\0';
    for (int i = 0; i < COPY_COLUMNS; i++)
        (i + 1 < COPY_COLUMNS ? Cell : LastCell)(&row, szCopyHeader[i]);
    if (pPrevious != NULL) {
        CalcStepFigures(pRec, &fig);
        StartRow(&row, lpszName, szTuneCurveNames[TUNE_MEASURED]);
        SettingCells(&row, TRUE, pRec->iPramProp, pRec->iPramInt, pRec->iPramDiff, &fig);
        ModelCells(&row, pTune, "", FALSE, 0.0);
        StartRow(&row, lpszName, pPrevious->szCurve);
        SettingCells(&row, TRUE, pPrevious->set.iProp, pPrevious->set.iInt, pPrevious->set.iDiff, &pPrevious->set.fig);
        ModelCells(&row, &pPrevious->tune, pPrevious->set.szWarning, TRUE, pPrevious->set.dPeakOut);
    }
    StartRow(&row, lpszName, szTuneCurveNames[TUNE_PI]);
    SettingCells(&row, pTune->bSuggestion, pTune->pi.iProp, pTune->pi.iInt, pTune->pi.iDiff, &pTune->pi.fig);
    ModelCells(&row, pTune, pTune->bSuggestion ? pTune->pi.szWarning : pTune->szReason, pTune->bSuggestion,
               pTune->pi.dPeakOut);
    StartRow(&row, lpszName, szTuneCurveNames[TUNE_PID]);
    SettingCells(&row, pTune->bPid, pTune->pid.iProp, pTune->pid.iInt, pTune->pid.iDiff, &pTune->pid.fig);
    ModelCells(&row, pTune, pTune->bPid ? pTune->pid.szWarning : pTune->szReason, pTune->bPid, pTune->pid.dPeakOut);
}
