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
extern CHAR szRunName[MAX_PATH]; // the shown run's file name as shown, "" for the start values

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void OpenCommand(HWND hwnd);
void DropCommand(HWND hwnd, HDROP hDrop);
void LoadChosenFile(HWND hwnd, LPCSTR lpszPath, UINT cchPath);
int GetFirstArgument(LPCSTR lpCmdLine, LPSTR lpszArg, int cchArg);
void AboutCommand(HWND hwnd);
void FiguresCommand(HWND hwnd);
INT_PTR CALLBACK HAboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HFiguresDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
