// What the stub's dialogs share: creation by template name, the one
// placement rule, the Cancel confirmation, the stages' own message pump and
// the protocol both stage dialogs follow.
#pragma once

#include <windows.h>

// Locates and loads a dialog template as a presence test; null when missing.
// Names are matched without regard to case.
HGLOBAL LoadDialogTemplate(const char* name);

// Runs the dialog modally, owned by the background window, and gives its
// result. A null procedure stands for a dialog that cannot be started: -1.
INT_PTR RunDialog(const char* name, DLGPROC procedure);

// Places a dialog in the middle of the screen size read at start-up, at the
// top of the Z order, keeping its size.
void CentreOnScreen(HWND dialog);

// "Do you really want to terminate the program?", captioned "Exit " and the
// Caption, Yes and No, no owner: the dialog stays as it is behind it. True
// when the answer is Yes.
bool ConfirmExit();

// Takes every waiting message of the thread; WM_QUIT is dropped, the rest
// translated and dispatched, without the dialog manager's keyboard
// processing. Returns once the queue is empty.
void DrainMessageQueue();

// The stage protocol: the caption and gauge at initialisation, the whole
// stage run inside the handler of StageMessage, Cancel confirmed from inside
// the stage's message pump, and the dialog ended with StageActive as its
// result (a failure of the run has cleared it).
inline constexpr UINT StageMessage = 32000;
inline constexpr const char* StageCaption = "Please Stand By...";

// The stage's work; it closes its files itself.
using StageWorkFn = void (*)(HWND dialog);

// The body of a stage dialog procedure.
INT_PTR StageDialogMessage(HWND dialog, UINT message, WPARAM wParam, StageWorkFn work);
