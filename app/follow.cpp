// File > 再読み込み, and 自動更新: while it is on, the folder where the run
// on screen really is (links resolved) is watched, and the run that changed
// there last is shown as if it had been opened, once its writer has closed
// it (follow_take.cpp). The folder is watched through change notifications,
// and on a network file system through its listing once a second as well.
// When the folder goes, watching ends and the user is told.
#include "follow.h"

#include "resource.h"

#include <string.h>

CHAR szPageFile[MAX_PATH];
CHAR szFollowFolder[MAX_PATH];
CHAR szFollowShown[MAX_PATH];
BOOL bFollowRemote;

static BOOL bFollow;
static BOOL bFollowGone; // the folder went while a dialog was open: said once it closes
static HANDLE hFollowChange;
static CHAR szFollowVolume[MAX_PATH]; // "" when it could not be found
static BOOL bScanDue;  // the folder changed since it was last listed
static BOOL bNotified; // a change notification came since it was last listed
static DWORD dwListedAt;

static CHAR szFollowCaption[] = "自動更新";
static CHAR szCannotWatch[] = "このフォルダの変更を監視できません。";
static CHAR szFolderGone[] = "監視中のフォルダが見つかりません。自動更新を終了しました。";

// Windows gives a final path in its long form: \\?\C:\... or
// \\?\UNC\server\share\...; the short form is the one paths are made from.
static LPSTR ShortFinalPath(LPSTR lpszPath)
{
    if (strncmp(lpszPath, "\\\\?\\UNC\\", 8) == 0) {
        lpszPath[6] = '\\';
        return lpszPath + 6;
    }
    return strncmp(lpszPath, "\\\\?\\", 4) == 0 ? lpszPath + 4 : lpszPath;
}

// Where the run on screen really is: its folder, with the closing
// separator, and its name there. Through a link, the link's target; a run
// that cannot be opened any more is taken where its name says.
static BOOL GetRunFolder(LPSTR lpszFolder, LPSTR lpszName)
{
    CHAR szFinal[MAX_PATH];
    LPCSTR lpszRun = szPageFile;
    LPSTR lpFilePart = NULL;
    HANDLE hRun;
    DWORD cch;

    hRun = CreateFileA(szPageFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hRun != INVALID_HANDLE_VALUE) {
        cch = GetFinalPathNameByHandleA(hRun, szFinal, sizeof(szFinal), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        CloseHandle(hRun);
        if (cch > 0 && cch < sizeof(szFinal))
            lpszRun = ShortFinalPath(szFinal);
    }
    cch = GetFullPathNameA(lpszRun, MAX_PATH, lpszFolder, &lpFilePart);
    if (cch == 0 || cch >= MAX_PATH || lpFilePart == NULL)
        return FALSE;
    memcpy(lpszName, lpFilePart, strlen(lpFilePart) + 1);
    *lpFilePart = '\0';
    return TRUE;
}

// The folder deleted, renamed away or its volume unmounted. On a network
// file system nothing else tells it. A look that fails otherwise (the
// network slow to answer) is not taken for it.
static BOOL FolderHasGone(void)
{
    CHAR szVolume[MAX_PATH];
    WIN32_FILE_ATTRIBUTE_DATA fad;
    DWORD dwError;

    if (!GetFileAttributesExA(szFollowFolder, GetFileExInfoStandard, &fad)) {
        dwError = GetLastError();
        return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
    }
    if (!(fad.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return TRUE;
    return szFollowVolume[0] != '\0' && GetVolumePathNameA(szFollowFolder, szVolume, sizeof(szVolume))
        && strcmp(szVolume, szFollowVolume) != 0;
}

static BOOL StartFollowing(HWND hwnd)
{
    if (!GetRunFolder(szFollowFolder, szFollowShown))
        return FALSE;
    if (!GetVolumePathNameA(szFollowFolder, szFollowVolume, sizeof(szFollowVolume)))
        szFollowVolume[0] = '\0';
    // A folder whose volume cannot be found is taken for a network one.
    bFollowRemote = szFollowVolume[0] == '\0' || GetDriveTypeA(szFollowVolume) == DRIVE_REMOTE;
    hFollowChange = FindFirstChangeNotificationA(szFollowFolder, FALSE,
                                                 FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE
                                                     | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_ATTRIBUTES
                                                     | FILE_NOTIFY_CHANGE_SECURITY);
    if (hFollowChange == INVALID_HANDLE_VALUE)
        return FALSE;
    if (!SetTimer(hwnd, IDT_FOLLOW, FOLLOW_TICK_MS, NULL)) {
        FindCloseChangeNotification(hFollowChange);
        return FALSE;
    }
    bFollow = TRUE;
    bFollowGone = bScanDue = bNotified = FALSE;
    dwListedAt = GetTickCount();
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

// Watching ends, and the user hears why, once.
static void FolderGone(HWND hwnd)
{
    StopFollowing(hwnd);
    MessageBoxA(hwnd, szFolderGone, szFollowCaption, MB_ICONEXCLAMATION | MB_OK);
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
    CHAR szName[MAX_PATH];
    DWORD cch = GetFullPathNameA(szFileName, sizeof(szPageFile), szPageFile, NULL);

    if (cch == 0 || cch >= sizeof(szPageFile))
        memcpy(szPageFile, szFileName, strlen(szFileName) + 1);
    if (!bFollow)
        return;
    if (GetRunFolder(szFolder, szName) && strcmp(szFolder, szFollowFolder) == 0) {
        memcpy(szFollowShown, szName, strlen(szName) + 1);
        TakeFolderAsSeen();
    } else {
        StopFollowing(hwnd);
    }
}

void FollowTimer(HWND hwnd)
{
    FOLLOWFILE afChanged[FOLLOW_MAX_WAITING];
    int cChanged;

    if (!bFollow)
        return;
    if (!bFollowGone && WaitForSingleObject(hFollowChange, 0) == WAIT_OBJECT_0) {
        // The next change is asked for before the folder is listed, so that
        // one during the listing is not lost.
        if (FindNextChangeNotification(hFollowChange))
            bScanDue = bNotified = TRUE;
        else
            bFollowGone = TRUE;
    }
    // While a dialog or message box is open, the page stays the run it shows.
    if (!IsWindowEnabled(hwnd))
        return;
    if (bFollowRemote && !bFollowGone && GetTickCount() - dwListedAt >= FOLLOW_POLL_MS) {
        bScanDue = TRUE;
        bFollowGone = FolderHasGone();
    }
    if (bFollowGone) {
        FolderGone(hwnd);
        return;
    }
    if (bScanDue && GetTickCount() - dwListedAt >= FOLLOW_LISTING_MS) {
        bScanDue = FALSE;
        dwListedAt = GetTickCount();
        switch (ListFolderChanges(afChanged, &cChanged)) {
        case FOLLOW_LIST_FAILED:
            if (FolderHasGone()) {
                FolderGone(hwnd);
                return;
            }
            break;
        case FOLLOW_LIST_SAME:
            if (bNotified)
                WaitForRunAgain();
            break;
        default:
            if (cChanged > 0)
                WaitForRuns(afChanged, cChanged);
            break;
        }
        bNotified = FALSE;
    }
    TakeWaitingRun(hwnd);
}
