// The program's window, its commands and the handles they share.
#pragma once

#include "../platform/win32.h"

extern HWND hWnd;      // the main window
extern HINSTANCE hInst; // the program's instance
extern HDC hDC;        // the context the current paint or redraw draws on
extern CHAR szMainAppName[];
extern CHAR szTitle[];
extern CHAR szHelpAbout[];
extern CHAR szFigures[];
extern CHAR szFileName[MAX_PATH];
extern CHAR szPageFile[MAX_PATH]; // the file whose run the page shows, in full; "" before any

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void OpenCommand(HWND hwnd);
void DropCommand(HWND hwnd, HDROP hDrop);
void LoadChosenFile(HWND hwnd, LPCSTR lpszPath, UINT cchPath);
void RedrawPage(HWND hwnd);
// The name of szPageFile as the user is shown it (GetFileTitleA: UTF-8
// converted to code page 932), "" for the start values.
void GetShownName(LPSTR lpszName, WORD cchName);
void NameWindow(HWND hwnd);
// File > 再読み込み and 自動更新, the follow timer's tick (WM_TIMER
// IDT_FOLLOW), the end of watching, and LoadChosenFile's word that a file
// was opened by hand (Open, a drop, the command line).
void ReloadCommand(HWND hwnd);
void AutoUpdateCommand(HWND hwnd);
void FollowTimer(HWND hwnd);
void StopFollowing(HWND hwnd);
void FileOpenedByHand(HWND hwnd);
// Edit > ページをコピー and データのコピー.
// The block hMem (movable memory holding uFormat) on the clipboard, which
// then owns it; freed when the clipboard does not take it.
void PutOnClipboard(HWND hwnd, UINT uFormat, HGLOBAL hMem);
// The code page 932 text on the clipboard as CF_TEXT.
void CopyTextToClipboard(HWND hwnd, LPCSTR lpszText);
// Every copied text that names a run is made of these: appends a cell and
// lpszEnd after it ("\t", or "\r\n" after the last) to the text of iLen
// bytes in pszText (iSize bytes) and returns its new length; what does not
// fit is left out. A control character in the cell (a file name may hold a
// tab or a line end) becomes '?', so that it stays one cell.
int AppendCopyCell(LPSTR pszText, int iSize, int iLen, LPCSTR lpszCell, LPCSTR lpszEnd);
void CopyPageCommand(HWND hwnd);
void CopyDataCommand(HWND hwnd);
int GetFirstArgument(LPCSTR lpCmdLine, LPSTR lpszArg, int cchArg);
void AboutCommand(HWND hwnd);
void FiguresCommand(HWND hwnd);
INT_PTR CALLBACK HAboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HFiguresDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
