// COMDLG32: the file-open dialog over Qt 6.
#pragma once

#include "../wintypes.h"
