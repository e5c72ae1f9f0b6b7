// Identifiers shared by the resource script and the program.
#pragma once

#define IDM_OPEN 101
#define IDM_RELOAD 102
#define IDM_AUTOUPDATE 103
#define IDM_PRINT 105
#define IDM_EXIT 109
#define IDM_COPYPAGE 201
#define IDM_COPYDATA 202
#define IDM_FIGURES 301
#define IDM_COMPARE 302
#define IDM_TUNE 303
#define IDM_ABOUT 902

// The figures dialog PIDFIGURES: the copy button, and a label and a value
// for each figure, numbered from these in the order of the copied line.
#define IDC_FIGCOPY 310
#define IDC_FIGLABEL 320
#define IDC_FIGVALUE 340

// The comparison window's menu.
#define IDM_COMPARE_PRINT 311
#define IDM_COMPARE_COPY 312
#define IDM_COMPARE_CLOSE 319

// The tuning window's menu: tau_c as 1, 2 or 3 theta_e (radio items in
// this order), and the output limit's dialog PIDLIMIT with its edit box.
#define IDM_TUNE_COPY 361
#define IDM_TUNE_PRINT 362
#define IDM_TUNE_FAST 363
#define IDM_TUNE_STANDARD 364
#define IDM_TUNE_GENTLE 365
#define IDM_TUNE_LIMIT 366
#define IDM_TUNE_CLOSE 369
#define IDC_LIMITVALUE 370

// The chart windows' 表示 menu, the same in both.
#define IDM_VIEW_MARKS 371
#define IDM_VIEW_ZOOMIN 372
#define IDM_VIEW_ZOOMOUT 373
#define IDM_VIEW_WHOLE 374

// The timer that looks for the file on screen to change (File > 自動更新).
#define IDT_FOLLOW 1
