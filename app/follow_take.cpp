// The runs waiting to be read, and their reading: a run is read once its
// writer has closed it (an open that denies writing is refused while the
// writer has it open), never before: the file has no checksum, and a run
// rewritten in place over the last one would show spliced. Where nothing
// tells the close for sure (a network file system), the file must also have
// looked the same for the quiet moment.
#include "follow.h"

#include "../data/measdata.h"

#include <string.h>

static FOLLOWFILE afwWaiting[FOLLOW_MAX_WAITING]; // the files changed last, the latest first
static int cWaiting;
static DWORD dwWaitingSince;
// The last run that could not be read: tried again after a change that the
// listing does not show (its permissions given on Windows).
static FOLLOWFILE ffUnreadable;

#define SHARE_ALL (FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)

// The file as it is now, and which file it is where it can be opened;
// FALSE when it has gone.
static BOOL LookAgain(FOLLOWFILE* pFile)
{
    CHAR szPath[MAX_PATH];
    WIN32_FILE_ATTRIBUTE_DATA fad;
    BY_HANDLE_FILE_INFORMATION bhfi;
    HANDLE hRun;

    if (!GetFollowPath(szPath, pFile->szName) || !GetFileAttributesExA(szPath, GetFileExInfoStandard, &fad))
        return FALSE;
    pFile->ftWrite = fad.ftLastWriteTime;
    pFile->ftCreation = fad.ftCreationTime;
    pFile->dwSizeHigh = fad.nFileSizeHigh;
    pFile->dwSizeLow = fad.nFileSizeLow;
    pFile->dwAttributes = fad.dwFileAttributes;
    pFile->dwVolume = pFile->dwIndexHigh = pFile->dwIndexLow = 0;
    hRun = CreateFileA(szPath, GENERIC_READ, SHARE_ALL, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hRun != INVALID_HANDLE_VALUE) {
        if (GetFileInformationByHandle(hRun, &bhfi)) {
            pFile->dwVolume = bhfi.dwVolumeSerialNumber;
            pFile->dwIndexHigh = bhfi.nFileIndexHigh;
            pFile->dwIndexLow = bhfi.nFileIndexLow;
        }
        CloseHandle(hRun);
    }
    return TRUE;
}

static BOOL SameListing(const FOLLOWFILE* pA, const FOLLOWFILE* pB)
{
    return CompareFileTime(&pA->ftWrite, &pB->ftWrite) == 0 && CompareFileTime(&pA->ftCreation, &pB->ftCreation) == 0
        && pA->dwSizeHigh == pB->dwSizeHigh && pA->dwSizeLow == pB->dwSizeLow && pA->dwAttributes == pB->dwAttributes;
}

// The same file in the same state: a file put in its place since is not.
static BOOL SameFile(const FOLLOWFILE* pA, const FOLLOWFILE* pB)
{
    return SameListing(pA, pB) && pA->dwVolume == pB->dwVolume && pA->dwIndexHigh == pB->dwIndexHigh
        && pA->dwIndexLow == pB->dwIndexLow;
}

// A writer still has the file open: an open that denies writing is refused.
static BOOL IsBeingWritten(LPCSTR lpszPath)
{
    HANDLE hProbe = CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);

    if (hProbe == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(hProbe);
    return FALSE;
}

// The run is the one on screen already, from the same file.
static BOOL IsRunOnScreen(LPCSTR lpszName, const MEASRECORD* pRec)
{
    MEASRECORD recShown;

    GetMeasRecord(&recShown);
    // The record is 416 bytes of fields each aligned to its size: no padding.
    return strcmp(lpszName, szFollowShown) == 0 && memcmp(&recShown, pRec, sizeof(recShown)) == 0;
}

static void NextWaitingRun(void)
{
    cWaiting--;
    memmove(&afwWaiting[0], &afwWaiting[1], (size_t)cWaiting * sizeof(FOLLOWFILE));
}

void WaitForRuns(const FOLLOWFILE* pFiles, int cFiles)
{
    memcpy(afwWaiting, pFiles, (size_t)cFiles * sizeof(FOLLOWFILE));
    cWaiting = cFiles;
    dwWaitingSince = GetTickCount();
}

// After a change that the listing does not show (the permissions of a run
// that could not be read, a rewrite within one tick of a coarse clock, a
// file put in another's place with its times): that run is tried again,
// then the run on screen, which is shown again only if it differs.
void WaitForRunAgain(void)
{
    LPCSTR alpszNames[2] = {ffUnreadable.szName, szFollowShown};

    if (cWaiting > 0)
        return;
    for (int i = 0; i < 2; i++) {
        memcpy(afwWaiting[cWaiting].szName, alpszNames[i], strlen(alpszNames[i]) + 1);
        if (alpszNames[i][0] != '\0' && LookAgain(&afwWaiting[cWaiting]))
            cWaiting++;
    }
    dwWaitingSince = GetTickCount();
}

void ForgetWaitingRuns(void)
{
    cWaiting = 0;
    ffUnreadable.szName[0] = '\0';
}

// Reads the latest waiting file once its writer has closed it and shows it
// if it is a run; if not, the next one is tried. A file that changes while
// it is read waits again; one that has gone is forgotten; one that is not a
// run (or cannot be read) is left alone, without a message: the user did
// not ask for it.
void TakeWaitingRun(HWND hwnd)
{
    FOLLOWFILE ffBefore, ffAfter;
    CHAR szPath[MAX_PATH];
    MEASRECORD rec;
    int iOutcome;

    if (cWaiting == 0 || (bFollowRemote && GetTickCount() - dwWaitingSince < FOLLOW_QUIET_MS))
        return;
    ffBefore = afwWaiting[0];
    if (!GetFollowPath(szPath, ffBefore.szName) || !LookAgain(&ffBefore)) {
        NextWaitingRun();
        return;
    }
    if (!SameListing(&ffBefore, &afwWaiting[0])) {
        afwWaiting[0] = ffBefore;
        dwWaitingSince = GetTickCount();
        if (bFollowRemote)
            return;
    }
    if (IsBeingWritten(szPath))
        return;
    iOutcome = ReadMeasFile(szPath, &rec);
    if (iOutcome == LOAD_CANNOTOPEN && GetLastError() == ERROR_SHARING_VIOLATION)
        return; // a writer that lets no one read (Windows)
    ffAfter = ffBefore;
    if (!LookAgain(&ffAfter)) {
        NextWaitingRun();
        return;
    }
    if (!SameFile(&ffAfter, &ffBefore) || IsBeingWritten(szPath)) {
        afwWaiting[0] = ffAfter;
        dwWaitingSince = GetTickCount();
        return;
    }
    MarkSeen(&ffAfter);
    if (iOutcome == LOAD_CANNOTOPEN)
        ffUnreadable = ffAfter;
    else if (strcmp(ffAfter.szName, ffUnreadable.szName) == 0)
        ffUnreadable.szName[0] = '\0';
    if (iOutcome != LOAD_ACCEPTED) {
        NextWaitingRun();
        return;
    }
    cWaiting = 0;
    if (IsRunOnScreen(ffAfter.szName, &rec))
        return;
    SetMeasRecord(&rec);
    memcpy(szFileName, szPath, strlen(szPath) + 1);
    memcpy(szPageFile, szPath, strlen(szPath) + 1);
    memcpy(szFollowShown, ffAfter.szName, strlen(ffAfter.szName) + 1);
    ShowNewRun(hwnd);
}
