// Identifiers shared by the resource script and the program.
#pragma once

#define IDM_OPEN 101
#define IDM_PRINT 105
#define IDM_EXIT 109
#define IDM_ABOUT 902
