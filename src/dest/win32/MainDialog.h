// The destination dialog (template MAIN): shows the default directory,
// checks the form of the entry, creates the directory and leaves it in
// DestDir.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
