// WINSPOOL: finding the default printer over CUPS.
#pragma once

#include "../wintypes.h"
