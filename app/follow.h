// What the parts of 自動更新 share: the folder watched, the files of it as a
// listing shows them, and the routines each part offers the others.
#pragma once

#include "pidview.h"

// The timer looks four times a second. While the folder keeps changing, it
// is listed at most twice a second: a big folder costs a listing each time.
// On a network file system, whose other machines' writes bring no change
// notification, it is listed once a second as well; and as nothing there
// tells a writer's close for sure, a file is read only once it has also
// looked the same for the quiet moment (a timer may run a little early).
#define FOLLOW_TICK_MS 250
#define FOLLOW_LISTING_MS 500
#define FOLLOW_POLL_MS 1000
#define FOLLOW_QUIET_MS 450
// The files changed at one listing that are tried, the latest first, when
// the one before is no run.
#define FOLLOW_MAX_WAITING 4

// A .PID file of the watched folder: what a listing says of it, and which
// file it is where it has been opened (0 where not).
typedef struct tagFOLLOWFILE {
    CHAR szName[MAX_PATH]; // "" for none
    FILETIME ftWrite;
    FILETIME ftCreation; // on Linux the last change of any kind
    DWORD dwSizeHigh;
    DWORD dwSizeLow;
    DWORD dwAttributes;
    DWORD dwVolume;
    DWORD dwIndexHigh;
    DWORD dwIndexLow;
} FOLLOWFILE;

extern CHAR szFollowFolder[MAX_PATH]; // where the run on screen really is, with the closing separator
extern CHAR szFollowShown[MAX_PATH];  // the run on screen's name there
extern BOOL bFollowRemote;            // the folder is on a network file system

// The folder's listing (follow_listing.cpp).
#define FOLLOW_LIST_FAILED 0
#define FOLLOW_LIST_SAME 1
#define FOLLOW_LIST_CHANGED 2
BOOL GetFollowPath(LPSTR lpszPath, LPCSTR lpszName);
void TakeFolderAsSeen(void);
int ListFolderChanges(FOLLOWFILE* pChanged, int* pcChanged);
void MarkSeen(const FOLLOWFILE* pFile);

// The runs waiting to be read (follow_take.cpp).
void WaitForRuns(const FOLLOWFILE* pFiles, int cFiles);
void WaitForRunAgain(void);
void ForgetWaitingRuns(void);
void TakeWaitingRun(HWND hwnd);
