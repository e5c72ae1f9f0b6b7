// The watched folder's listing, compared with the last one: each .PID file
// is known by its name and by what the listing says of it (size, write
// time, creation time, attributes), so any change to it counts, whatever
// its times say: a run copied in with its time kept, one written within a
// tick of a coarse clock, a file dated in the future beside the others.
#include "follow.h"

#include "../data/measdata.h"

#include <stdlib.h>
#include <string.h>

// A folder of more runs than this is followed by write time beyond them.
#define FOLLOW_MAX_FILES 32768

// What the last listing said of a file, as two hashes: 16 bytes a file, so
// a folder of thousands of runs is compared in a moment.
typedef struct tagFOLLOWSEEN {
    ULONGLONG qwName;
    ULONGLONG qwState;
} FOLLOWSEEN;

static FOLLOWSEEN afsSeen[2][FOLLOW_MAX_FILES]; // the last listing and the one being made, in turn
static int iSeen;
static int cSeen;
static FILETIME ftSeenNewest; // the latest write time of the last listing

// FNV-1a, 64 bits: two names or states of one folder that meet are not to be feared.
#define HASH_START 0xCBF29CE484222325ULL
#define HASH_PRIME 0x00000100000001B3ULL

static ULONGLONG HashBytes(ULONGLONG qwHash, const void* pBytes, size_t cb)
{
    const BYTE* p = (const BYTE*)pBytes;

    for (size_t i = 0; i < cb; i++)
        qwHash = (qwHash ^ p[i]) * HASH_PRIME;
    return qwHash;
}

static ULONGLONG HashState(const FOLLOWFILE* pFile)
{
    ULONGLONG qwHash = HASH_START;

    qwHash = HashBytes(qwHash, &pFile->ftWrite, sizeof(pFile->ftWrite));
    qwHash = HashBytes(qwHash, &pFile->ftCreation, sizeof(pFile->ftCreation));
    qwHash = HashBytes(qwHash, &pFile->dwSizeHigh, sizeof(pFile->dwSizeHigh));
    qwHash = HashBytes(qwHash, &pFile->dwSizeLow, sizeof(pFile->dwSizeLow));
    return HashBytes(qwHash, &pFile->dwAttributes, sizeof(pFile->dwAttributes));
}

static int CompareSeen(const void* pA, const void* pB)
{
    ULONGLONG qwA = ((const FOLLOWSEEN*)pA)->qwName;
    ULONGLONG qwB = ((const FOLLOWSEEN*)pB)->qwName;

    return qwA < qwB ? -1 : qwA > qwB ? 1 : 0;
}

// The last listing's word on the file of that name, or NULL.
static FOLLOWSEEN* FindSeen(LPCSTR lpszName)
{
    FOLLOWSEEN fsKey;

    fsKey.qwName = HashBytes(HASH_START, lpszName, strlen(lpszName));
    return (FOLLOWSEEN*)bsearch(&fsKey, afsSeen[iSeen], (size_t)cSeen, sizeof(FOLLOWSEEN), CompareSeen);
}

static ULONGLONG Ticks(const FILETIME* pTime)
{
    return ((ULONGLONG)pTime->dwHighDateTime << 32) | pTime->dwLowDateTime;
}

// Which of two changed files changed last: the later of its write and
// creation times (a file copied in keeps its write time but is created
// now), at the same time the later name.
static BOOL ChangedLater(const FOLLOWFILE* pA, const FOLLOWFILE* pB)
{
    ULONGLONG qwA = Ticks(&pA->ftWrite) > Ticks(&pA->ftCreation) ? Ticks(&pA->ftWrite) : Ticks(&pA->ftCreation);
    ULONGLONG qwB = Ticks(&pB->ftWrite) > Ticks(&pB->ftCreation) ? Ticks(&pB->ftWrite) : Ticks(&pB->ftCreation);

    return qwA > qwB || (qwA == qwB && strcmp(pA->szName, pB->szName) > 0);
}

// Keeps the files changed last, the latest first.
static void AddChanged(FOLLOWFILE* pChanged, int* pcChanged, const FOLLOWFILE* pFile)
{
    int i = *pcChanged < FOLLOW_MAX_WAITING ? (*pcChanged)++ : FOLLOW_MAX_WAITING;

    for (; i > 0 && ChangedLater(pFile, &pChanged[i - 1]); i--)
        if (i < FOLLOW_MAX_WAITING)
            pChanged[i] = pChanged[i - 1];
    if (i < FOLLOW_MAX_WAITING)
        pChanged[i] = *pFile;
}

