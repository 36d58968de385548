// The driver's modal dialogs, created by template name and owned by the
// background window.
#pragma once

#include <windows.h>

// Locates and loads a dialog template as a presence test; null when missing.
// Names are matched without regard to case.
HGLOBAL LoadDialogTemplate(const char* name);

// Runs the dialog and gives its result; a failure that its procedure held
// is raised again here. A null procedure stands for a dialog that cannot be
// started and gives -1.
INT_PTR RunDialog(const char* name, DLGPROC procedure);
