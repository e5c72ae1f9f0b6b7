// The measurement record: one controller run, held in program-wide variables,
// and the loader that fills it from a .PID file. A run can also be read into
// a record of its own (MEASRECORD), for work on several runs at once.
#pragma once

#include "../platform/win32.h"

#define PID_HEADER_SIZE 128
#define PID_SAMPLE_COUNT 256
#define PID_FILE_SIZE 416
#define PID_FORMAT_MARK 'M'
#define PID_NO_SAMPLE 1 // a sample byte of 1 marks an empty chart slot

// Outcome of LoadMeasData and ReadMeasFile.
#define LOAD_ACCEPTED 0   // every field now holds the file's values
#define LOAD_BADFORMAT 1  // wrong format mark or too short: nothing changed
#define LOAD_CANNOTOPEN 2 // missing, not a regular file or unreadable: nothing changed

extern BYTE cPIDHeader[PID_HEADER_SIZE];
extern int iPramRotate; // target speed, 100 rpm
extern int iPramProp;   // Kp, percent
extern int iPramInt;    // Ti, 10 ms
extern int iPramDiff;   // Td, 10 ms
extern int iPramSamp;   // sampling period, 10 ms
extern BYTE cMeasData[PID_SAMPLE_COUNT]; // speed per sampling period, 100 rpm
extern int iMeasTime;   // measurement time, 10 ms (unsigned where divided)
extern int iMeasRotate; // final measured speed, 100 rpm
extern int iOpeOut0;    // final manipulated output

extern HANDLE hFile;
extern DWORD dwread;

// One run with the same fields as the program's record.
typedef struct tagMEASRECORD {
    BYTE cPIDHeader[PID_HEADER_SIZE];
    int iPramRotate;
    int iPramProp;
    int iPramInt;
    int iPramDiff;
    int iPramSamp;
    BYTE cMeasData[PID_SAMPLE_COUNT];
    int iMeasTime;
    int iMeasRotate;
    int iOpeOut0;
} MEASRECORD;

void InitMeasData(void);
// Reads and checks a .PID file into *pRec, which changes only when the
// outcome is LOAD_ACCEPTED.
int ReadMeasFile(LPCSTR lpszFileName, MEASRECORD* pRec);
// LoadMeasData: ReadMeasFile into the program's record.
int LoadMeasData(LPCSTR lpszFileName);
// Puts a run read with ReadMeasFile into the program's record.
void SetMeasRecord(const MEASRECORD* pRec);
// A copy of the program's record.
void GetMeasRecord(MEASRECORD* pRec);
