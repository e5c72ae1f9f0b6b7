// What the in-process tests need from the file dialog: a look at the choice
// after the dialog has closed and before the program gets it, to change the
// file system in between as another program might, and typing a name.
#pragma once

#include <functional>
#include <string>

namespace comdlg32::testing {

// Called with the chosen path each time GetOpenFileNameA is about to return
// TRUE; an empty function removes it.
void SetChoiceHook(std::function<void(const char* path)> hook);

// Puts the text (file system bytes) into the name field of the open dialog
// now shown, as if typed, and gives the field the focus; false when no
// dialog is shown.
bool TypeFileName(const std::string& text);

} // namespace comdlg32::testing
