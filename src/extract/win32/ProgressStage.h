// The uncompress and extraction stage (template PROGRESS): decodes Split.Spt
// into Compress.Spt, deletes Split.Spt, cuts the installed files out of
// Compress.Spt and empties it.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
