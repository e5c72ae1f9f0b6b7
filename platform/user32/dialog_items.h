// The controls of a dialog box by their template identifiers.
#pragma once

#include "user32.h"

class QWidget;

namespace user32 {

struct Window;

// Marks widget as the control with the template's identifier and its handle.
void TagDialogItem(QWidget* widget, int id, HWND hwnd);
// The dialog's first control with the identifier, in template order, or
// nullptr (also for a null, stale or non-dialog handle).
QWidget* FindDialogItem(QWidget* dialog, int id);
QWidget* FindDialogItem(HWND hDlg, int id);

// What the dialog manager answers for a message the dialog procedure left
// alone (DM_GETDEFID); 0 for the rest.
LRESULT DialogDefault(const Window& dialog, UINT message);

} // namespace user32
