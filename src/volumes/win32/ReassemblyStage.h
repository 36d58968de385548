// The reassembly stage (template IPROGRESS): appends volume 1 and then each
// further volume, asking for a disk whose volume is absent, into Split.Spt
// in DestDir.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ReassemblyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
