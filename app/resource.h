// Identifiers shared by the resource script and the program.
#pragma once

#define IDM_OPEN 101
#define IDM_PRINT 105
#define IDM_EXIT 109
#define IDM_ABOUT 902
#define IDM_COMPARE 302

// The comparison window's menu.
#define IDM_COMPARE_PRINT 311
#define IDM_COMPARE_CLOSE 319
