// File > 再読み込み, and 自動更新: while it is on, the folder of the file on
// screen is watched, and the newest run written there is shown as if it had
// been opened. A file is read only once it has stayed the same for a moment
// and is big enough for a whole run: a run being written is never shown
// half-written, nor refused for it.
#include "pidview.h"

#include "resource.h"

#include "../data/measdata.h"

#include <string.h>

// The timer looks for changes four times a second; a file is read once its
// write time and size have stayed the same over two looks, about half a
// second (a timer may run a little early). While the folder keeps changing,
// it is listed at most twice a second: a big folder costs a listing each time.
#define FOLLOW_TICK_MS 250
#define FOLLOW_QUIET_MS 450
#define FOLLOW_LISTING_MS 500

// A .PID file of the watched folder as a listing shows it.
typedef struct tagFOLLOWFILE {
    CHAR szName[MAX_PATH]; // "" for none
    FILETIME ftWrite;
    DWORD dwSizeHigh;
    DWORD dwSizeLow;
} FOLLOWFILE;

CHAR szPageFile[MAX_PATH];

static BOOL bFollow;
static HANDLE hFollowChange;
static CHAR szFollowFolder[MAX_PATH]; // with its closing separator
static FOLLOWFILE ffSeen;    // the newest file dealt with: shown, left alone, or there when watching began
static FOLLOWFILE ffWaiting; // a newer one, waiting for its quiet moment
static DWORD dwWaitingSince;
static BOOL bScanDue;        // the folder changed since it was last listed
static DWORD dwListedAt;

static CHAR szFollowCaption[] = "自動更新";
static CHAR szCannotWatch[] = "このフォルダの変更を監視できません。";

// The folder of szPageFile, with its closing separator.
static BOOL GetPageFolder(LPSTR lpszFolder)
{
    LPSTR lpFilePart = NULL;
    DWORD cch = GetFullPathNameA(szPageFile, MAX_PATH, lpszFolder, &lpFilePart);

    if (cch == 0 || cch >= MAX_PATH || lpFilePart == NULL)
        return FALSE;
    *lpFilePart = '\0';
    return TRUE;
}

static BOOL GetFollowPath(LPSTR lpszPath, LPCSTR lpszName)
{
    size_t cchFolder = strlen(szFollowFolder);
    size_t cchName = strlen(lpszName);

    if (cchFolder + cchName >= MAX_PATH)
        return FALSE;
    memcpy(lpszPath, szFollowFolder, cchFolder);
    memcpy(lpszPath + cchFolder, lpszName, cchName + 1);
    return TRUE;
}

static BOOL SameFile(const FOLLOWFILE* pA, const FOLLOWFILE* pB)
{
    return strcmp(pA->szName, pB->szName) == 0 && CompareFileTime(&pA->ftWrite, &pB->ftWrite) == 0
        && pA->dwSizeHigh == pB->dwSizeHigh && pA->dwSizeLow == pB->dwSizeLow;
}

// Written after the newest file dealt with, or that file written again.
// Only file times are compared, never the clock: a file server's clock may
// differ from this machine's.
static BOOL IsNewRun(const FOLLOWFILE* pFile)
{
    if (CompareFileTime(&pFile->ftWrite, &ffSeen.ftWrite) > 0)
        return TRUE;
    return strcmp(pFile->szName, ffSeen.szName) == 0 && !SameFile(pFile, &ffSeen);
}

