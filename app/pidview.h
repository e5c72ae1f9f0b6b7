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
// The run just put into the record is the one on screen now (opened,
// dropped, reloaded or followed): the window is named after szPageFile and
// the page redrawn.
void ShowNewRun(HWND hwnd);
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
// The code page 932 text on the clipboard as CF_TEXT, and with it a picture
// (CF_DIB, owned by the clipboard then; NULL for none).
void CopyTextToClipboard(HWND hwnd, LPCSTR lpszText);
void CopyToClipboard(HWND hwnd, LPCSTR lpszText, HGLOBAL hDib);
// A page-sized picture drawn by pfnDraw(hdc, pData) on white, as a CF_DIB
// block; NULL when it cannot be made.
HGLOBAL MakePictureDIB(HWND hwnd, void (*pfnDraw)(HDC, const void*), const void* pData);
void CopyPageCommand(HWND hwnd);
void CopyDataCommand(HWND hwnd);
// The main window's cursor: a click (on the chart or off it), a key (TRUE
// when it is the cursor's), the cursor taken away, and its drawing after
// the page on the window's context.
void PageClick(HWND hwnd, int x, int y);
BOOL PageKey(HWND hwnd, UINT uKey);
void HidePageCursor(HWND hwnd);
void Disp_ShownPageCursor(HDC hdc);
int GetFirstArgument(LPCSTR lpCmdLine, LPSTR lpszArg, int cchArg);
void AboutCommand(HWND hwnd);
void FiguresCommand(HWND hwnd);
INT_PTR CALLBACK HAboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HFiguresDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
