// The controls of a dialog box by their template identifiers.
#pragma once

#include "user32.h"

class QWidget;

namespace user32 {

// Marks widget as the control with the template's identifier.
void TagDialogItem(QWidget* widget, int id);
// The dialog's first control with the identifier, in template order, or
// nullptr (also for a null, stale or non-dialog handle).
QWidget* FindDialogItem(QWidget* dialog, int id);
QWidget* FindDialogItem(HWND hDlg, int id);

} // namespace user32
