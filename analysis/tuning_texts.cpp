// The suggestion's reasons, notes and warnings, composed in code page 932
// within TUNE_TEXT_SIZE bytes.
#include "tuning_texts.h"

#include "decimals.h"

#include <string.h>

// Appends lpszText to the text in psz (TUNE_TEXT_SIZE bytes), as far as it fits.
static void Append(LPSTR psz, LPCSTR lpszText)
{
    size_t n = strlen(psz);
    while (*lpszText != '\0' && n + 1 < TUNE_TEXT_SIZE)
        psz[n++] = *lpszText++;
    psz[n] = '\0';
}

// A number to iDecimals decimals, with its sign.
static void AppendNumber(LPSTR psz, double d, int iDecimals)
{
    CHAR szNumber[DECIMAL_TEXT_SIZE];
    FormatFixed(szNumber, d < 0.0 ? -d : d, iDecimals);
    if (d < 0.0 && szNumber[0] != '\0')
        Append(psz, "-");
    Append(psz, szNumber);
}

// An output of the law: one decimal, or three below 1.
static void AppendOutput(LPSTR psz, double d)
{
    AppendNumber(psz, d, d > -1.0 && d < 1.0 ? 3 : 1);
}

static void AppendStart(LPSTR psz, const MOTORMODEL* pModel)
{
    Append(psz, "測定開始時に回転数が 0 ではありません (");
    AppendNumber(psz, 100.0 * pModel->iFirstSample, 0);
    Append(psz, " rpm)。");
}

void MakeFitReason(int iOutcome, const MEASRECORD* pRec, const MOTORMODEL* pModel, LPSTR psz)
{
    psz[0] = '\0';
    if (pModel->iFirstSample > 0 && (iOutcome == FIT_POOR || iOutcome == FIT_LATE_START))
        AppendStart(psz, pModel);
    switch (iOutcome) {
    case FIT_NO_PERIOD:
        Append(psz, "サンプリング周期が 0 以下です。");
        break;
    case FIT_NO_TARGET:
        Append(psz, "目標回転数が 0 以下です。");
        break;
    case FIT_NO_GAIN:
        Append(psz, "Kp が 0 以下です。");
        break;
    case FIT_FEW_SAMPLES:
        Append(psz, "有効なサンプルが ");
        AppendNumber(psz, pModel->nSamples, 0);
        Append(psz, " 点しかありません (");
        AppendNumber(psz, TUNE_MIN_SAMPLES, 0);
        Append(psz, " 点以上必要です)。");
        break;
    case FIT_NO_RESPONSE:
        Append(psz, "回転数がほとんど変化していません。");
        break;
    case FIT_NOT_DRIVEN:
        Append(psz, "回転数が制御出力に応じて変化していません。");
        break;
    case FIT_TAU_SHORT:
        Append(psz, "モータの応答がサンプリング周期に比べて速すぎ、時定数を求められません。");
        break;
    case FIT_TAU_LONG:
        Append(psz, "モータの時定数が測定時間に比べて長すぎ、求められません。");
        break;
    case FIT_DELAY_LONG:
        Append(psz, "むだ時間が測定時間に比べて長すぎ、求められません。");
        break;
    case FIT_POOR:
        Append(psz, "モデルの誤差 (RMS ");
        AppendNumber(psz, pModel->dRmsRpm, 0);
        Append(psz, " rpm) が許容値 (");
        AppendNumber(psz, TuneRmsLimit(pRec), 0);
        Append(psz, " rpm) を超えています。");
        if (pModel->bLimit) {
            Append(psz, "出力の飽和 (上限 ");
            AppendOutput(psz, pModel->dLimit);
            Append(psz, pModel->bLimitFound ? ") を考えても、" : ", 指定) を考えても、");
        } else {
            Append(psz, "出力が飽和したか、");
        }
        Append(psz, "モータが一次または二次遅れとむだ時間で表せません。");
        break;
    case FIT_LATE_START:
        Append(psz, "いつ始まった運転か求められません。");
        break;
    case FIT_LIMIT_UNCLEAR:
        Append(psz, "出力が約 ");
        AppendOutput(psz, pModel->dLimit);
        Append(psz, " で飽和していたかどうか測定から見分けられず、調整値が定まりません。駆動装置の出力上限を指定すれば求められます。");
        break;
    case FIT_REPLAY_DIVERGED:
        Append(psz, "モデルでは今回の設定の応答が発散し、測定された応答を表せません。");
        break;
    }
}

