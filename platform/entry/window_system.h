// Qt's application for the program's window: on the user's display, named
// after the desktop entry, with its installed icon and Qt's own texts in the
// user's language.
#pragma once

#include <memory>

class QApplication;

namespace entry {

// Without a usable display, says so in one line on standard error and ends
// the process with status 1 (where Qt would abort).
std::unique_ptr<QApplication> StartWindowSystem();

} // namespace entry
