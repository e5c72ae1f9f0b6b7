// The suggestion's texts in the user's words: why a model or a suggestion
// is withheld, what the fit found beyond the model, the warnings, and why a
// PID row is left out.
#pragma once

#include "motorfit.h"

// Why settings were made but not given (MakeTuneReason).
#define TUNE_OUT_OF_RANGE 1 // a setting does not fit the file's fields
#define TUNE_DIVERGES 2     // the model's loop diverges under the PI setting
#define TUNE_UNSETTLED 3    // ... or does not settle within the run

// What became of the PID row (MakePidReason).
#define PID_GIVEN 0
#define PID_NO_DIFF 1   // Td rounds to 0: the row is a PI
#define PID_SWINGS 2    // its output changes sign from sample to sample, or it does not settle
#define PID_NO_BETTER 3 // its IAE is not clearly below the PI's

void MakeFitReason(int iOutcome, const MEASRECORD* pRec, const MOTORMODEL* pModel, LPSTR psz);
void MakeFitNote(const MOTORMODEL* pModel, LPSTR psz);
void MakeTuneReason(int iReason, TUNING* pTune);
void MakePidReason(int iVerdict, TUNING* pTune);
// The setting's warning from its peak output and the model's limit.
void MakeWarning(const MOTORMODEL* pModel, TUNESETTING* pSet);