BOOL GetFollowPath(LPSTR lpszPath, LPCSTR lpszName)
{
    size_t cchFolder = strlen(szFollowFolder);
    size_t cchName = strlen(lpszName);

    if (cchFolder + cchName >= MAX_PATH)
        return FALSE;
    memcpy(lpszPath, szFollowFolder, cchFolder);
    memcpy(lpszPath + cchFolder, lpszName, cchName + 1);
    return TRUE;
}

// Lists the folder's .PID files and compares each with the last listing,
// which it then replaces. FOLLOW_LIST_CHANGED when any changed; the ones
// that may be runs (big enough) go to pChanged, the latest first. A file
// too small is no run yet: when it grows, it changes again.
int ListFolderChanges(FOLLOWFILE* pChanged, int* pcChanged)
{
    CHAR szPattern[MAX_PATH];
    WIN32_FIND_DATAA fd;
    FOLLOWFILE ff;
    FOLLOWSEEN* pfsNew = afsSeen[1 - iSeen];
    FOLLOWSEEN* pfsOld;
    FILETIME ftNewest = {0, 0};
    HANDLE hFind;
    int cNew = 0;
    BOOL bChanged, bAny = FALSE;

    *pcChanged = 0;
    if (!GetFollowPath(szPattern, "*.PID"))
        return FOLLOW_LIST_FAILED;
    hFind = FindFirstFileA(szPattern, &fd);
    if (hFind == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND)
        return FOLLOW_LIST_FAILED;
    while (hFind != INVALID_HANDLE_VALUE) {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            memset(&ff, 0, sizeof(ff));
            memcpy(ff.szName, fd.cFileName, strlen(fd.cFileName) + 1);
            ff.ftWrite = fd.ftLastWriteTime;
            ff.ftCreation = fd.ftCreationTime;
            ff.dwSizeHigh = fd.nFileSizeHigh;
            ff.dwSizeLow = fd.nFileSizeLow;
            ff.dwAttributes = fd.dwFileAttributes;
            if (cNew < FOLLOW_MAX_FILES) {
                pfsOld = FindSeen(ff.szName);
                pfsNew[cNew].qwName = HashBytes(HASH_START, ff.szName, strlen(ff.szName));
                pfsNew[cNew].qwState = HashState(&ff);
                bChanged = pfsOld == NULL || pfsOld->qwState != pfsNew[cNew].qwState;
                cNew++;
            } else {
                bChanged = CompareFileTime(&ff.ftWrite, &ftSeenNewest) > 0;
            }
            if (CompareFileTime(&ff.ftWrite, &ftNewest) > 0)
                ftNewest = ff.ftWrite;
            bAny |= bChanged;
            if (bChanged && (ff.dwSizeHigh > 0 || ff.dwSizeLow >= PID_FILE_SIZE))
                AddChanged(pChanged, pcChanged, &ff);
        }
        if (!FindNextFileA(hFind, &fd)) {
            FindClose(hFind);
            hFind = INVALID_HANDLE_VALUE;
        }
    }
    qsort(pfsNew, (size_t)cNew, sizeof(FOLLOWSEEN), CompareSeen);
    // A file gone since the last listing is a change too, though nothing is
    // left of it to show.
    bAny |= cNew != cSeen;
    iSeen = 1 - iSeen;
    cSeen = cNew;
    ftSeenNewest = ftNewest;
    return bAny ? FOLLOW_LIST_CHANGED : FOLLOW_LIST_SAME;
}

// What the folder holds now counts as seen: only what changes after it is
// shown.
void TakeFolderAsSeen(void)
{
    FOLLOWFILE afChanged[FOLLOW_MAX_WAITING];
    int cChanged;

    cSeen = 0;
    memset(&ftSeenNewest, 0, sizeof(ftSeenNewest));
    ListFolderChanges(afChanged, &cChanged);
    ForgetWaitingRuns();
}

// The file has been dealt with as it is now: it waits again only when it
// changes.
void MarkSeen(const FOLLOWFILE* pFile)
{
    FOLLOWSEEN* pfs = FindSeen(pFile->szName);

    if (pfs != NULL)
        pfs->qwState = HashState(pFile);
}
