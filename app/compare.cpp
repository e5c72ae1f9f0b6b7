// The Compare command: pick up to eight .PID files in one Open dialog, read
// each into a record of its own, name the ones that cannot be used, and show
// the rest in a new comparison window. The main window's run is untouched.
#include "compare.h"
#include "pidview.h"

#include <string.h>

#ifdef _WIN32
#define PATH_SEPARATOR '\\'
#else
#define PATH_SEPARATOR '/'
#endif

#define REFUSED_NAME_BYTES 40

// The dialog's answer: "folder\0name1\0name2\0\0", or one full path. The
// names of files from several folders go on from the one that holds them
// all ("a/x.PID").
static CHAR szCompareFiles[32768];

static CHAR szCompareFilter[] = "PID files (*.PID)\0*.PID\0All files (*.*)\0*.*\0";
static CHAR szCompareTitle[] = "比較するファイルを選択 (8 件まで)";
static CHAR szCompareCaption[] = "比較";
static CHAR szTooMany[] = "比較できるのは 8 件までです。";
static CHAR szNoWindow[] = "これ以上比較ウィンドウを開けません。";
static CHAR szRefusedHead[] = "次のファイルは比較に使えません。";
static CHAR szRefusedFormat[] = "ファイルフォーマットを確認。";
static CHAR szRefusedOpen[] = "ファイルを開けません。";

// Appends a line to the message in szText (iSize bytes), as far as it fits.
static void AppendLine(LPSTR szText, int iSize, LPCSTR lpszLine)
{
    size_t iLength = strlen(szText);
    if (iLength + 1 + strlen(lpszLine) < (size_t)iSize)
        wsprintfA(szText + iLength, "\n%s", lpszLine);
}

// The file's own name (without its folders) as the window shows names, in
// szName (COMPARE_NAME_SIZE bytes); one too long for it keeps its bytes, cut.
static void GetShownName(LPCSTR lpszName, LPSTR szName)
{
    if (GetFileTitleA(lpszName, szName, COMPARE_NAME_SIZE) == 0)
        return;
    strncpy(szName, lpszName, COMPARE_NAME_SIZE - 1);
    szName[COMPARE_NAME_SIZE - 1] = '\0';
}

// Reads the file at lpszPath into the next record of *pSet under the name
// lpszName, or names it in the message szRefused.
static void AddRun(COMPARESET* pSet, LPCSTR lpszPath, LPCSTR lpszName, LPSTR szRefused, int iRefusedSize)
{
    CHAR szLine[REFUSED_NAME_BYTES + 64];
    CHAR szName[COMPARE_NAME_SIZE];
    COMPARERUN* pRun = &pSet->run[pSet->nRuns];
    int iOutcome = lpszPath != NULL ? ReadMeasFile(lpszPath, &pRun->rec) : LOAD_CANNOTOPEN;

    GetShownName(lpszName, szName);
    if (iOutcome == LOAD_ACCEPTED) {
        strcpy(pRun->szName, szName);
        pSet->nRuns++;
        return;
    }
    ShortenName(szName, szLine, REFUSED_NAME_BYTES);
    wsprintfA(szLine + strlen(szLine), ": %s", iOutcome == LOAD_BADFORMAT ? szRefusedFormat : szRefusedOpen);
    AppendLine(szRefused, iRefusedSize, szLine);
}

// The folder and a name joined into szPath (MAX_PATH bytes); NULL when the
// path would be too long to open.
static LPCSTR JoinPath(LPSTR szPath, LPCSTR lpszFolder, LPCSTR lpszName)
{
    size_t iFolder = strlen(lpszFolder);

    if (iFolder + 1 + strlen(lpszName) >= MAX_PATH)
        return NULL;
    strcpy(szPath, lpszFolder);
    if (iFolder > 0 && szPath[iFolder - 1] != PATH_SEPARATOR)
        szPath[iFolder++] = PATH_SEPARATOR;
    strcpy(szPath + iFolder, lpszName);
    return szPath;
}

void CompareCommand(HWND hwnd)
{
    static COMPARESET set; // some 5 KB: kept off the stack
    OPENFILENAMEA ofn;
    CHAR szRefused[1024];
    CHAR szPath[MAX_PATH];
    LPCSTR lpszName;
    int nFiles = 0;

    memset(&ofn, 0, sizeof(ofn));
    szCompareFiles[0] = '\0';
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = hwnd;
    ofn.lpstrFilter = szCompareFilter;
    ofn.lpstrFile = szCompareFiles;
    ofn.nMaxFile = sizeof(szCompareFiles);
    ofn.lpstrTitle = szCompareTitle;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    ofn.lpstrDefExt = "PID";
    if (!GetOpenFileNameA(&ofn)) {
        // Only more names than the buffer holds can overflow it.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            MessageBoxA(hwnd, szTooMany, szCompareCaption, MB_ICONSTOP | MB_OK);
        return;
    }

    // One file: a whole path, its name from nFileOffset. Several: the folder,
    // then the names, nFileOffset past the folder's terminator.
    BOOL bSeveral = ofn.nFileOffset > strlen(szCompareFiles);
    for (lpszName = szCompareFiles + ofn.nFileOffset; *lpszName != '\0'; lpszName += strlen(lpszName) + 1) {
        nFiles++;
        if (!bSeveral)
            break;
    }
    if (nFiles > COMPARE_MAX_RUNS) {
        MessageBoxA(hwnd, szTooMany, szCompareCaption, MB_ICONSTOP | MB_OK);
        return;
    }

    set.nRuns = 0;
    strcpy(szRefused, szRefusedHead);
    if (!bSeveral) {
        AddRun(&set, szCompareFiles, szCompareFiles + ofn.nFileOffset, szRefused, sizeof(szRefused));
    } else {
        for (lpszName = szCompareFiles + ofn.nFileOffset; *lpszName != '\0'; lpszName += strlen(lpszName) + 1)
            AddRun(&set, JoinPath(szPath, szCompareFiles, lpszName), lpszName, szRefused, sizeof(szRefused));
    }
    if (set.nRuns < nFiles)
        MessageBoxA(hwnd, szRefused, szCompareCaption, MB_ICONSTOP | MB_OK);
    if (set.nRuns > 0 && OpenCompareWindow(&set) == NULL)
        MessageBoxA(hwnd, szNoWindow, szCompareCaption, MB_ICONSTOP | MB_OK);
}
