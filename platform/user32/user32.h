// USER32: windows, messages, painting, dialogs and message boxes over Qt 6.
#pragma once

#include "../wintypes.h"