// The newest .PID file of the folder (of the new ones only, unless bAll);
// FALSE when there is none.
static BOOL FindNewestRun(FOLLOWFILE* pNewest, BOOL bAll)
{
    CHAR szPattern[MAX_PATH];
    WIN32_FIND_DATAA fd;
    FOLLOWFILE ff;
    HANDLE hFind;
    BOOL bFound = FALSE;
    LONG lOrder;

    if (!GetFollowPath(szPattern, "*.PID"))
        return FALSE;
    hFind = FindFirstFileA(szPattern, &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        memcpy(ff.szName, fd.cFileName, strlen(fd.cFileName) + 1);
        ff.ftWrite = fd.ftLastWriteTime;
        ff.dwSizeHigh = fd.nFileSizeHigh;
        ff.dwSizeLow = fd.nFileSizeLow;
        if (!bAll && !IsNewRun(&ff))
            continue;
        // Two files written at the same moment: the later name is the next run.
        lOrder = bFound ? CompareFileTime(&ff.ftWrite, &pNewest->ftWrite) : 1;
        if (lOrder > 0 || (lOrder == 0 && strcmp(ff.szName, pNewest->szName) > 0)) {
            *pNewest = ff;
            bFound = TRUE;
        }
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
    return bFound;
}

// The file's write time and size as they are now; FALSE when it is gone.
static BOOL LookAgain(FOLLOWFILE* pFile)
{
    CHAR szPath[MAX_PATH];
    WIN32_FILE_ATTRIBUTE_DATA fad;

    if (!GetFollowPath(szPath, pFile->szName) || !GetFileAttributesExA(szPath, GetFileExInfoStandard, &fad))
        return FALSE;
    pFile->ftWrite = fad.ftLastWriteTime;
    pFile->dwSizeHigh = fad.nFileSizeHigh;
    pFile->dwSizeLow = fad.nFileSizeLow;
    return TRUE;
}

// What the folder holds now counts as seen: only what is written after it
// is shown.
static void TakeFolderAsSeen(void)
{
    FOLLOWFILE ffNewest;

    if (FindNewestRun(&ffNewest, TRUE))
        ffSeen = ffNewest;
    else
        memset(&ffSeen, 0, sizeof(ffSeen));
    ffWaiting.szName[0] = '\0';
    bScanDue = FALSE;
}

// Reads the waiting file once it has stayed the same for the quiet moment,
// and shows it if it is a run. A file that changes meanwhile, or while it
// is read, waits again; one that has gone is forgotten; one that is still
// not a run is left alone, without a message: the user did not ask for it.
static void TakeWaitingRun(HWND hwnd)
{
    FOLLOWFILE ffNow = ffWaiting;
    CHAR szPath[MAX_PATH];
    MEASRECORD rec;
    int iOutcome = LOAD_BADFORMAT; // too short for a run

    if (!LookAgain(&ffNow) || !GetFollowPath(szPath, ffNow.szName)) {
        ffWaiting.szName[0] = '\0';
        return;
    }
    if (SameFile(&ffNow, &ffWaiting) && (ffNow.dwSizeHigh > 0 || ffNow.dwSizeLow >= PID_FILE_SIZE)) {
        iOutcome = ReadMeasFile(szPath, &rec);
        if (iOutcome == LOAD_CANNOTOPEN && GetLastError() == ERROR_SHARING_VIOLATION) {
            dwWaitingSince = GetTickCount(); // the writer still holds it (Windows)
            return;
        }
        if (!LookAgain(&ffNow)) {
            ffWaiting.szName[0] = '\0';
            return;
        }
    }
    if (!SameFile(&ffNow, &ffWaiting)) {
        ffWaiting = ffNow;
        dwWaitingSince = GetTickCount();
        return;
    }
    ffSeen = ffWaiting;
    ffWaiting.szName[0] = '\0';
    if (iOutcome != LOAD_ACCEPTED)
        return;
    SetMeasRecord(&rec);
    memcpy(szFileName, szPath, strlen(szPath) + 1);
    memcpy(szPageFile, szPath, strlen(szPath) + 1);
    NameWindow(hwnd);
    RedrawPage(hwnd);
}

static BOOL StartFollowing(HWND hwnd)
{
    if (!GetPageFolder(szFollowFolder))
        return FALSE;
    hFollowChange = FindFirstChangeNotificationA(szFollowFolder, FALSE,
                                                 FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (hFollowChange == INVALID_HANDLE_VALUE)
        return FALSE;
    if (!SetTimer(hwnd, IDT_FOLLOW, FOLLOW_TICK_MS, NULL)) {
        FindCloseChangeNotification(hFollowChange);
        return FALSE;
    }
    bFollow = TRUE;
    TakeFolderAsSeen();
    CheckMenuItem(GetMenu(hwnd), IDM_AUTOUPDATE, MF_BYCOMMAND | MF_CHECKED);
    return TRUE;
}

void StopFollowing(HWND hwnd)
{
    if (!bFollow)
        return;
    KillTimer(hwnd, IDT_FOLLOW);
    FindCloseChangeNotification(hFollowChange);
    bFollow = FALSE;
    CheckMenuItem(GetMenu(hwnd), IDM_AUTOUPDATE, MF_BYCOMMAND | MF_UNCHECKED);
}

void AutoUpdateCommand(HWND hwnd)
{
    if (bFollow)
        StopFollowing(hwnd);
    else if (szPageFile[0] != '\0' && !StartFollowing(hwnd))
        MessageBoxA(hwnd, szCannotWatch, szFollowCaption, MB_ICONSTOP | MB_OK);
}

void ReloadCommand(HWND hwnd)
{
    if (szPageFile[0] != '\0')
        LoadChosenFile(hwnd, szPageFile, (UINT)strlen(szPageFile));
}

void FileOpenedByHand(HWND hwnd)
{
    CHAR szFolder[MAX_PATH];
    DWORD cch = GetFullPathNameA(szFileName, sizeof(szPageFile), szPageFile, NULL);

    if (cch == 0 || cch >= sizeof(szPageFile))
        memcpy(szPageFile, szFileName, strlen(szFileName) + 1);
    if (!bFollow)
        return;
    if (GetPageFolder(szFolder) && strcmp(szFolder, szFollowFolder) == 0)
        TakeFolderAsSeen();
    else
        StopFollowing(hwnd);
}

void FollowTimer(HWND hwnd)
{
    FOLLOWFILE ffNewest;

    if (!bFollow)
        return;
    if (WaitForSingleObject(hFollowChange, 0) == WAIT_OBJECT_0) {
        // The next change is asked for before the folder is listed, so that
        // one during the listing is not lost. The folder itself gone: there
        // is nothing more to follow.
        if (!FindNextChangeNotification(hFollowChange)) {
            StopFollowing(hwnd);
            return;
        }
        bScanDue = TRUE;
    }
    // While a dialog or message box is open, the page stays the run it shows.
    if (!IsWindowEnabled(hwnd))
        return;
    if (bScanDue && GetTickCount() - dwListedAt >= FOLLOW_LISTING_MS) {
        bScanDue = FALSE;
        dwListedAt = GetTickCount();
        if (FindNewestRun(&ffNewest, FALSE) && !SameFile(&ffNewest, &ffWaiting)) {
            ffWaiting = ffNewest;
            dwWaitingSince = GetTickCount();
        }
    }
    if (ffWaiting.szName[0] != '\0' && GetTickCount() - dwWaitingSince >= FOLLOW_QUIET_MS)
        TakeWaitingRun(hwnd);
}