void MakeFitNote(const MOTORMODEL* pModel, LPSTR psz)
{
    psz[0] = '\0';
    if (pModel->bLimitFound) {
        Append(psz, "出力が約 ");
        AppendOutput(psz, pModel->dLimit);
        Append(psz, " で飽和していました。");
    } else if (pModel->bLimit) {
        Append(psz, "出力上限 ");
        AppendOutput(psz, pModel->dLimit);
        Append(psz, " (指定) で計算しています。");
    }
    if (pModel->bLateStart) {
        Append(psz, psz[0] != '\0' ? " " : "");
        Append(psz, "測定開始時 ");
        AppendNumber(psz, 100.0 * pModel->iFirstSample, 0);
        Append(psz, " rpm: 測定の ");
        AppendNumber(psz, pModel->nHidden, 0);
        Append(psz, " 周期前に始まった運転とみなしました。");
    }
}

void MakeTuneReason(int iReason, TUNING* pTune)
{
    pTune->szReason[0] = '\0';
    switch (iReason) {
    case TUNE_OUT_OF_RANGE:
        Append(pTune->szReason, "提案する設定値が記録できる範囲を超えます。");
        break;
    case TUNE_DIVERGES:
        Append(pTune->szReason, "提案する設定ではモデルの応答が発散します。");
        break;
    case TUNE_UNSETTLED:
        Append(pTune->szReason, "提案する設定では予測応答が測定時間内に整定しません。τc を大きくしてください。");
        break;
    }
}

void MakePidReason(int iVerdict, TUNING* pTune)
{
    LPSTR psz = pTune->szReason;

    psz[0] = '\0';
    Append(psz, "PID 提案なし: ");
    switch (iVerdict) {
    case PID_NO_DIFF:
        Append(psz, "微分時間が 0 ms に丸められ、PI 提案と変わりません。");
        break;
    case PID_SWINGS:
        Append(psz, pTune->pid.fig.bSettling ? "予測される出力がサンプルごとに正負に振れます。"
                                             : "予測応答が測定時間内に整定しません。");
        break;
    case PID_NO_BETTER:
        Append(psz, "予測 IAE が PI 提案より 5 % 以上小さくなりません (");
        AppendNumber(psz, pTune->pid.fig.dIaeRpmS, 1);
        Append(psz, " / ");
        AppendNumber(psz, pTune->pi.fig.dIaeRpmS, 1);
        Append(psz, " rpm・s)。");
        break;
    }
}

void MakeWarning(const MOTORMODEL* pModel, TUNESETTING* pSet)
{
    LPSTR psz = pSet->szWarning;

    psz[0] = '\0';
    if (!pSet->bWarning)
        return;
    if (pSet->bReachesLimit) {
        Append(psz, "出力が上限 ");
        AppendOutput(psz, pModel->dLimit);
        Append(psz, " に達します (ピーク ");
        AppendOutput(psz, pSet->dPeakOut);
        Append(psz, "、今回 ");
        AppendOutput(psz, pModel->dRunPeakOut);
        Append(psz, ")。上限込みの予測です。");
        return;
    }
    Append(psz, "出力のピーク ");
    AppendOutput(psz, pSet->dPeakOut);
    Append(psz, " (今回 ");
    AppendOutput(psz, pModel->dRunPeakOut);
    Append(psz, " の ");
    AppendNumber(psz, pSet->dPeakFactor, 1);
    Append(psz, " 倍)。飽和すると予測より行き過ぎます。");
}
