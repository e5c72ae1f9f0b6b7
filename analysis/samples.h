// A run's samples as rows of plain decimal texts, one per sample slot: the
// slot's time in seconds, its speed and the target in rpm. The data copy and
// pidpage --samples both write these rows.
#pragma once

#include "../data/measdata.h"
#include "decimals.h"

typedef struct tagSAMPLEROW {
    CHAR szTime[DECIMAL_TEXT_SIZE];   // seconds to the hundredth; "" without a time axis
    CHAR szSpeed[DECIMAL_TEXT_SIZE];  // rpm; "" for an empty slot
    CHAR szTarget[DECIMAL_TEXT_SIZE]; // rpm
} SAMPLEROW;

// Slot iSlot (0 to PID_SAMPLE_COUNT - 1) is taken iSlot sampling periods
// after the start; a run whose sampling period is not positive has no time
// axis.
void MakeSampleRow(const MEASRECORD* pRec, int iSlot, SAMPLEROW* pRow);
