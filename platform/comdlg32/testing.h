// What the in-process tests need from the file dialog: a look at the choice
// after the dialog has closed and before the program gets it, to change the
// file system in between as another program might.
#pragma once

#include <functional>

namespace comdlg32::testing {

// Called with the chosen path each time GetOpenFileNameA is about to return
// TRUE; an empty function removes it.
void SetChoiceHook(std::function<void(const char* path)> hook);

} // namespace comdlg32::testing
