// The measurement record's start values and the .PID loader.
#include "measdata.h"

BYTE cPIDHeader[PID_HEADER_SIZE];
int iPramRotate = 45;
int iPramProp = 80;
int iPramInt = 0;
int iPramDiff = 0;
int iPramSamp = 5;
BYTE cMeasData[PID_SAMPLE_COUNT];
int iMeasTime = 0;
int iMeasRotate = 0;
int iOpeOut0 = 0;

HANDLE hFile;
DWORD dwread;

void InitMeasData(void)
{
    for (int i = 0; i < PID_SAMPLE_COUNT; i++)
        cMeasData[i] = PID_NO_SAMPLE;
    iOpeOut0 = 0;
}

// The file stores little-endian integers whatever the host's order.
static int GetFileInt(const BYTE* p)
{
    DWORD dwValue = (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
    return (int)dwValue;
}

// Reads the next field of the file into the image; FALSE when the read fails.
static BOOL ReadField(BYTE* pField, DWORD dwSize, DWORD* pdwTotal)
{
    if (!ReadFile(hFile, pField, dwSize, &dwread, NULL))
        return FALSE;
    *pdwTotal += dwread;
    return TRUE;
}

int ReadMeasFile(LPCSTR lpszFileName, MEASRECORD* pRec)
{
    // The whole file is read into a local image first and checked there, so a
    // refused file leaves every field of the record as it was.
    BYTE cImage[PID_FILE_SIZE];
    DWORD dwTotal = 0;
    BOOL bRead;

    // Shared with every other opener: the controller may open its file to
    // write the next run while this reads, and must not be refused for it.
    hFile = CreateFileA(lpszFileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return LOAD_CANNOTOPEN;

    bRead = SetFilePointer(hFile, 0, NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER
         && ReadField(&cImage[0], PID_HEADER_SIZE, &dwTotal);
    if (bRead && dwTotal == PID_HEADER_SIZE && cImage[0] == PID_FORMAT_MARK) {
        bRead = ReadField(&cImage[128], 4, &dwTotal)
             && ReadField(&cImage[132], 4, &dwTotal)
             && ReadField(&cImage[136], 4, &dwTotal)
             && ReadField(&cImage[140], 4, &dwTotal)
             && ReadField(&cImage[144], 4, &dwTotal)
             && ReadField(&cImage[148], PID_SAMPLE_COUNT, &dwTotal)
             && ReadField(&cImage[404], 4, &dwTotal)
             && ReadField(&cImage[408], 4, &dwTotal)
             && ReadField(&cImage[412], 4, &dwTotal);
    }
    CloseHandle(hFile);
    hFile = NULL;

    if (!bRead)
        return LOAD_CANNOTOPEN;
    if (dwTotal < PID_FILE_SIZE || cImage[0] != PID_FORMAT_MARK)
        return LOAD_BADFORMAT;

    for (int i = 0; i < PID_HEADER_SIZE; i++)
        pRec->cPIDHeader[i] = cImage[i];
    pRec->iPramRotate = GetFileInt(&cImage[128]);
    pRec->iPramProp = GetFileInt(&cImage[132]);
    pRec->iPramInt = GetFileInt(&cImage[136]);
    pRec->iPramDiff = GetFileInt(&cImage[140]);
    pRec->iPramSamp = GetFileInt(&cImage[144]);
    for (int i = 0; i < PID_SAMPLE_COUNT; i++)
        pRec->cMeasData[i] = cImage[148 + i];
    pRec->iMeasTime = GetFileInt(&cImage[404]);
    pRec->iMeasRotate = GetFileInt(&cImage[408]);
    pRec->iOpeOut0 = GetFileInt(&cImage[412]);
    return LOAD_ACCEPTED;
}

void SetMeasRecord(const MEASRECORD* pRec)
{
    for (int i = 0; i < PID_HEADER_SIZE; i++)
        cPIDHeader[i] = pRec->cPIDHeader[i];
    iPramRotate = pRec->iPramRotate;
    iPramProp = pRec->iPramProp;
    iPramInt = pRec->iPramInt;
    iPramDiff = pRec->iPramDiff;
    iPramSamp = pRec->iPramSamp;
    for (int i = 0; i < PID_SAMPLE_COUNT; i++)
        cMeasData[i] = pRec->cMeasData[i];
    iMeasTime = pRec->iMeasTime;
    iMeasRotate = pRec->iMeasRotate;
    iOpeOut0 = pRec->iOpeOut0;
}

int LoadMeasData(LPCSTR lpszFileName)
{
    MEASRECORD rec;
    int iOutcome = ReadMeasFile(lpszFileName, &rec);

    if (iOutcome == LOAD_ACCEPTED)
        SetMeasRecord(&rec);
    return iOutcome;
}

void GetMeasRecord(MEASRECORD* pRec)
{
    for (int i = 0; i < PID_HEADER_SIZE; i++)
        pRec->cPIDHeader[i] = cPIDHeader[i];
    pRec->iPramRotate = iPramRotate;
    pRec->iPramProp = iPramProp;
    pRec->iPramInt = iPramInt;
    pRec->iPramDiff = iPramDiff;
    pRec->iPramSamp = iPramSamp;
    for (int i = 0; i < PID_SAMPLE_COUNT; i++)
        pRec->cMeasData[i] = cMeasData[i];
    pRec->iMeasTime = iMeasTime;
    pRec->iMeasRotate = iMeasRotate;
    pRec->iOpeOut0 = iOpeOut0;
}
