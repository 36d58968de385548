// The protocol both stage dialogs follow: the caption and gauge at
// initialisation, the whole stage run inside the handler of StageMessage,
// Cancel confirmed from inside the stage's message pump, and the dialog
// ended with StageActive as its result.
#pragma once

#include <windows.h>

inline constexpr UINT StageMessage = 32000;

// The stage's work; it ends its files itself. The protocol tears the gauge
// down and ends the dialog afterwards.
using StageWorkFn = void (*)(HWND dialog);

// The body of a stage dialog procedure.
INT_PTR StageDialogMessage(HWND dialog, UINT message, WPARAM wParam, StageWorkFn work);
